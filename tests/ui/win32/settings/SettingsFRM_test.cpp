#include "ui/win32/settings/SettingsFRM.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "ReminderFixture.h"
#include "UiTestSupport.h"
#include "doubles/FakeEnvironmentPlatform.h"
#include "environment/IniFile.h"
#include "environment/ZuravoZazoApplicationDefs.h"
#include "storage/Options.h"
#include "support/StorageTestSupport.h"

namespace vh::win32 {
namespace {

using vh::testing::CopyReadyMadeDatabase;
using vh::testing::FakeEnvironmentPlatform;
using vh::testing::FileIn;
using vh::testing::QueryRows;
using vh::testing::TempFolder;
using Rows = std::vector<std::vector<std::string>>;

class SettingsDialog : public testing::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        // A dialog left open shows what failed before the time-out.
        std::setvbuf(stdout, nullptr, _IONBF, 0);
        InstallEnvironment(std::make_unique<FakeEnvironmentPlatform>());
        CopyReadyMadeDatabase("settings.sqlite", settings_);
        CopyReadyMadeDatabase("actmondb.sqlite", log_);
        TOptionsSite site;
        site.SettingsDBFileName = settings_;
        site.LogDBFileName = log_;
        site.IniFile = []() -> TIniFile& { return Environment().GetIniFile(); };
        site.Now = [] { return EncodeDateTime({2026, 3, 21, 16, 5, 9, 0}); };
        options_ = std::make_unique<TOptions>(site);
        prefs_ = std::make_unique<TAppearancePreferences>(Environment());
        prefs_->SetTransparency(20);
        SetColorDialogForTesting([](HWND, COLORREF) { return std::optional<COLORREF>(RGB(10, 20, 30)); });
        SetOpenPictureDialogForTesting(
            [](HWND, const std::string&) { return std::optional<std::string>("C:\\pictures\\cat.png"); });
    }
    void TearDown() override {
        UiTest::TearDown();
        SetColorDialogForTesting(nullptr);
        SetOpenPictureDialogForTesting(nullptr);
        prefs_.reset();
        options_.reset();
        UninstallEnvironment();
    }
    TfrmSettings& Create() {
        auto& form = CreateForm<TfrmSettings>(*options_, *prefs_);
        form.ConfirmDelete = [this](const std::string& caption) {
            confirmed_ = caption;
            return true;
        };
        return form;
    }
    // A key as the user types it at the focused control.
    static void Press(TForm& form, UINT key) {
        HWND target = GetFocus() ? GetFocus() : form.Handle();
        PostMessageW(target, WM_KEYDOWN, key, 0);
        ProcessMessages();
    }
    static void Choose(TComboBox& combo, int index) {
        combo.SetItemIndex(index);
        combo.Command(CBN_SELCHANGE);
    }
    static void Shoot(TForm& form, const std::string& name) {
        ProcessMessages();
        RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        testing::SaveScreen(form, name);
    }

    TempFolder folder_;
    std::string settings_ = FileIn(folder_.Path(), "settings.sqlite");
    std::string log_ = FileIn(folder_.Path(), "actmondb.sqlite");
    std::unique_ptr<TOptions> options_;
    std::unique_ptr<TAppearancePreferences> prefs_;
    std::string confirmed_;
};

