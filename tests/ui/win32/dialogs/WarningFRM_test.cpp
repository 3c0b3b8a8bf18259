#include "ui/win32/dialogs/WarningFRM.h"

#include <gtest/gtest.h>

#include <string>

#include "UiTestSupport.h"

namespace vh::win32 {
namespace {

using WarningDialog = testing::UiTest;

bool AnyLiveForm() {
    return !LiveForms().empty();
}

TEST_F(WarningDialog, EnterAndEscapeBothCloseItAsOk) {
    for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        auto& form = CreateForm<TfrmWarning>();
        testing::WhenModal([key](TForm& modal) { PostMessageW(modal.Handle(), WM_KEYDOWN, key, 0); });
        EXPECT_EQ(form.ShowModal(), mrOk) << key;
        ProcessMessages();
        EXPECT_FALSE(AnyLiveForm()) << key;
    }
}

TEST_F(WarningDialog, OkButtonClosesIt) {
    auto& form = CreateForm<TfrmWarning>();
    testing::WhenModal(
        [](TForm& modal) { testing::ClickAt(modal, dynamic_cast<TfrmWarning&>(modal).btnOk.BoundsRect()); });
    EXPECT_EQ(form.ShowModal(), mrOk);
}

TEST_F(WarningDialog, ShowWarningSetsCaptionAndMessageAndFreesTheDialog) {
    std::string caption;
    std::string message;
    testing::WhenModal([&](TForm& modal) {
        auto& warning = dynamic_cast<TfrmWarning&>(modal);
        caption = warning.lblCaption.Caption();
        message = warning.lblWarning.Caption();
        TBitmap32 shot;
        warning.RenderClient(shot);
        testing::SaveScreenshot(shot, "TfrmWarning");
        // Tab brings the focus, and its ring, to the one button.
        MSG tab{warning.Handle(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
        warning.PreTranslateMessage(tab);
        EXPECT_EQ(warning.FocusedControl(), &warning.btnOk);
        for (const int dpi : {96, 144}) {
            warning.ApplyDpi(dpi);
            warning.RenderClient(shot);
            testing::SaveScreenshot(shot, "TfrmWarning-focused-" + std::to_string(dpi));
        }
        PostMessageW(modal.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    });
    ShowWarning("The list was saved.", "Information");
    EXPECT_EQ(caption, "Information");
    EXPECT_EQ(message, "The list was saved.");
    ProcessMessages();
    EXPECT_FALSE(AnyLiveForm());
}

TEST_F(WarningDialog, ButtonsLieInsideTheWindowAndTheMessageFitsItsLabel) {
    const std::string path = "C:\\users\\somebody\\AppData\\Roaming\\Vornhalt.V3\\";
    const struct {
        std::string message;
        const char* screenshot;
    } cases[] = {
        {"Application is already running", nullptr},
        {"Database files could not be read. They were kept as\r\n\"" + path +
             "settings.sqlite.damaged-2026-12-09-081500\"\r\n\"" + path +
             "actmondb.sqlite.damaged-2026-12-09-081500\"\r\nand Vornhalt started with new ones.",
         "TfrmWarning-long"},
        {"\"" + std::string(300, 'x') + "\" is far too long a name for any window", nullptr},
    };
    for (const auto& c : cases) {
        auto& form = CreateForm<TfrmWarning>();
        form.SetMessage(c.message);
        const IntSize client = form.ClientSize();
        const IntRect label = form.lblWarning.BoundsRect();
        const IntSize text = form.lblWarning.DesignedCaptionSize(label.Width());
        EXPECT_GE(client.width, 352) << c.message;
        EXPECT_LE(client.width, 733) << c.message;
        EXPECT_LE(text.width, label.Width()) << c.message;
        EXPECT_LE(text.height, label.Height()) << c.message;
        EXPECT_LE(label.right, client.width) << c.message;
        EXPECT_LE(label.bottom, form.btnOk.Top()) << c.message;
        EXPECT_LE(form.btnOk.BoundsRect().bottom, client.height) << c.message;
        if (c.screenshot) {
            TBitmap32 shot;
            form.RenderClient(shot);
            testing::SaveScreenshot(shot, c.screenshot);
        }
        form.Release();
        ProcessMessages();
    }
}

}  // namespace
}  // namespace vh::win32
