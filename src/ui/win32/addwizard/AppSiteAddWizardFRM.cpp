#include "ui/win32/addwizard/AppSiteAddWizardFRM.h"

#include "ui/win32/addwizard/AddWizardLayout.h"

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
#include "ui/MainViewRules.h"
#include "ui/win32/dialogs/WarningFRM.h"
#include "ui/win32/skin/Skins.h"

namespace vh::win32 {
namespace {

using namespace add_wizard_layout;

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

}  // namespace

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
    // The window's text is its header's, so that Alt+Tab and screen readers
    // name the page the person is on.
    lblCaption.SetCaption(kTitles[page]);
    SetCaption(kTitles[page]);
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

void TfrmAppSiteAddWizard::ShowRows(TWizardListBox& list, TWizardList which) {
    list.OnDrawItem = [this, &list, which](TListBox&, const DRAWITEMSTRUCT& item) { DrawRow(list, which, item); };
    list.AccessibleRowName = [this, &list, which](int row) {
        const TMonitoredList& view = model_->View(which);
        if (row >= view.Count() || list.Item(row).empty()) return std::string();
        const TMonitoredItem& entry = view.Items(row);
        return RowAccessibleName({entry.Caption, entry.GetTypeText(), {}});
    };
    list.RowChecked = [this, which](int row) {
        const TMonitoredList& view = model_->View(which);
        return row < view.Count() && view.Items(row).Selected;
    };
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

}  // namespace vh::win32
