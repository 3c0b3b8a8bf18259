// A stand-in browser for the probe's end-to-end tests: one top-level window
// whose child windows carry a browser family's classes, showing an address
// the way that family does.
//
//   FakeBrowser.exe ie|chrome|firefox|chromium|gecko TITLE ADDRESS [DEPTH]
//
// ie: an "Edit" before an "Address Band Root" whose own "Edit" shows the
// address. chrome: a "Chrome_AutocompleteEditView" with the address as its
// text. firefox: a "MozillaWindowClass" child answering WM_GETOBJECT with an
// accessibility tree DEPTH levels deep (4 by default, about 200 objects)
// whose last object holds the address.
// Today's browsers, to be run under their image names (msedge.exe,
// firefox.exe), each as the browser's own sources say it behaves (the file
// beside each behaviour below):
//   chromium: a "Chrome_WidgetWin_1" window answering OBJID_CLIENT with the
//   tree of its interface at once; a "Chrome_RenderWidgetHostHWND" child
//   titled "Chrome Legacy Window" answering OBJID_CLIENT with the page's
//   document, empty until it was sent WM_GETOBJECT with object id 1 and a
//   name was read, filled a moment later.
//   gecko: a "MozillaWindowClass" window whose tree starts on the first call
//   but its role; the tabs' documents come a moment later, the background
//   tabs' offscreen.
// Options after the address, one risk each:
//   --devtools          (chromium) DevTools docked: its render window and document come first
//   --vivaldi           (chromium) the interface is a document holding the page's
//   --typing=TEXT       (chromium) the user types TEXT into the omnibox, which has the focus
//   --build-ms=N        how long the documents take to come once started (150 by default)
//   --latency=N         each accessibility call takes N ms
//   --start-cost=N      the first accessibility call takes N ms more
//   --background=URL    (gecko) a background tab (repeatable; two by default)
// WM_COPYDATA with a UTF-16 address navigates the shown tab there; WM_APP + 2
// with a tab's index (the background tabs first) shows that tab.
// WM_CLOSE ends the program with 0; WM_APP + 1 to the top-level window
// answers how many accessibility calls the trees have served.

#include <objbase.h>
#include <oleacc.h>
#include <shellapi.h>
#include <windows.h>

#include <cwctype>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "doubles/win32/FakeAccessibleServer.h"

