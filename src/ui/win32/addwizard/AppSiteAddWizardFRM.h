#pragma once
// The add wizard: three pages on which the user puts web sites (page 1) and
// applications found by a scan (page 2) or chosen by file name (page 3) on
// the time-limit list, or takes entries off it. It works on copies and hands
// its decisions back in the caller's result list (see AppSiteAddWizardModel);
// the caller applies that list however the wizard was closed.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "environment/ApplicationDiscovery.h"
#include "ui/presenters/AppSiteAddWizardModel.h"
#include "ui/win32/addwizard/WizardListBox.h"
#include "ui/win32/skin/BaseFRM.h"
#include "ui/win32/toolkit/Gauge.h"

namespace vh {
class TOptions;
}

namespace vh::win32 {

class TfrmAppSiteAddWizard : public TfrmBase {
public:
    // `owner` (may be none) is the window the wizard belongs to.
    explicit TfrmAppSiteAddWizard(HWND owner = nullptr);

    TPageControl& pcMain;
    TTabSheet& tsMonitoredSites;
    TTabSheet& tsAppProcesses;
    TTabSheet& tsApps;
    // Page 1
    TLabel& lblSitesHint;
    TEdit& edURL;
    TLabel& lblTag;
    TEdit& edTag;
    TImageButton& btnAdd;
    TImagePanel& pnlSitesHeads;
    TLabel& lblSitesName;
    TLabel& lblSitesType;
    TWizardListBox& lbxSites;
    TImageButton& btnSites_Cancel;
    TImageButton& btnSites_Next;
    // Page 2
    TLabel& lblScanHint;
    TLabel& lblScanType;
    TImagePanel& pnlScanningAlghorithm;
    TComboBox& cbxScanningAlghorithm;
    TImageButton& btnScanningAlghorithm;
    TImageButton& btnScan;
    TLabel& lblFilter;
    TEdit& edtFilter;
    TGauge& ggScan;
    TImagePanel& pnlAppProcessesHeads;
    TLabel& lblAppProcessesName;
    TLabel& lblAppProcessesType;
    TWizardListBox& lbxAppProcesses;
    TLabel& lblAppInfo;
    TMemo& mmAppInfo;
    TImageButton& btnAppProcessesBack;
    TImageButton& btnAppProcessesNext;
    // Page 3
    TLabel& lblAppHint;
    TEdit& edApp;
    TImageButton& btnBrowse;
    TLabel& lblAppTag;
    TEdit& edAppTag;
    TImageButton& btnAddApp;
    TImagePanel& pnlAppsHeads;
    TLabel& lblAppsName;
    TLabel& lblAppsType;
    TWizardListBox& lbxApps;
    TLabel& lblAppInfoApp;
    TMemo& mmAppInfoApp;
    TImageButton& btnAppBack;
    TImageButton& btnFinish;

    TPopupMenu& pmnButtons;
    TMenuItem& miNext;
    TMenuItem& miBack;
    TPopupMenu& pmnSites;
    TMenuItem& miSiteDelete;
    TTimer& tmrEnumFolders;

    // Seams, set to the real services: the scan (discovery over Windows), the
    // open dialog (answers the chosen path, empty when cancelled), the
    // caption of an executable and what the system has at a typed path.
    using TScanner =
        std::function<TDiscoveryResult(TScanType, const TScanProgressEvent&, const std::function<void(int total)>&)>;
    TScanner Scanner;
    std::function<std::string()> ChooseFile;
    std::function<std::string(const std::string&)> CaptionOf;
    std::function<TPathKind(const std::string&)> PathKindOf;

    // Runs the wizard modally over the caller's options, persisted list and
    // (empty) result list; all three must be given and outlive the call.
    int Execute(TOptions* options, TMonitoredList* persistedList, TMonitoredList* resultList);

    // The page in use (0 to 2).
    int ActivePage() const noexcept { return activePage_; }
    TAppSiteAddWizardModel& Model() const;

    void btnAddClick();
    void btnAddAppClick();
    void btnSites_NextClick();
    void btnAppProcessesBackClick();
    void btnAppProcessesNextClick();
    void btnAppBackClick();
    void btnFinishClick();
    void btnScanClick();
    void btnBrowseClick();
    void miSiteDeleteClick();

private:
    void BuildPage1();
    void BuildPage2();
    void BuildPage3();
    void ShowPage(int page);
    bool AddEntry(TMonitoredItemType type, TEdit& name, TEdit& tag);
    void FillList(TWizardListBox& list, TWizardList which);
    void RefillScanned();
    void RefillByName();
    void TickClick(TWizardListBox& list, TWizardList which, int row);
    void RowSelected(TWizardListBox& list, TWizardList which, TMemo& info);
    void RowDblClick(TWizardList which, int row, TEdit& name, TEdit& tag);
    void DrawRow(TWizardListBox& list, TWizardList which, const DRAWITEMSTRUCT& item);
    // Paints the list's rows and tells screen readers what each shows: its
    // caption and type, and its tick as the checked state.
    void ShowRows(TWizardListBox& list, TWizardList which);
    bool ScanProgress(bool counting);
    void RunScan();
    void EndScan();

    TOptions* options_ = nullptr;
    TMonitoredList* persisted_ = nullptr;
    TMonitoredList* result_ = nullptr;
    std::unique_ptr<TAppSiteAddWizardModel> model_;
    int activePage_ = -1;
    int scanTotal_ = 0;
    int scanCount_ = 0;
    bool stopRequest_ = false;
};

}  // namespace vh::win32
