#include "ui/win32/addwizard/AppSiteAddWizardFRM.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Screenshot.h"
#include "UiTestSupport.h"
#include "doubles/FakeEnvironmentPlatform.h"
#include "doubles/TempFolder.h"
#include "environment/IniFile.h"
#include "model/ProgramNames.h"
#include "storage/Options.h"

namespace vh::win32 {
namespace {

constexpr char kChess[] = "C:\\Games\\Chess\\chess.exe";
constexpr char kGolf[] = "C:\\Games\\Golf\\golf.exe";
constexpr char kNotepad[] = "C:\\windows\\system32\\notepad.exe";

class AddWizard : public testing::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        platform_.CreateFolders("C:\\data");
        TOptionsSite site;
        // Files that do not exist: the wizard needs only the options' flags.
        site.SettingsDBFileName = (folder_.Path() / "settings.sqlite").string();
        site.LogDBFileName = (folder_.Path() / "actmondb.sqlite").string();
        site.IniFile = [this]() -> TIniFile& { return ini_; };
        site.Now = [] { return TDateTime(46000); };
        options_ = std::make_unique<TOptions>(site);
        options_->AllowUserToChangeSettings = true;
    }
    void TearDown() override {
        UiTest::TearDown();
        options_.reset();
    }

    TfrmAppSiteAddWizard& Create() {
        auto& form = CreateForm<TfrmAppSiteAddWizard>();
        form.Scanner = [this](TScanType type, const TScanProgressEvent& progress,
                              const std::function<void(int)>& onTotal) {
            scanType_ = type;
            onTotal(kFolders);
            TDiscoveryResult result;
            result.Candidates = {{kChess, "Chess", TCandidateKind::ProgramFolder}};
            for (int i = 0; i < kFolders; ++i) {
                ++progressCalls_;
                if (!progress()) {
                    result.Stopped = true;
                    break;
                }
            }
            result.Candidates.push_back({kGolf, "Golf", TCandidateKind::RunningProcess});
            return result;
        };
        form.ChooseFile = [] { return std::string(kNotepad); };
        form.CaptionOf = [](const std::string& path) { return "Caption of " + path; };
        return form;
    }

