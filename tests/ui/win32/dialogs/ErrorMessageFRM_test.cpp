#include "ui/win32/dialogs/ErrorMessageFRM.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "environment/Trace.h"
#include "platform/win32/Utf16.h"
#include "ui/win32/toolkit/ExceptionBoundary.h"

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

// A failure while the error window is open (its message loop runs window
// procedures) is traced instead of opening a second window over the first.
TEST_F(ErrorDialog, NoSecondErrorWindowWhileOneIsOpen) {
    std::vector<std::string> handled, traced;
    SetTraceSinkForTesting([&](char, std::string_view text) { traced.emplace_back(text); });
    SetApplicationExceptionHandler([&](const std::exception& e) {
        handled.emplace_back(e.what());
        try {
            throw std::runtime_error("inner failure");
        } catch (...) {
            HandleCurrentException("WndProc");
        }
    });
    for (const char* message : {"first", "second"}) {
        try {
            throw std::runtime_error(message);
        } catch (...) {
            HandleCurrentException("test");
        }
    }
    SetTraceSinkForTesting(nullptr);
    // Each outer failure reaches the handler (it is free again after each);
    // each inner one only the trace.
    EXPECT_EQ(handled, (std::vector<std::string>{"first", "second"}));
    ASSERT_EQ(traced.size(), 2u);
    EXPECT_NE(traced[0].find("WndProc: inner failure"), std::string::npos);
}

}  // namespace
}  // namespace vh::win32
