#include "ui/win32/WarningFRM.h"

#include <gtest/gtest.h>

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
        PostMessageW(modal.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    });
    ShowWarning("The list was saved.", "Information");
    EXPECT_EQ(caption, "Information");
    EXPECT_EQ(message, "The list was saved.");
    ProcessMessages();
    EXPECT_FALSE(AnyLiveForm());
}

TEST_F(WarningDialog, ButtonsLieInsideTheWindow) {
    auto& form = CreateForm<TfrmWarning>();
    const IntSize client = form.ClientSize();
    EXPECT_EQ(client.width, 352);
    EXPECT_LE(form.btnOk.BoundsRect().bottom, client.height);
    EXPECT_LE(form.lblWarning.BoundsRect().bottom, form.btnOk.Top());
}

}  // namespace
}  // namespace vh::win32
