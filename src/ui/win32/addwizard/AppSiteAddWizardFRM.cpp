#include "ui/win32/addwizard/AppSiteAddWizardFRM.h"

#include <commdlg.h>

#include <algorithm>
#include <utility>

#include "common/Exceptions.h"
#include "common/ScopeExit.h"
#include "environment/Trace.h"
#include "environment/ZuravoZazoApplicationDefs.h"
#include "environment/win32/ProgramDiscovery.h"
#include "platform/win32/EnvironmentStrings.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Utf16.h"
#include "storage/Options.h"
#include "ui/win32/dialogs/WarningFRM.h"
#include "ui/win32/skin/Skins.h"

namespace vh::win32 {
namespace {

constexpr int kClientWidth = 356;
constexpr int kClientHeight = 607;
constexpr int kBodyTop = 32;
constexpr int kMargin = 10;
constexpr int kInner = kClientWidth - 2 * kMargin;
constexpr int kRowHeight = 16;
constexpr int kTickWidth = 18;
constexpr int kTypeWidth = 40;
constexpr int kEditHeight = 22;
constexpr int kButtonHeight = 30;
constexpr int kNavTop = 532;  // page coordinates of the navigation buttons
constexpr int kNavWidth = 90;
constexpr int kHeadsHeight = 20;

constexpr char kTitles[3][40] = {"Add Websites to your time-limit list", "Add Applications by Scanning",
                                 "Add Applications by Name"};
constexpr char kFast[] = "Fast (gets most programs)";
constexpr char kComplete[] = "Complete (far slower)";
constexpr char kStop[] = "Stop";
constexpr char kWizardCaption[] = "Vornhalt";

// The running program as the installed environment names it; tests may run
// without one.
TAddWizardSettings SettingsFrom(const TOptions& options) {
    TAddWizardSettings settings;
    settings.AccessMode = options.GetAccessMode();
    settings.DeleteActionProcessed = options.MonitoredItemDeleteActionProcessed();
    settings.ProgramName = kWizardCaption;
    settings.ExpandEnvironment = [](const std::string& text) { return ExpandEnvironmentStringsUtf8(text); };
    if (EnvironmentInstalled()) {
        settings.ProgramFile = GProgramFile();
        settings.ProgramName = GProgramName();
    }
    return settings;
}
constexpr char kScan[] = "Scan";

void PlaceButton(TTabSheet& page, TImageButton& button, const char* name, const std::string& caption, int left, int top,
                 int width) {
    SkinDialogButton(button, name, caption, 0, 0, width);
    page.Insert(button, left, top, width, kButtonHeight);
}

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

// The open dialog for one executable; empty when cancelled.
std::string RunOpenDialog(HWND owner) {
    std::wstring file(MAX_PATH * 4, L'\0');
    static constexpr wchar_t kFilter[] = L"Executable Files\0*.exe\0";
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kFilter;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrDefExt = L"exe";
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_LONGNAMES;
    if (!GetOpenFileNameW(&dialog)) return {};
    file.resize(wcslen(file.c_str()));
    return WideToUtf8(file);
}

// Restores the arrow cursor however the scan ends.
class ScopedWaitCursor {
public:
    ScopedWaitCursor() noexcept : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~ScopedWaitCursor() { SetCursor(previous_ ? previous_ : LoadCursorW(nullptr, IDC_ARROW)); }
    ScopedWaitCursor(const ScopedWaitCursor&) = delete;
    ScopedWaitCursor& operator=(const ScopedWaitCursor&) = delete;

private:
    HCURSOR previous_;
};

}  // namespace

// ---- TWizardListBox ----

TWizardListBox::TWizardListBox(TForm& form) : TItemListBox(form) {
    Subclass();
}

void TWizardListBox::Command(WORD code) {
    if (code == LBN_DBLCLK && OnDblClick) {
        if (ItemIndex() >= 0) OnDblClick(ItemIndex());
        return;
    }
    TItemListBox::Command(code);
}

LRESULT TWizardListBox::SubclassedProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN: {
            const LRESULT answer = CallOriginal(message, wParam, lParam);
            const int x = static_cast<short>(LOWORD(lParam));
            RECT client{};
            GetClientRect(Handle(), &client);
            const LRESULT hit = SendMessageW(Handle(), LB_ITEMFROMPOINT, 0, lParam);
            const int row = LOWORD(hit);
            // HIWORD set: the point lies below the last row.
            if (HIWORD(hit) == 0 && x >= client.right - Form().Scale(kTickWidth) && OnTickClick) OnTickClick(row);
            return answer;
        }
        case WM_CONTEXTMENU:
            if (OnContextMenu) {
                OnContextMenu(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
                return 0;
            }
            break;
        case WM_KEYDOWN:
            if (wParam == VK_DELETE && (GetKeyState(VK_CONTROL) & 0x8000) && OnCtrlDelete) {
                OnCtrlDelete();
                return 0;
            }
            break;
        default: break;
    }
    return CallOriginal(message, wParam, lParam);
}

