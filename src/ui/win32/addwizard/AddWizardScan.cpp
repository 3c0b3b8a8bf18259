// The add wizard's scan: discovery driven from page 2, answering Stop and
// repainting at every progress call, its buttons and gauge restored however
// it ends.
#include <windows.h>

#include "common/ScopeExit.h"
#include "ui/win32/addwizard/AddWizardLayout.h"
#include "ui/win32/addwizard/AppSiteAddWizardFRM.h"

namespace vh::win32 {
namespace {

using namespace add_wizard_layout;

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