    static void Shot(TForm& form, const std::string& name) {
        SetForegroundWindow(form.Handle());
        RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        ProcessMessages();
        TBitmap32 shot;
        testing::CaptureFromScreen(form.Handle(), shot);
        testing::SaveScreenshot(shot, name);
    }
    static void Click(TForm& form, const TControl& control) {
        const IntRect at = control.DeviceRect();
        testing::SendMouse(form, WM_LBUTTONDOWN, MK_LBUTTON, at.left + at.Width() / 2, at.top + at.Height() / 2);
        testing::SendMouse(form, WM_LBUTTONUP, 0, at.left + at.Width() / 2, at.top + at.Height() / 2);
    }
    // A press in the tick column of a list's row.
    static void ClickTick(TListBox& list, int row) {
        RECT client{};
        GetClientRect(list.Handle(), &client);
        RECT item{};
        SendMessageW(list.Handle(), LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        const LPARAM at = MAKELPARAM(client.right - 5, (item.top + item.bottom) / 2);
        SendMessageW(list.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(list.Handle(), WM_LBUTTONUP, 0, at);
    }
    static std::vector<std::string> Rows(const TListBox& list) {
        std::vector<std::string> rows;
        for (int i = 0; i < list.Count(); ++i)
            if (!list.Item(i).empty()) rows.push_back(list.Item(i));
        return rows;
    }

    void AddItem(TMonitoredItemType type, const std::string& name, const std::string& caption) {
        auto item = std::make_unique<TMonitoredItem>();
        item->ItemType = type;
        item->Name = name;
        item->Caption = caption;
        persisted_.Add(caption, std::move(item));
    }

    static constexpr int kFolders = 400;
    vh::testing::TempFolder folder_;
    vh::testing::FakeEnvironmentPlatform platform_;
    TIniFile ini_{"C:\\data\\Vornhalt.ini", platform_};
    std::unique_ptr<TOptions> options_;
    TMonitoredList persisted_;
    TMonitoredList result_;
    TScanType scanType_ = TScanType::Fast;
    int progressCalls_ = 0;
};

TEST_F(AddWizard, AddsASiteAScannedAndANamedApplicationAcrossTheThreePages) {
    auto& form = Create();
    std::vector<std::string> titles;
    std::vector<std::string> sitesRows;
    std::vector<std::string> scannedRows;
    std::vector<std::string> byNameRows;
    std::string info;
    std::string info3;
    int gaugeSeen = -1;
    testing::WhenModal([&](TForm&) {
        titles.push_back(form.lblCaption.Caption());
        EXPECT_EQ(form.Caption(), titles.back()) << "the window's text is not its header's";
        form.edURL.SetText("www.example.com");
        form.edTag.SetText("Example");
        // Enter on page 1 adds the address and stays there.
        EXPECT_TRUE(form.PreTranslateMessage(MSG{form.edURL.Handle(), WM_KEYDOWN, VK_RETURN, 0, 0, {}}));
        EXPECT_EQ(form.ActivePage(), 0);
        EXPECT_EQ(form.edURL.Text(), "");
        EXPECT_EQ(form.edTag.Text(), "");
        sitesRows = Rows(form.lbxSites);
        Shot(form, "AddWizard_1_sites");
        Click(form, form.btnSites_Next);
        titles.push_back(form.lblCaption.Caption());
        EXPECT_EQ(form.Caption(), titles.back()) << "the window's text is not its header's";

        form.cbxScanningAlghorithm.SetItemIndex(1);
        form.tmrEnumFolders.OnTimer = [&](TTimer&) {};  // counting is instant here
        const auto scanner = form.Scanner;
        form.Scanner = [&, scanner](TScanType type, const TScanProgressEvent& progress,
                                    const std::function<void(int)>& onTotal) {
            return scanner(
                type,
                [&] {
                    const bool goOn = progress();
                    if (progressCalls_ == kFolders / 2) {
                        gaugeSeen = form.ggScan.Progress();
                        EXPECT_TRUE(form.ggScan.Visible());
                        EXPECT_EQ(form.btnScan.Caption(), "Stop");
                        EXPECT_EQ(form.lblFilter.Caption(), "Progress");
                        Shot(form, "AddWizard_2_scanning");
                    }
                    return goOn;
                },
                onTotal);
        };
        Click(form, form.btnScan);
        EXPECT_EQ(form.btnScan.Caption(), "Scan");
        EXPECT_FALSE(form.ggScan.Visible());
        ClickTick(form.lbxAppProcesses, 0);  // Chess
        form.lbxAppProcesses.SetItemIndex(0);
        form.lbxAppProcesses.OnChange(form.lbxAppProcesses);
        info = form.mmAppInfo.Text();
        scannedRows = Rows(form.lbxAppProcesses);
        Shot(form, "AddWizard_2_scan");
        Click(form, form.btnAppProcessesNext);
        titles.push_back(form.lblCaption.Caption());
        EXPECT_EQ(form.Caption(), titles.back()) << "the window's text is not its header's";

        Click(form, form.btnBrowse);
        EXPECT_EQ(form.edAppTag.Text(), std::string("Caption of ") + kNotepad);
        form.edAppTag.SetText("Notepad");
        Click(form, form.btnAddApp);
        // A typed path with nothing behind it yet is taken, with a notice.
        form.PathKindOf = [](const std::string&) { return TPathKind::Missing; };
        form.edApp.SetText("  \"D:/Games/Later/later.exe\" ");
        Click(form, form.btnAddApp);
        info3 = form.mmAppInfoApp.Text();
        byNameRows = Rows(form.lbxApps);
        Shot(form, "AddWizard_3_apps");
        PostMessageW(form.Handle(), WM_KEYDOWN, VK_RETURN, 0);  // Enter on page 3 is Finish
    });
    EXPECT_EQ(form.Execute(options_.get(), &persisted_, &result_), mrOk);

    EXPECT_EQ(titles, (std::vector<std::string>{"Add Websites to your time-limit list", "Add Applications by Scanning",
                                                "Add Applications by Name"}));
    EXPECT_EQ(sitesRows, std::vector<std::string>{"Example"});
    EXPECT_EQ(scanType_, TScanType::Complete);
    EXPECT_EQ(progressCalls_, kFolders);
    EXPECT_EQ(gaugeSeen, 15 + 85 / 2);
    EXPECT_EQ(scannedRows, (std::vector<std::string>{"Chess", "Golf"}));
    EXPECT_EQ(info, std::string("Chess\r\n") + kChess);
    EXPECT_EQ(byNameRows, (std::vector<std::string>{"Chess", "D:/Games/Later/later.exe", "Notepad"}));
    EXPECT_EQ(info3,
              "D:/Games/Later/later.exe\r\nD:/Games/Later/later.exe\r\n" + std::string(kMissingProgramFileNotice));

    ASSERT_EQ(result_.Count(), 4);
    for (const char* name : {"www.example.com", kChess, kNotepad}) {
        const int index = result_.IndexOfName(name);
        ASSERT_GE(index, 0) << name;
        EXPECT_TRUE(result_.Items(index).Selected) << name;
        EXPECT_TRUE(result_.Items(index).Active) << name;
    }
    EXPECT_EQ(result_.Items(result_.IndexOfName("www.example.com")).Caption, "Example");
    EXPECT_EQ(result_.Items(result_.IndexOfName(kNotepad)).ItemType, mitApplication);
}

TEST_F(AddWizard, StopAnswersDuringTheScanAndKeepsWhatWasFound) {
    auto& form = Create();
    std::vector<std::string> rows;
    testing::WhenModal([&](TForm&) {
        Click(form, form.btnSites_Next);
        // Queued: handled by the scan's first progress call.
        const IntRect at = form.btnScan.DeviceRect();
        const LPARAM point = MAKELPARAM(at.left + 5, at.top + 5);
        PostMessageW(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, point);
        PostMessageW(form.Handle(), WM_LBUTTONUP, 0, point);
        Click(form, form.btnScan);
        rows = Rows(form.lbxAppProcesses);
        PostMessageW(form.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);  // back to page 1
        PostMessageW(form.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);  // Cancel
    });
    EXPECT_EQ(form.Execute(options_.get(), &persisted_, &result_), mrCancel);
    EXPECT_EQ(scanType_, TScanType::Fast);
    EXPECT_LT(progressCalls_, 5);
    EXPECT_EQ(rows, (std::vector<std::string>{"Chess", "Golf"}));
    EXPECT_EQ(result_.Count(), 0);
}

TEST_F(AddWizard, At144DpiTheRowsAndButtonsScaleAndStayInside) {
    AddItem(mitWebSite, "example.com", "Example");
    auto& form = Create();
    testing::WhenModal([&](TForm&) {
        form.ApplyDpi(144);
        form.CenterOnScreen();  // the grown window whole on the screen
        Shot(form, "AddWizard_1_sites_144dpi");
        EXPECT_EQ(SendMessageW(form.lbxSites.Handle(), LB_GETITEMHEIGHT, 0, 0), 24);
        const IntSize client = form.DeviceClientSize();
        EXPECT_EQ(client.width, 534);
        EXPECT_LE(form.btnSites_Next.DeviceRect().right, client.width);
        EXPECT_LE(form.btnSites_Next.DeviceRect().bottom, client.height);
        EXPECT_EQ(Rows(form.lbxSites), std::vector<std::string>{"Example"});
        PostMessageW(form.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    });
    EXPECT_EQ(form.Execute(options_.get(), &persisted_, &result_), mrCancel);
}

}  // namespace
}  // namespace vh::win32