// ---- TfrmAppSiteAddWizard ----

TfrmAppSiteAddWizard::TfrmAppSiteAddWizard(HWND owner)
    : TfrmBase(kWizardCaption, kClientWidth, kClientHeight),
      pcMain(Add<TPageControl>()),
      tsMonitoredSites(pcMain.AddPage("tsMonitoredSites")),
      tsAppProcesses(pcMain.AddPage("tsAppProcesses")),
      tsApps(pcMain.AddPage("tsApps")),
      lblSitesHint(Add<TLabel>()),
      edURL(Add<TEdit>()),
      lblTag(Add<TLabel>()),
      edTag(Add<TEdit>()),
      btnAdd(Add<TImageButton>()),
      pnlSitesHeads(Add<TImagePanel>()),
      lblSitesName(Add<TLabel>()),
      lblSitesType(Add<TLabel>()),
      lbxSites(Add<TWizardListBox>()),
      btnSites_Cancel(Add<TImageButton>()),
      btnSites_Next(Add<TImageButton>()),
      lblScanHint(Add<TLabel>()),
      lblScanType(Add<TLabel>()),
      pnlScanningAlghorithm(Add<TImagePanel>()),
      cbxScanningAlghorithm(Add<TComboBox>()),
      btnScanningAlghorithm(Add<TImageButton>()),
      btnScan(Add<TImageButton>()),
      lblFilter(Add<TLabel>()),
      edtFilter(Add<TEdit>()),
      ggScan(Add<TGauge>()),
      pnlAppProcessesHeads(Add<TImagePanel>()),
      lblAppProcessesName(Add<TLabel>()),
      lblAppProcessesType(Add<TLabel>()),
      lbxAppProcesses(Add<TWizardListBox>()),
      lblAppInfo(Add<TLabel>()),
      mmAppInfo(Add<TMemo>()),
      btnAppProcessesBack(Add<TImageButton>()),
      btnAppProcessesNext(Add<TImageButton>()),
      lblAppHint(Add<TLabel>()),
      edApp(Add<TEdit>()),
      btnBrowse(Add<TImageButton>()),
      lblAppTag(Add<TLabel>()),
      edAppTag(Add<TEdit>()),
      btnAddApp(Add<TImageButton>()),
      pnlAppsHeads(Add<TImagePanel>()),
      lblAppsName(Add<TLabel>()),
      lblAppsType(Add<TLabel>()),
      lbxApps(Add<TWizardListBox>()),
      lblAppInfoApp(Add<TLabel>()),
      mmAppInfoApp(Add<TMemo>()),
      btnAppBack(Add<TImageButton>()),
      btnFinish(Add<TImageButton>()),
      pmnButtons(AddPopupMenu("pmnButtons")),
      miNext(pmnButtons.Add("miNext", "Next", VK_RETURN)),
      miBack(pmnButtons.Add("miBack", "Back", VK_ESCAPE)),
      pmnSites(AddPopupMenu("pmnSites")),
      miSiteDelete(pmnSites.Add("miSiteDelete", "&Delete")),
      tmrEnumFolders(AddTimer()) {
    if (owner) SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    pcMain.Name = "pcMain";
    pcMain.SetBounds(0, kBodyTop, kClientWidth, kClientHeight - kBodyTop);
    BuildPage1();
    BuildPage2();
    BuildPage3();

    pmnButtons.Name = "pmnButtons";
    miNext.Visible = false;
    miBack.Visible = false;
    miNext.OnClick = [this](TMenuItem&) {
        if (activePage_ == 0) btnAddClick();
        if (activePage_ == 1) btnAppProcessesNextClick();
        if (activePage_ == 2) btnFinishClick();
    };
    miBack.OnClick = [this](TMenuItem&) {
        if (activePage_ == 0) Close();
        if (activePage_ == 1) btnAppProcessesBackClick();
        if (activePage_ == 2) btnAppBackClick();
    };
    miSiteDelete.OnClick = [this](TMenuItem&) { miSiteDeleteClick(); };

    tmrEnumFolders.SetInterval(1000);
    tmrEnumFolders.SetEnabled(false);
    tmrEnumFolders.OnTimer = [this](TTimer& timer) {
        // Counting gives no progress of its own: creep to 15 % meanwhile.
        if (ggScan.Progress() < 15) ggScan.SetProgress(ggScan.Progress() + 1);
        if (ggScan.Progress() >= 15) timer.SetEnabled(false);
    };

    Scanner = [](TScanType type, const TScanProgressEvent& progress, const std::function<void(int)>& onTotal) {
        return DiscoverInstalledApplications(type, progress, onTotal);
    };
    ChooseFile = [this] { return RunOpenDialog(Handle()); };
    CaptionOf = [](const std::string& path) { return ApplicationCaption(path); };
    PathKindOf = [](const std::string& path) {
        if (!EnvironmentInstalled()) return TPathKind::File;
        if (SafeDirectoryExists(path)) return TPathKind::Folder;
        return SafeFileExists(path) ? TPathKind::File : TPathKind::Missing;
    };
}

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
    lbxSites.OnDrawItem = [this](TListBox&, const DRAWITEMSTRUCT& item) {
        DrawRow(lbxSites, TWizardList::Sites, item);
    };
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

    lbxAppProcesses.OnDrawItem = [this](TListBox&, const DRAWITEMSTRUCT& item) {
        DrawRow(lbxAppProcesses, TWizardList::Scanned, item);
    };
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
    lbxApps.OnDrawItem = [this](TListBox&, const DRAWITEMSTRUCT& item) { DrawRow(lbxApps, TWizardList::ByName, item); };
    lbxApps.OnTickClick = [this](int row) { TickClick(lbxApps, TWizardList::ByName, row); };
    lbxApps.OnChange = [this](TWinControl&) { RowSelected(lbxApps, TWizardList::ByName, mmAppInfoApp); };
    lbxApps.OnDblClick = [this](int row) { RowDblClick(TWizardList::ByName, row, edApp, edAppTag); };
}