namespace {

using vh::testing::win32::FakeAccessibleNode;
using vh::testing::win32::FakeBrowserTree;

using vh::testing::win32::FakeBrowserOptions;

FakeAccessibleNode* gTree = nullptr;
// Today's browsers: their tree and its state.
std::unique_ptr<FakeBrowserTree> gBrowserTree;
HWND gFrame = nullptr;
bool gChromium = false;
bool gScreenReaderAsked = false;  // Chromium: WM_GETOBJECT with object id 1 came
bool gNameRead = false;
bool gBuildStarted = false;
UINT gBuildMs = 150;

// Answered with the number of accessibility calls served so far.
constexpr UINT kCallCountMessage = WM_APP + 1;
constexpr UINT kSwitchTabMessage = WM_APP + 2;
constexpr UINT_PTR kTreeBuiltTimer = 1;
// Chromium's render window's object id of a screen reader's request
// (content/browser/renderer_host/legacy_render_widget_host_win.cc, kIdScreenReaderHoneyPot).
constexpr LONG kScreenReaderObjectId = 1;
// What each render window shows, in GWLP_USERDATA.
enum TRenderWindow : LONG_PTR { kPageWindow, kDevToolsWindow, kInterfaceWindow };

void StartBuild() {
    if (gBuildStarted) return;
    gBuildStarted = true;
    SetTimer(gFrame, kTreeBuiltTimer, gBuildMs, nullptr);
}

// Told of every accessibility call served.
void OnCall(FakeAccessibleNode::TCall call) noexcept {
    if (gChromium) {
        // The page accessibility starts only when a client that asked with
        // object id 1 also reads a name; roles and places do not count
        // (ui/accessibility/platform/ax_platform.cc, OnScreenReaderHoneyPotQueried
        // and OnMinimalPropertiesUsed).
        if (call == FakeAccessibleNode::TCall::Name) gNameRead = true;
        if (gNameRead && gScreenReaderAsked) StartBuild();
        return;
    }
    // Firefox's lazy root answers the role itself and starts accessibility
    // on any other call (accessible/windows/msaa/LazyInstantiator.cpp);
    // the content processes' documents come later.
    if (call != FakeAccessibleNode::TCall::Role) StartBuild();
}

LRESULT Navigate(const COPYDATASTRUCT* data) {
    if (data == nullptr || !gBrowserTree || data->cbData % sizeof(wchar_t) != 0) return FALSE;
    gBrowserTree->Navigate(std::wstring(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t)));
    return TRUE;
}

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
        case kCallCountMessage: return FakeAccessibleNode::Calls();
        case kSwitchTabMessage: return gBrowserTree && gBrowserTree->SwitchTab(static_cast<size_t>(wParam));
        case WM_GETOBJECT:
            // Browsers answer their client's object; the window's own
            // (OBJID_WINDOW) they leave to the system.
            if (gBrowserTree && static_cast<LONG>(lParam) == OBJID_CLIENT)
                return LresultFromObject(__uuidof(IAccessible), wParam,
                                         static_cast<IAccessible*>(gBrowserTree->Root()));
            break;
        case WM_TIMER:
            if (wParam == kTreeBuiltTimer) {
                KillTimer(window, kTreeBuiltTimer);
                if (gBrowserTree) gBrowserTree->BuildDocuments();
                return 0;
            }
            break;
        case WM_COPYDATA: return Navigate(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Chromium's content window: the first request for its client's object has
// the browser build its tree.
LRESULT CALLBACK RenderWidgetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_GETOBJECT && gBrowserTree) {
        const auto objectId = static_cast<LONG>(lParam);
        if (objectId == kScreenReaderObjectId) {
            // Noted, answered with 0 (legacy_render_widget_host_win.cc, OnGetObject).
            gScreenReaderAsked = true;
            if (gNameRead) StartBuild();
            return 0;
        }
        if (objectId != OBJID_CLIENT) return DefWindowProcW(window, message, wParam, lParam);
        // The web contents' document, also before it is built.
        FakeAccessibleNode* document = nullptr;
        switch (GetWindowLongPtrW(window, GWLP_USERDATA)) {
            case kDevToolsWindow: document = gBrowserTree->DevToolsDocument(); break;
            case kInterfaceWindow: document = gBrowserTree->InterfaceDocument(); break;
            default: document = gBrowserTree->Document(); break;
        }
        if (document == nullptr) return 0;
        return LresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(document));
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK ContentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_GETOBJECT) {
        if (LRESULT answer = vh::testing::win32::AnswerGetObject(gTree, wParam, lParam)) return answer;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void Register(const wchar_t* name, WNDPROC procedure) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = name;
    RegisterClassW(&windowClass);
}

