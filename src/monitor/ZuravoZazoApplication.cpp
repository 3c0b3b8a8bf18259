#include "monitor/ZuravoZazoApplication.h"

#include <array>
#include <exception>
#include <optional>
#include <string_view>

#include "common/Exceptions.h"
#include "common/StringUtils.h"
#include "environment/Trace.h"
#include "monitor/AccessibilityDefs.h"
#include "monitor/BrowserRecognition.h"
#include "monitor/PsapiUtils.h"

namespace vh {

namespace {
constexpr int kOperaMaxDepth = 8;
constexpr std::int32_t kOperaAddressState = kStateSystemFocusable | kStateSystemHotTracked;

bool HasAddressScheme(std::string_view text) {
    static constexpr std::array<std::string_view, 4> kSchemes = {"http://", "https://", "ftp://", "ftps://"};
    for (std::string_view scheme : kSchemes)
        if (StartsWith(text, scheme)) return true;
    return false;
}
}  // namespace

std::string ApplicationKindText(TApplicationKind kind) {
    switch (kind) {
        case akDesktop: return "Desktop Application";
        case akInternetExplorer: return "MS Internet Explorer";
        case akFirefox: return "Mozila FireFox";
        case akChrome: return "Google Chrome";
        case akOpera: return "Opera";
        case akEdge: return "Microsoft Edge";
        case akBrave: return "Brave";
        case akVivaldi: return "Vivaldi";
        case akChromium: return "Chromium";
    }
    return std::string();
}

void TZuravoZazoApplication::Execute(bool closeMode, const TMonitoredList* list) noexcept {
    // Close mode ends with the enumeration, also when it fails.
    struct TCloseModeReset {
        TZuravoZazoApplication& probe;
        ~TCloseModeReset() {
            probe.CloseMode = false;
            probe.CloseList = nullptr;
        }
    };
    try {
        Kind = akDesktop;
        Address.clear();
        ApplicationPath.clear();
        Probed = false;
        Window = 0;
        CloseMode = closeMode;
        CloseList = list;
        const TCloseModeReset reset{*this};
        if (CloseMode)
            windows_.EnumerateTopLevelWindows([this](TWindowId window) { return WindowStep(window); });
        else
            WindowStep(windows_.ForegroundWindow());
    } catch (const std::exception& e) {
        TraceException(ErrorTraceText(e, "TZuravoZazoApplication.Execute"));
    } catch (...) {
        TraceException("ErrorClassName: unknown; TZuravoZazoApplication.Execute: unknown exception");
    }
}

bool TZuravoZazoApplication::IsOnList(const TMonitoredList* list, int& index, TMonitoredItemType& kind,
                                      std::string* caption) const {
    VH_ASSERT(list != nullptr);
    if (caption != nullptr) caption->clear();
    const TMatch match = list->FindMatch(ApplicationPath, Address);
    index = match.Index;
    kind = match.Kind;
    if (index == -1) return false;
    if (caption != nullptr) *caption = list->Items(index).Caption;
    return true;
}

bool TZuravoZazoApplication::WindowStep(TWindowId window) {
    bool goOn = true;
    if (!CloseMode) {
        if (Probed) return true;
        Probed = true;
        goOn = false;
    }
    Window = window;
    Kind = akDesktop;
    ApplicationPath = GetWindowImagePath(windows_, window);
    Address.clear();
    LastAddressRead = TAddressRead::NotFound;
    chromiumContent_.clear();
    // No window in front (a switch in progress, a secure desktop): its
    // "children" would be every top-level window, and some browser's address
    // would be charged although nothing is in front.
    if (window != 0) {
        windows_.EnumerateChildWindows(window, [this](TWindowId child) { return ChildStep(child); });
        // Today's Firefox may still have a child of the old class, without
        // the old tree below it.
        if (Address.empty() && (Kind == akDesktop || Kind == akFirefox)) ReadCurrentBrowser(window);
        if (Address.empty() && Kind != akDesktop && !CloseMode) TraceNoAddress(window);
    }
    if (CloseMode) {
        int index = -1;
        TMonitoredItemType kind = mitApplication;
        if (IsOnList(CloseList, index, kind)) windows_.PostClose(window);
    }
    return goOn;
}

bool TZuravoZazoApplication::ChildStep(TWindowId child) {
    const std::string className = windows_.ClassName(child);
    if (className == "MozillaWindowClass") {
        Kind = akFirefox;
        // Walked within the budget, read where it was found at the next scans.
        LastAddressRead =
            addressReader_.ReadOldFirefox(child, Address, CloseMode ? kCloseWalkBudget : kAddressWalkBudget);
        return false;
    }
    if (className == "OperaWindowClass") {
        Kind = akOpera;
        WalkAccessibleTree(windows_, child, &AddressVisitor, this, kOperaMaxDepth);
        return false;
    }
    if (className == "Chrome_AutocompleteEditView") {
        Kind = akChrome;
        Address = windows_.WindowText(child);
        return false;
    }
    if (className == "Edit") {
        if (Kind != akInternetExplorer) return true;
        if (Address.empty()) Address = windows_.WindowText(child);
        return false;
    }
    if (className == "AddressDisplay Control" || className == "Address Band Root") Kind = akInternetExplorer;
    // DevTools and Vivaldi's interface have render windows of their own;
    // the tabs not shown keep theirs, hidden.
    constexpr std::size_t kMaxRenderWindows = 4;
    if (className == kChromiumContentClass && chromiumContent_.size() < kMaxRenderWindows && windows_.IsVisible(child))
        chromiumContent_.push_back(child);
    return true;
}

void TZuravoZazoApplication::ReadCurrentBrowser(TWindowId window) {
    const std::string windowClass = windows_.ClassName(window);
    const TApplicationKind kind = RecognizeBrowser(windowClass, ApplicationPath);
    if (kind == akDesktop) return;
    Kind = kind;
    if (windowClass == kChromiumWindowClass) {
        // Chromium builds the page's tree only once asked as a screen reader
        // asks, and a little later: this probe may read only the address
        // field, the next ones the document. The mode stays on in the
        // browser, so each render window is asked once.
        for (TWindowId content : chromiumContent_) {
            if (requested_.count(content) != 0) continue;
            if (requested_.size() >= kMaxRememberedWindows) requested_.clear();
            requested_.insert(content);
            windows_.RequestAccessibility(content);
        }
    }
    LastAddressRead =
        addressReader_.Read(window, Address, CloseMode ? kCloseWalkBudget : kAddressWalkBudget,
                            windowClass == kChromiumWindowClass ? chromiumContent_ : std::vector<TWindowId>());
}

void TZuravoZazoApplication::TraceNoAddress(TWindowId window) {
    // The scan is charged to nothing: the trace tells why, once per window.
    if (toldNoAddress_.count(window) != 0) return;
    if (toldNoAddress_.size() >= kMaxRememberedWindows) toldNoAddress_.clear();
    toldNoAddress_.insert(window);
    const char* problem = AddressReadProblem(LastAddressRead);
    Trace("No address read from the " + ApplicationKindText(Kind) + " window " + std::to_string(window) + ": " +
          (*problem != '\0' ? std::string(problem) : std::string("the browser showed none")));
}

bool TZuravoZazoApplication::AddressVisitor(IAccessibleObject& object, void* data, int /*depth*/) {
    auto& self = *static_cast<TZuravoZazoApplication*>(data);
    // Only text objects can hold the address: the value of any other object
    // would be read across processes for nothing.
    const std::optional<std::int32_t> role = object.Role();
    if (!role || *role != kRoleSystemText) return true;
    const std::string value = object.Value().value_or(std::string());
    if (!HasAddressScheme(value)) return true;
    if (self.Kind == akFirefox) {
        self.Address = value;
        return false;
    }
    if (self.Kind == akOpera) {
        const std::optional<std::int32_t> state = object.State();
        if (state && *state == kOperaAddressState) {
            self.Address = value;
            return false;
        }
    }
    return true;
}

}  // namespace vh