TAppSiteAddWizardModel& TfrmAppSiteAddWizard::Model() const {
    VH_ASSERT(model_ != nullptr);
    return *model_;
}

int TfrmAppSiteAddWizard::Execute(TOptions* options, TMonitoredList* persistedList, TMonitoredList* resultList) {
    VH_ASSERT(options != nullptr);
    VH_ASSERT(persistedList != nullptr);
    VH_ASSERT(resultList != nullptr);
    options_ = options;
    persisted_ = persistedList;
    result_ = resultList;
    TAddWizardSettings settings = SettingsFrom(*options_);
    // Through the seam at each call, so a test may replace it while the wizard runs.
    settings.PathKindOf = [this](const std::string& path) { return PathKindOf ? PathKindOf(path) : TPathKind::File; };
    model_ = std::make_unique<TAppSiteAddWizardModel>(*persisted_, *result_, std::move(settings));
    FillList(lbxSites, TWizardList::Sites);
    ShowPage(0);
    return ShowModal();
}

void TfrmAppSiteAddWizard::ShowPage(int page) {
    TTabSheet* pages[] = {&tsMonitoredSites, &tsAppProcesses, &tsApps};
    activePage_ = page;
    lblCaption.SetCaption(kTitles[page]);
    ReturnPageControls(*this);
    ShowPageControls(*this, *pages[page]);
    ggScan.SetVisible(false);
    Invalidate();
}