HWND Child(HWND parent, const wchar_t* className, const std::wstring& text, int y) {
    return CreateWindowExW(0, className, text.c_str(), WS_CHILD | WS_VISIBLE, 0, y, 380, 24, parent, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

struct ArgumentList {
    ArgumentList() : values(CommandLineToArgvW(GetCommandLineW(), &count)) {}
    ~ArgumentList() { LocalFree(values); }
    ArgumentList(const ArgumentList&) = delete;
    ArgumentList& operator=(const ArgumentList&) = delete;
    std::wstring At(int i) const { return i < count && values != nullptr ? values[i] : std::wstring(); }
    // The value of option --NAME=VALUE after the address, if given.
    std::optional<std::wstring> Option(std::wstring_view name) const {
        const std::wstring prefix = L"--" + std::wstring(name) + L"=";
        for (int i = 4; i < count; ++i)
            if (std::wstring_view(values[i]).starts_with(prefix)) return std::wstring(values[i] + prefix.size());
        return std::nullopt;
    }
    std::vector<std::wstring> Options(std::wstring_view name) const {
        const std::wstring prefix = L"--" + std::wstring(name) + L"=";
        std::vector<std::wstring> found;
        for (int i = 4; i < count; ++i)
            if (std::wstring_view(values[i]).starts_with(prefix)) found.emplace_back(values[i] + prefix.size());
        return found;
    }
    bool Flag(std::wstring_view name) const {
        for (int i = 4; i < count; ++i)
            if (std::wstring_view(values[i]) == L"--" + std::wstring(name)) return true;
        return false;
    }
    UINT Number(std::wstring_view name, UINT otherwise) const {
        const std::optional<std::wstring> value = Option(name);
        return value ? static_cast<UINT>(_wtoi(value->c_str())) : otherwise;
    }
    int count = 0;
    wchar_t** values;
};

}  // namespace

int main() {
    const ArgumentList arguments;
    const std::wstring kind = arguments.At(1);
    const std::wstring title = arguments.At(2);
    const std::wstring address = arguments.At(3);
    const int depth = arguments.count > 4 && iswdigit(arguments.At(4)[0]) ? _wtoi(arguments.At(4).c_str()) : 4;
    const bool chromium = kind == L"chromium";
    const bool gecko = kind == L"gecko";
    if (kind != L"ie" && kind != L"chrome" && kind != L"firefox" && !chromium && !gecko) return 2;

    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 3;
    const wchar_t* frameClass = chromium ? L"Chrome_WidgetWin_1"
                                : gecko  ? L"MozillaWindowClass"
                                         : L"VhFakeBrowserFrame";
    Register(frameClass, &FrameProc);
    Register(L"Address Band Root", &ContentProc);
    Register(L"Chrome_AutocompleteEditView", &ContentProc);
    if (!gecko) Register(L"MozillaWindowClass", &ContentProc);
    Register(L"Chrome_RenderWidgetHostHWND", &RenderWidgetProc);

    Microsoft::WRL::ComPtr<FakeAccessibleNode> tree;
    if (chromium || gecko) {
        FakeBrowserOptions options;
        options.DevTools = arguments.Flag(L"devtools");
        options.VivaldiInterface = arguments.Flag(L"vivaldi");
        options.Typing = arguments.Option(L"typing");
        if (std::vector<std::wstring> background = arguments.Options(L"background"); !background.empty())
            options.BackgroundTabs = std::move(background);
        gBrowserTree = std::make_unique<FakeBrowserTree>(
            chromium ? FakeBrowserTree::TFamily::Chromium : FakeBrowserTree::TFamily::Firefox, address, options);
        gChromium = chromium;
        gBuildMs = arguments.Number(L"build-ms", gBuildMs);
        FakeAccessibleNode::SetServing(arguments.Number(L"latency", 0), arguments.Number(L"start-cost", 0), &OnCall);
    }
    // The title comes last, once the children are there: tests wait for it.
    HWND frame = CreateWindowExW(0, frameClass, L"starting", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 400, 300,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (frame == nullptr) return 4;
    gFrame = frame;
    if (chromium) {
        Child(frame, L"Static", L"Intermediate D3D Window", 0);
        // Each web contents has its render window, titled "Chrome Legacy
        // Window" (legacy_render_widget_host_win.cc, InitOrDeleteSelf).
        auto renderWindow = [&](TRenderWindow shows, int y) {
            HWND render = Child(frame, L"Chrome_RenderWidgetHostHWND", L"Chrome Legacy Window", y);
            SetWindowLongPtrW(render, GWLP_USERDATA, shows);
        };
        if (gBrowserTree->InterfaceDocument() != nullptr) renderWindow(kInterfaceWindow, 30);
        if (gBrowserTree->DevToolsDocument() != nullptr) renderWindow(kDevToolsWindow, 60);
        renderWindow(kPageWindow, 90);
    } else if (gecko) {
        // Today's Firefox draws everything in its one window.
    } else if (kind == L"ie") {
        Child(frame, L"Edit", L"search the web", 0);
        HWND band = Child(frame, L"Address Band Root", L"", 30);
        Child(band, L"Edit", address, 0);
    } else if (kind == L"chrome") {
        Child(frame, L"Static", L"tab strip", 0);
        Child(frame, L"Chrome_AutocompleteEditView", address, 30);
    } else {
        tree = vh::testing::win32::MakeBrowserTree(depth, {4, 4, 3, 3}, address);
        gTree = tree.Get();
        Child(frame, L"MozillaWindowClass", L"", 30);
    }
    SetWindowTextW(frame, title.c_str());
    SetForegroundWindow(frame);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    gTree = nullptr;
    tree.Reset();
    FakeAccessibleNode::SetServing(0, 0, nullptr);
    gBrowserTree.reset();
    CoUninitialize();
    return static_cast<int>(message.wParam);
}
