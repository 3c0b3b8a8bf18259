// The add wizard's three pages, built on their design-time sheets.
#include <windows.h>

#include "ui/win32/addwizard/AddWizardLayout.h"
#include "ui/win32/addwizard/AppSiteAddWizardFRM.h"
#include "ui/win32/dialogs/WarningFRM.h"
#include "ui/win32/skin/Skins.h"

namespace vh::win32 {
namespace {

using namespace add_wizard_layout;

void PlaceWin(TTabSheet& page, TWinControl& control, const char* name, int left, int top, int width, int height) {
    control.Name = name;
    page.Insert(control, left, top, width, height);
}

// Column heads "Name" and "Type" on a framed strip above a list.
void PlaceHeads(TTabSheet& page, TImagePanel& panel, TLabel& name, TLabel& type, const char* prefix, int top) {
    SkinPanel(panel, std::string("pnl") + prefix + "Heads", Skins().header, kHeaderSide);
    page.Insert(panel, kMargin, top, kInner, kHeadsHeight);
    PlacePageLabel(page, name, "lbl" + std::string(prefix) + "Name", "Name", kMargin + 6, top + 2, 120);
    PlacePageLabel(page, type, "lbl" + std::string(prefix) + "Type", "Type",
                   kMargin + kInner - kTickWidth - kTypeWidth - 4, top + 2, kTypeWidth);
}

void PlaceList(TTabSheet& page, TWizardListBox& list, const char* name, int top, int height) {
    list.SetItemHeight(kRowHeight);
    PlaceWin(page, list, name, kMargin, top, kInner, height);
}

void PlaceMemo(TTabSheet& page, TMemo& memo, const char* name, int top, int height) {
    SendMessageW(memo.Handle(), EM_SETREADONLY, TRUE, 0);
    PlaceWin(page, memo, name, kMargin, top, kInner, height);
}

void PlaceButton(TTabSheet& page, TImageButton& button, const char* name, const std::string& caption, int left, int top,
                 int width) {
    SkinDialogButton(button, name, caption, 0, 0, width);
    page.Insert(button, left, top, width, kButtonHeight);
}

}  // namespace

void TfrmAppSiteAddWizard::BuildPage1() {
    TTabSheet& page = tsMonitoredSites;
    PlacePageLabel(page, lblSitesHint, "lblSitesHint",
                   "Enter Site Address eg www.sitename.com To time-limit all Sites, choose your Browsers in the next "
                   "step",
                   kMargin, 10, kInner, 48);
    PlaceWin(page, edURL, "edURL", kMargin, 62, kInner, kEditHeight);
    PlacePageLabel(page, lblTag, "lblTag", "Tag (optional):", kMargin, 100, 120);
    PlaceWin(page, edTag, "edTag", kMargin + 118, 96, 138, kEditHeight);
    PlaceButton(page, btnAdd, "btnAdd", "Add", kMargin + kInner - 74, 92, 74);
    PlaceHeads(page, pnlSitesHeads, lblSitesName, lblSitesType, "Sites", 134);
    PlaceList(page, lbxSites, "lbxSites", 134 + kHeadsHeight, 370);
    PlaceButton(page, btnSites_Cancel, "btnSites_Cancel", "Cancel", kMargin, kNavTop, kNavWidth);
    PlaceButton(page, btnSites_Next, "btnSites_Next", "Next >", kClientWidth - kMargin - kNavWidth, kNavTop, kNavWidth);

    btnAdd.OnClick = [this](TControl&) { btnAddClick(); };
    btnSites_Cancel.OnClick = [this](TControl&) { Close(); };
    btnSites_Next.OnClick = [this](TControl&) { btnSites_NextClick(); };
    ShowRows(lbxSites, TWizardList::Sites);
    lbxSites.OnTickClick = [this](int row) { TickClick(lbxSites, TWizardList::Sites, row); };
    lbxSites.OnDblClick = [this](int row) { RowDblClick(TWizardList::Sites, row, edURL, edTag); };
    lbxSites.OnContextMenu = [this](int x, int y) {
        if (x == -1 && y == -1) {
            POINT at{0, 0};
            ClientToScreen(lbxSites.Handle(), &at);
            x = at.x;
            y = at.y;
        }
        pmnSites.Popup(Handle(), x, y);
    };
    lbxSites.OnCtrlDelete = [this] { miSiteDeleteClick(); };
}

void TfrmAppSiteAddWizard::BuildPage2() {
    TTabSheet& page = tsAppProcesses;
    PlacePageLabel(
        page, lblScanHint, "lblScanHint",
        "Add games to time limit by Scanning (Optional)\r\nThis will scan for installed applications. The scan "
        "takes a few minutes. Alternatively you can choose a file at the next step.",
        kMargin, 10, kInner, 80);
    PlacePageLabel(page, lblScanType, "lblScanType", "Choose Scan Type:", kMargin, 96, 200);
    pnlScanningAlghorithm.Name = "pnlScanningAlghorithm";
    pnlScanningAlghorithm.SetBackground(Skins().panelFrame);
    pnlScanningAlghorithm.SetSideWidth(kHeaderSide);
    pnlScanningAlghorithm.SetSideHeight(kHeaderSide);
    page.Insert(pnlScanningAlghorithm, kMargin, 116, 240, 30);
    cbxScanningAlghorithm.Name = "cbxScanningAlghorithm";
    cbxScanningAlghorithm.AddItem(kFast);
    cbxScanningAlghorithm.AddItem(kComplete);
    cbxScanningAlghorithm.SetItemIndex(0);
    page.Insert(cbxScanningAlghorithm, kMargin + 2, 118, 236, 120);
    btnScanningAlghorithm.Name = "btnScanningAlghorithm";
    btnScanningAlghorithm.SetBackground(Skins().comboButton);
    btnScanningAlghorithm.SetBackgroundSelected(Skins().comboButtonSelected);
    btnScanningAlghorithm.SetBackgroundDowned(Skins().comboButtonDowned);
    btnScanningAlghorithm.SetSideWidth(5);
    btnScanningAlghorithm.SetSideHeight(5);
    btnScanningAlghorithm.AccessibleName = "Choose Scan Type:";
    page.Insert(btnScanningAlghorithm, kMargin + 240 - 2 - 26, 118, 26, 26);
    btnScanningAlghorithm.OnClick = [this](TControl&) { cbxScanningAlghorithm.DropDown(); };
    PlaceButton(page, btnScan, "btnScan", kScan, kMargin + kInner - 80, 116, 80);
    btnScan.OnClick = [this](TControl&) { btnScanClick(); };

    PlacePageLabel(page, lblFilter, "lblFilter", "Filter", kMargin, 160, 70);
    PlaceWin(page, edtFilter, "edtFilter", kMargin + 76, 156, kInner - 76, kEditHeight);
    ggScan.Name = "ggScan";
    ggScan.AccessibleName = "Progress";
    page.Insert(ggScan, kMargin + 76, 156, kInner - 76, kEditHeight);
    ggScan.SetVisible(false);
    edtFilter.OnChange = [this](TWinControl&) {
        if (activePage_ == 1 && model_) RefillScanned();
    };

    PlaceHeads(page, pnlAppProcessesHeads, lblAppProcessesName, lblAppProcessesType, "AppProcesses", 190);
    PlaceList(page, lbxAppProcesses, "lbxAppProcesses", 190 + kHeadsHeight, 226);
    PlacePageLabel(page, lblAppInfo, "lblAppInfo", "Application Info", kMargin, 442, 200);
    PlaceMemo(page, mmAppInfo, "mmAppInfo", 460, 62);
    PlaceButton(page, btnAppProcessesBack, "btnAppProcessesBack", "< Back", kMargin, kNavTop, kNavWidth);
    PlaceButton(page, btnAppProcessesNext, "btnAppProcessesNext", "Next >", kClientWidth - kMargin - kNavWidth, kNavTop,
                kNavWidth);
    btnAppProcessesBack.OnClick = [this](TControl&) { btnAppProcessesBackClick(); };
    btnAppProcessesNext.OnClick = [this](TControl&) { btnAppProcessesNextClick(); };

    ShowRows(lbxAppProcesses, TWizardList::Scanned);
    lbxAppProcesses.OnTickClick = [this](int row) { TickClick(lbxAppProcesses, TWizardList::Scanned, row); };
    lbxAppProcesses.OnChange = [this](TWinControl&) { RowSelected(lbxAppProcesses, TWizardList::Scanned, mmAppInfo); };
}

void TfrmAppSiteAddWizard::BuildPage3() {
    TTabSheet& page = tsApps;
    PlacePageLabel(page, lblAppHint, "lblAppHint",
                   "Filename eg excel.exe or file address ex. c:/program files/excel.exe", kMargin, 10, kInner, 34);
    PlaceWin(page, edApp, "edApp", kMargin, 52, kInner - 84, kEditHeight);
    PlaceButton(page, btnBrowse, "btnBrowse", "Browse", kMargin + kInner - 78, 48, 78);
    PlacePageLabel(page, lblAppTag, "lblAppTag", "Tag (optional):", kMargin, 94, 120);
    PlaceWin(page, edAppTag, "edAppTag", kMargin + 118, 90, kInner - 118 - 84, kEditHeight);
    PlaceButton(page, btnAddApp, "btnAddApp", "Add", kMargin + kInner - 78, 86, 78);
    PlaceHeads(page, pnlAppsHeads, lblAppsName, lblAppsType, "Apps", 130);
    PlaceList(page, lbxApps, "lbxApps", 130 + kHeadsHeight, 286);
    PlacePageLabel(page, lblAppInfoApp, "lblAppInfoApp", "Application Info", kMargin, 442, 200);
    PlaceMemo(page, mmAppInfoApp, "mmAppInfoApp", 460, 62);
    PlaceButton(page, btnAppBack, "btnAppBack", "< Back", kMargin, kNavTop, kNavWidth);
    PlaceButton(page, btnFinish, "btnFinish", "Finish", kClientWidth - kMargin - kNavWidth, kNavTop, kNavWidth);

    btnBrowse.OnClick = [this](TControl&) { btnBrowseClick(); };
    btnAddApp.OnClick = [this](TControl&) { btnAddAppClick(); };
    btnAppBack.OnClick = [this](TControl&) { btnAppBackClick(); };
    btnFinish.OnClick = [this](TControl&) { btnFinishClick(); };
    ShowRows(lbxApps, TWizardList::ByName);
    lbxApps.OnTickClick = [this](int row) { TickClick(lbxApps, TWizardList::ByName, row); };
    lbxApps.OnChange = [this](TWinControl&) { RowSelected(lbxApps, TWizardList::ByName, mmAppInfoApp); };
    lbxApps.OnDblClick = [this](int row) { RowDblClick(TWizardList::ByName, row, edApp, edAppTag); };
}

}  // namespace vh::win32