void TfrmAppSiteAddWizard::FillList(TWizardListBox& list, TWizardList which) {
    TListBoxTarget target(list);
    model_->View(which).FillStrings(target, which == TWizardList::Sites ? mitWebSite : mitApplication);
    PadListWithBlankRows(*this, list);
}

void TfrmAppSiteAddWizard::RefillScanned() {
    model_->RebuildScannedView(edtFilter.Text());
    FillList(lbxAppProcesses, TWizardList::Scanned);
}

void TfrmAppSiteAddWizard::RefillByName() {
    model_->RebuildByNameView();
    FillList(lbxApps, TWizardList::ByName);
}

bool TfrmAppSiteAddWizard::AddEntry(TMonitoredItemType type, TEdit& name, TEdit& tag) {
    const TAddOutcome outcome = model_->Add(type, name.Text(), tag.Text());
    if (!outcome.Message.empty()) ShowWarning(outcome.Message, outcome.MessageCaption);
    if (!outcome.Taken) return false;
    if (type == mitWebSite) {
        FillList(lbxSites, TWizardList::Sites);
    } else {
        RefillByName();
        if (!outcome.Info.empty()) mmAppInfoApp.SetText(outcome.Info);
    }
    name.SetText("");
    tag.SetText("");
    return true;
}

void TfrmAppSiteAddWizard::btnAddClick() {
    AddEntry(mitWebSite, edURL, edTag);
}

void TfrmAppSiteAddWizard::btnAddAppClick() {
    AddEntry(mitApplication, edApp, edAppTag);
}

void TfrmAppSiteAddWizard::btnSites_NextClick() {
    RefillScanned();
    ShowPage(1);
}

void TfrmAppSiteAddWizard::btnAppProcessesBackClick() {
    ShowPage(0);
}

void TfrmAppSiteAddWizard::btnAppProcessesNextClick() {
    RefillByName();
    ShowPage(2);
}

void TfrmAppSiteAddWizard::btnAppBackClick() {
    RefillScanned();
    ShowPage(1);
}

void TfrmAppSiteAddWizard::btnFinishClick() {
    if (model_->Finish()) options_->SetMonitoredItemDeleteActionProcessed(true);
    SetModalResult(mrOk);
    Close();
}

void TfrmAppSiteAddWizard::btnBrowseClick() {
    const std::string path = ChooseFile ? ChooseFile() : std::string();
    if (path.empty()) return;
    edApp.SetText(path);
    edAppTag.SetText(CaptionOf ? CaptionOf(path) : std::string());
}

void TfrmAppSiteAddWizard::miSiteDeleteClick() {
    const int row = lbxSites.ItemIndex();
    if (!model_->DeleteSite(row)) return;
    FillList(lbxSites, TWizardList::Sites);
    lbxSites.SetItemIndex(row);
}

void TfrmAppSiteAddWizard::TickClick(TWizardListBox& list, TWizardList which, int row) {
    if (row < 0 || row >= model_->View(which).Count()) return;
    model_->ToggleTick(which, row);
    ::InvalidateRect(list.Handle(), nullptr, TRUE);
    list.SetItemIndex(row);
}

void TfrmAppSiteAddWizard::RowSelected(TWizardListBox& list, TWizardList which, TMemo& info) {
    const int row = list.ItemIndex();
    if (row < 0 || row >= model_->View(which).Count()) return;
    const TMonitoredItem& item = model_->View(which).Items(row);
    info.SetText(item.Caption + "\r\n" + item.Name);
}

void TfrmAppSiteAddWizard::RowDblClick(TWizardList which, int row, TEdit& name, TEdit& tag) {
    if (row < 0 || row >= model_->View(which).Count()) return;
    const TMonitoredItem& item = model_->View(which).Items(row);
    name.SetText(item.Name);
    tag.SetText(item.Caption == item.Name ? std::string() : item.Caption);
}

