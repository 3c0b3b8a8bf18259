#include "ui/win32/ErrorMessageFRM.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "UiTestSupport.h"
#include "platform/win32/Utf16.h"
#include "ui/win32/ExceptionBoundary.h"

namespace vh::win32 {
namespace {

using ErrorDialog = testing::UiTest;

std::string ClipboardText() {
    if (!OpenClipboard(nullptr)) return "<clipboard busy>";
    std::string text = "<no text>";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* wide = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = WideToUtf8(wide);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

TEST_F(ErrorDialog, CopiesExactlyTheMessageToTheClipboard) {
    const std::string message = "Disk \xC3\xA9t\xC3\xA9 full\r\nline two";  // accents and a line break
    auto& form = CreateForm<TfrmErrorMessage>();
    testing::WhenModal([&](TForm& modal) {
        auto& dialog = dynamic_cast<TfrmErrorMessage&>(modal);
        testing::ClickAt(modal, dialog.btnCopyErrorToClipboard.BoundsRect());
        testing::ClickAt(modal, dialog.btnOk.BoundsRect());
    });
    form.ShowError(message);
    EXPECT_EQ(ClipboardText(), message);
}

TEST_F(ErrorDialog, ContactLinkOpensTheContactPage) {
    std::string opened;
    SetWebAddressOpenerForTesting([&](const std::string& url) { opened = url; });
    auto& form = CreateForm<TfrmErrorMessage>();
    testing::WhenModal([](TForm& modal) {
        auto& dialog = dynamic_cast<TfrmErrorMessage&>(modal);
        testing::ClickAt(modal, dialog.lblContactUs.BoundsRect());
        PostMessageW(modal.Handle(), WM_KEYDOWN, VK_RETURN, 0);
    });
    form.ShowError("x");
    EXPECT_EQ(opened, std::string(VH_PRODUCT_WEB_SITE) + "/contact");
}

TEST_F(ErrorDialog, ApplicationHandlerShowsTheExceptionAndTheProgramGoesOn) {
    InstallApplicationErrorHandler();
    std::string caption;
    std::string text;
    testing::WhenModal([&](TForm& modal) {
        auto& dialog = dynamic_cast<TfrmErrorMessage&>(modal);
        caption = dialog.lblCaption.Caption();
        text = dialog.ErrorText;
        TBitmap32 shot;
        dialog.RenderClient(shot);
        testing::SaveScreenshot(shot, "TfrmErrorMessage");
        PostMessageW(modal.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    });
    // An exception escaping a click handler of some window.
    auto& dialog = CreateForm<TfrmErrorMessage>();
    dialog.btnOk.OnClick = [](TControl&) { throw std::runtime_error("Index out of range"); };
    testing::ClickAt(dialog, dialog.btnOk.BoundsRect());
    EXPECT_EQ(caption, "Application Error");
    EXPECT_EQ(text, "Index out of range");
    EXPECT_TRUE(IsWindow(dialog.Handle()));
}

TEST_F(ErrorDialog, ButtonsLieInsideTheWindow) {
    auto& form = CreateForm<TfrmErrorMessage>();
    const IntSize client = form.ClientSize();
    EXPECT_EQ(client.width, 445);
    EXPECT_LE(form.btnOk.BoundsRect().bottom, client.height);
    EXPECT_LE(form.btnCopyErrorToClipboard.BoundsRect().bottom, client.height);
}

}  // namespace
}  // namespace vh::win32