TEST_F(SettingsDialog, StepsThroughTheFourPagesAndApplies) {
    TfrmSettings& form = Create();
    form.RunAddWizard = [](TOptions&, TMonitoredList&, TMonitoredList& result) {
        auto item = std::make_unique<TMonitoredItem>();
        item->ItemType = mitApplication;
        item->Name = "C:\\windows\\notepad.exe";
        item->Caption = "Notepad";
        item->Selected = true;
        result.Add("Notepad", std::move(item));
    };
    std::vector<int> steps;
    const auto walk = [&] {
        EXPECT_EQ(form.Caption(), "Settings");
        steps.push_back(form.CurrentStep());
        EXPECT_EQ(form.cbxTransparency.Item(form.cbxTransparency.ItemIndex()), "20");
        EXPECT_EQ(form.cbxImage.Item(form.cbxImage.ItemIndex()), "<No Image>");
        EXPECT_FALSE(form.btnBrowseImage.Visible());
        Shoot(form, "TfrmSettings-1-background");

        // Appearance choices are stored and shown at once.
        Choose(form.cbxTransparency, 7);  // "40"
        EXPECT_EQ(prefs_->GetTransparency(), 40);
        EXPECT_EQ(form.AlphaBlendValue(), 153);
        Choose(form.cbxImage, 0);  // "Custom...": browse
        EXPECT_TRUE(form.btnBrowseImage.Visible());
        EXPECT_EQ(prefs_->GetBackgroundImage(), "C:\\pictures\\cat.png");
        Choose(form.cbxColor, 0);  // "Custom...": the colour dialog
        EXPECT_EQ(prefs_->GetBackgroundColor(), static_cast<std::int32_t>(RGB(10, 20, 30)));
        EXPECT_EQ(form.Color(), RGB(10, 20, 30));
        // A colour removes the picture.
        EXPECT_EQ(form.cbxImage.Item(form.cbxImage.ItemIndex()), "<No Image>");
        EXPECT_EQ(prefs_->GetBackgroundImage(), "");

        Press(form, VK_RETURN);
        steps.push_back(form.CurrentStep());
        Press(form, VK_INSERT);  // miAdd
        ASSERT_EQ(form.lbxAppSites.Item(0), "Notepad");
        Shoot(form, "TfrmSettings-2-list");
        SendMessageW(form.lbxAppSites.Handle(), LB_SETCURSEL, 0, 0);
        form.btnApp_DeleteClick();
        EXPECT_EQ(confirmed_, "Notepad");
        // Later than the first run a removal waits for the daily reset.
        ASSERT_EQ(form.Session()->WorkingList().Count(), 1);
        EXPECT_FALSE(form.Session()->WorkingList().Items(0).Active);

        Press(form, VK_RETURN);
        steps.push_back(form.CurrentStep());
        EXPECT_EQ(form.medTimeLimit.Text(), "08:00");
        form.medTimeLimit.SetText("00:01");
        Choose(form.cbxExpirationAction, eaCloseBrowserApp);
        Shoot(form, "TfrmSettings-3-expiration");

        Press(form, VK_RETURN);
        steps.push_back(form.CurrentStep());
        form.memReminder.SetFocus();
        ProcessMessages();
        EXPECT_EQ(form.miNext.ShortCut, 0u);  // Enter starts a new line in the memo
        for (wchar_t c : std::wstring(L"Call Anna")) SendMessageW(form.memReminder.Handle(), WM_CHAR, c, 0);
        EXPECT_TRUE(ReminderTextFilled(form.Session()->ReminderTexts[rtMorning]));
        Choose(form.cbRemiderChangePeriod, rcpWeekly);
        Shoot(form, "TfrmSettings-4-reminder");
        // Escape steps back, Enter forward again, and Apply ends it.
        form.medTimeLimit.SetFocus();
        Press(form, VK_ESCAPE);
        steps.push_back(form.CurrentStep());
        Press(form, VK_RETURN);
        steps.push_back(form.CurrentStep());
        form.btnFinishClick();
    };
    testing::WhenModal([&](TForm&) {
        walk();
        // A failed assertion must not leave the dialog open.
        if (form.ModalResult() == mrNone) form.SetModalResult(mrCancel);
    });
    EXPECT_TRUE(form.ShowSettings(false));
    EXPECT_EQ(steps,
              (std::vector<int>{ssBackground, ssMonitoredList, ssExpiration, ssReminder, ssExpiration, ssReminder}));
    EXPECT_EQ(options_->TimeLimitSeconds(), 60);
    EXPECT_EQ(options_->ExpirationAction(), eaCloseBrowserApp);
    EXPECT_EQ(options_->GetReminderText(rtMorning), "Call Anna");
    EXPECT_EQ(QueryRows(settings_, "SELECT value FROM settings WHERE name = 'ReminderChangePeriod'"),
              (Rows{{"weekly"}}));
    EXPECT_EQ(QueryRows(settings_, "SELECT name, active FROM applications_list"),
              (Rows{{"C:\\windows\\notepad.exe", "0"}}));
    // Applied appearance stays.
    EXPECT_EQ(prefs_->GetTransparency(), 40);
}

// Tab alone reaches the window-less "Next >" (its ring shown) after the
// page's boxes, Space presses it, and the next page's Tab order starts over.
TEST_F(SettingsDialog, TabReachesNextAfterTheBoxesAndSpacePressesIt) {
    TfrmSettings& form = Create();
    std::vector<std::string> visited;
    int step = 0;
    testing::WhenModal([&](TForm&) {
        for (int i = 0; i < 12 && form.FocusedControl() != &form.btnBackgroundNext; ++i) {
            Press(form, VK_TAB);
            const HWND focus = GetFocus();
            visited.push_back(form.FocusedControl()        ? form.FocusedControl()->Name
                              : form.FindWinControl(focus) ? "native"
                                                           : "other");
        }
        Shoot(form, "TfrmSettings-1-focused-next");
        Press(form, VK_SPACE);
        step = form.CurrentStep();
        form.SetModalResult(mrCancel);
    });
    form.ShowSettings(false);
    EXPECT_EQ(step, ssMonitoredList);
    ASSERT_FALSE(visited.empty());
    EXPECT_EQ(visited.back(), "btnBackgroundNext");
    EXPECT_GE(std::count(visited.begin(), visited.end(), "native"), 3) << "the three boxes come first";
}

TEST_F(SettingsDialog, CancelInTheFirstRunRestoresTheAppearanceAndSavesNothing) {
    TfrmSettings& form = Create();
    testing::WhenModal([&](TForm&) {
        EXPECT_TRUE(options_->ImmediateChangeAllowed);
        EXPECT_FALSE(form.btnApp_Add.Enabled());  // no wizard connected
        Choose(form.cbxTransparency, 12);         // "90"
        Choose(form.cbxTextColor, 10);            // "Red"
        EXPECT_EQ(prefs_->GetTextColor(), static_cast<std::int32_t>(RGB(255, 0, 0)));
        Press(form, VK_RETURN);
        Press(form, VK_ESCAPE);
        Press(form, VK_ESCAPE);  // Cancel on the first page
    });
    EXPECT_FALSE(form.ShowSettings(true));
    EXPECT_FALSE(options_->ImmediateChangeAllowed);
    EXPECT_EQ(prefs_->GetTransparency(), 20);
    EXPECT_EQ(prefs_->GetTextColor(), 0xFFFFFF);
    EXPECT_EQ(QueryRows(settings_, "SELECT COUNT(*) FROM settings"), (Rows{{"0"}}));

    // Closed from outside on a later step: the appearance goes back as well.
    TfrmSettings& later = Create();
    testing::WhenModal([&](TForm&) {
        Choose(later.cbxTransparency, 0);
        later.miNextClick();
        PostMessageW(later.Handle(), WM_CLOSE, 0, 0);
    });
    EXPECT_FALSE(later.ShowSettings(false));
    EXPECT_EQ(prefs_->GetTransparency(), 20);
}

}  // namespace
}  // namespace vh::win32