void TfrmAppSiteAddWizard::DrawRow(TWizardListBox& list, TWizardList which, const DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1)) return;
    const int row = static_cast<int>(item.itemID);
    const RECT& r = item.rcItem;
    const HDC dc = item.hDC;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const COLORREF back =
        selected ? GetSysColor(COLOR_HIGHLIGHT) : (row % 2 == 0 ? RGB(255, 255, 255) : RGB(241, 241, 241));
    UniqueBrush brush(CreateSolidBrush(back));
    FillRect(dc, &r, brush.Get());
    UniquePen pen(CreatePen(PS_SOLID, 1, RGB(212, 212, 212)));
    {
        const ScopedSelect selectPen(dc, pen.Get());
        MoveToEx(dc, r.left, r.bottom - 1, nullptr);
        LineTo(dc, r.right, r.bottom - 1);
    }
    TMonitoredList& view = model_->View(which);
    if (row >= view.Count() || list.Item(row).empty()) return;
    const TMonitoredItem& entry = view.Items(row);
    const int tick = Scale(kTickWidth);
    const int type = Scale(kTypeWidth);
    SetBkMode(dc, TRANSPARENT);
    const COLORREF text = selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : RGB(54, 54, 54);
    SetTextColor(dc, entry.Active ? text : RGB(128, 128, 128));
    const ScopedSelect selectFont(dc, NativeFont());
    RECT captionRect{r.left + Scale(4), r.top, r.right - tick - type - Scale(4), r.bottom};
    const std::wstring caption = Utf8ToWide(entry.Caption);
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &captionRect,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    RECT typeRect{r.right - tick - type, r.top, r.right - tick, r.bottom};
    const std::wstring typeText = Utf8ToWide(entry.GetTypeText());
    DrawTextW(dc, typeText.c_str(), static_cast<int>(typeText.size()), &typeRect,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    const TPicture& picture = entry.Selected ? Skins().tick : Skins().check;
    const IntSize size = picture.SizeAt(Dpi());
    picture.Draw(dc, r.right - tick + (tick - size.width) / 2, r.top + (r.bottom - r.top - size.height) / 2, Dpi());
}

bool TfrmAppSiteAddWizard::ScanProgress(bool counting) {
    ProcessMessages();
    if (!counting) {
        ++scanCount_;
        ggScan.SetProgress(scanTotal_ == 0 ? 0 : static_cast<int>(scanCount_ * 85LL / scanTotal_) + 15);
        UpdateWindow(Handle());
    }
    // Closing the window while a scan runs ends the scan too.
    return !stopRequest_ && ModalResult() == mrNone;
}

void TfrmAppSiteAddWizard::btnScanClick() {
    if (btnScan.Caption() == kStop) {
        stopRequest_ = true;
        return;
    }
    const ScopedWaitCursor wait;
    model_->BeginScan();
    lbxAppProcesses.BeginUpdate();
    lblFilter.SetCaption("Progress");
    edtFilter.SetVisible(false);
    ggScan.SetProgress(0);
    ggScan.SetVisible(true);
    btnScan.SetCaption(kStop);
    lbxAppProcesses.Clear();
    const ScopeExit end([this] { EndScan(); });
    RunScan();
}

void TfrmAppSiteAddWizard::EndScan() {
    tmrEnumFolders.SetEnabled(false);
    lbxAppProcesses.EndUpdate();
    btnScan.SetCaption(kScan);
    ggScan.SetVisible(false);
    lblFilter.SetCaption("Filter");
    edtFilter.SetVisible(true);
    Invalidate();
}

void TfrmAppSiteAddWizard::RunScan() {
    stopRequest_ = false;
    tmrEnumFolders.SetEnabled(true);
    scanTotal_ = 0;
    scanCount_ = 0;
    const bool complete = cbxScanningAlghorithm.ItemIndex() == 1;
    bool counting = complete;
    const TDiscoveryResult found = Scanner(
        complete ? TScanType::Complete : TScanType::Fast, [this, &counting] { return ScanProgress(counting); },
        [this, &counting](int total) {
            scanTotal_ = total;
            scanCount_ = 0;
            counting = false;
            tmrEnumFolders.SetEnabled(false);
        });
    model_->LoadScanResult(found.Candidates);
    RefillScanned();
    ggScan.SetProgress(100);
}

}  // namespace vh::win32
