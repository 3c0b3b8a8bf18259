#include "ui/win32/dialogs/TransparencySettingsFRM.h"

#include <gtest/gtest.h>

#include <vector>

#include "UiTestSupport.h"

namespace vh::win32 {
namespace {

using TransparencyDialog = testing::UiTest;

// The user picks an item: the list tells its form, as a real choice does.
void Choose(TfrmTransparencySettings& form, int index) {
    form.cbxTransparency.SetItemIndex(index);
    const HWND combo = form.cbxTransparency.Handle();
    SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

struct Stored {
    int value = 0;
    std::vector<int> writes;
    int ends = 0;
};

TfrmTransparencySettings& Create(Stored& stored) {
    return CreateForm<TfrmTransparencySettings>(TTransparencyPreference{[&stored] { return stored.value; },
                                                                        [&stored](int v) {
                                                                            stored.value = v;
                                                                            stored.writes.push_back(v);
                                                                        }},
                                                [&stored] { ++stored.ends; });
}

TEST_F(TransparencyDialog, EachChoicePreviewsAndStoresAndCancelRestoresTheValueAtOpening) {
    Stored stored;
    stored.value = 35;  // not offered: the dialog opens on "0"
    auto& form = Create(stored);
    int openedOn = -1;
    std::vector<int> previewAlpha;
    testing::WhenModal([&](TForm& modal) {
        auto& dialog = dynamic_cast<TfrmTransparencySettings&>(modal);
        openedOn = dialog.cbxTransparency.ItemIndex();
        Choose(dialog, 6);  // 30
        previewAlpha.push_back(dialog.AlphaBlendValue());
        Choose(dialog, 12);  // 90
        previewAlpha.push_back(dialog.AlphaBlendValue());
        Choose(dialog, 0);
        previewAlpha.push_back(dialog.AlphaBlendValue());
        EXPECT_FALSE(dialog.AlphaBlend()) << "0 % switches blending off";
        PostMessageW(modal.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    });
    EXPECT_FALSE(form.Execute());
    EXPECT_EQ(openedOn, 0);
    EXPECT_EQ(previewAlpha, (std::vector<int>{179, 25, 255}));
    EXPECT_EQ(stored.writes, (std::vector<int>{30, 90, 0, 35}));
    EXPECT_EQ(stored.value, 35);
    EXPECT_EQ(stored.ends, 1);
}

TEST_F(TransparencyDialog, OkStoresTheChosenValue) {
    Stored stored;
    stored.value = 10;
    auto& form = Create(stored);
    int openedOn = -1;
    testing::WhenModal([&](TForm& modal) {
        auto& dialog = dynamic_cast<TfrmTransparencySettings&>(modal);
        openedOn = dialog.cbxTransparency.ItemIndex();
        Choose(dialog, 7);  // 40
        TBitmap32 shot;
        testing::CaptureFromScreen(dialog.Handle(), shot);  // with the list's own text
        testing::SaveScreenshot(shot, "TfrmTransparencySettings");
        testing::ClickAt(dialog, dialog.btnOk.BoundsRect());
    });
    EXPECT_TRUE(form.Execute());
    EXPECT_EQ(openedOn, 2);
    EXPECT_EQ(stored.value, 40);
    EXPECT_EQ(stored.ends, 1);
}

TEST_F(TransparencyDialog, ControlsLieInsideTheWindow) {
    Stored stored;
    auto& form = Create(stored);
    const IntSize client = form.ClientSize();
    EXPECT_EQ(client.width, 215);
    for (const TControl* button : {static_cast<TControl*>(&form.btnOk), static_cast<TControl*>(&form.btnCancel)}) {
        EXPECT_LE(button->BoundsRect().bottom, client.height);
        EXPECT_LE(button->BoundsRect().right, client.width);
    }
    EXPECT_EQ(form.Caption(), "Transparency Settings");
    FreeForm(&form);
}

}  // namespace
}  // namespace vh::win32
