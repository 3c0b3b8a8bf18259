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
// firefox.exe): chromium: a "Chrome_WidgetWin_1" window with a
// "Chrome_RenderWidgetHostHWND" child; its tree of about 500 objects appears
// only once the child was sent WM_GETOBJECT, and a moment later. gecko: a
// "MozillaWindowClass" window with its tree of about 500 objects. The
// document holds the address, the toolbar's field shows it without
// "https://"; WM_COPYDATA with a UTF-16 address navigates there.
// WM_CLOSE ends the program with 0; WM_APP + 1 to the top-level window
// answers how many accessibility calls the trees have served.

#include <objbase.h>
#include <oleacc.h>
#include <shellapi.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "doubles/win32/FakeAccessibleServer.h"

namespace {

using vh::testing::win32::FakeAccessibleNode;
using vh::testing::win32::FakeBrowserTree;

FakeAccessibleNode* gTree = nullptr;
// Today's browsers: their tree, and what the window answers before it is built.
std::unique_ptr<FakeBrowserTree> gBrowserTree;
Microsoft::WRL::ComPtr<FakeAccessibleNode> gEmptyTree;
bool gTreeBuilt = false;
bool gTreeRequested = false;

// Answered with the number of accessibility calls served so far.
constexpr UINT kCallCountMessage = WM_APP + 1;
constexpr UINT_PTR kTreeBuiltTimer = 1;
// How long Chromium takes to build its tree once asked (about 100 ms is reported).
constexpr UINT kTreeBuildMs = 150;

LRESULT Navigate(const COPYDATASTRUCT* data) {
    if (data == nullptr || !gBrowserTree || data->cbData % sizeof(wchar_t) != 0) return FALSE;
    gBrowserTree->Navigate(std::wstring(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t)));
    return TRUE;
}

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
        case kCallCountMessage: return FakeAccessibleNode::Calls();
        case WM_GETOBJECT:
            if (gBrowserTree) {
                FakeAccessibleNode* root = gTreeBuilt ? gBrowserTree->Root() : gEmptyTree.Get();
                if (LRESULT answer = vh::testing::win32::AnswerGetObject(root, wParam, lParam)) return answer;
            }
            break;
        case WM_TIMER:
            if (wParam == kTreeBuiltTimer) {
                KillTimer(window, kTreeBuiltTimer);
                gTreeBuilt = true;
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
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT && gBrowserTree) {
        if (!gTreeRequested) {
            gTreeRequested = true;
            SetTimer(GetParent(window), kTreeBuiltTimer, kTreeBuildMs, nullptr);
        }
        if (gTreeBuilt) return vh::testing::win32::AnswerGetObject(gBrowserTree->Document(), wParam, lParam);
        return 0;
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
    int count = 0;
    wchar_t** values;
};

}  // namespace

int main() {
    const ArgumentList arguments;
    const std::wstring kind = arguments.At(1);
    const std::wstring title = arguments.At(2);
    const std::wstring address = arguments.At(3);
    const int depth = arguments.count > 4 ? _wtoi(arguments.At(4).c_str()) : 4;
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
        gBrowserTree = std::make_unique<FakeBrowserTree>(
            chromium ? FakeBrowserTree::TFamily::Chromium : FakeBrowserTree::TFamily::Firefox, address);
        gEmptyTree = FakeAccessibleNode::Create(ROLE_SYSTEM_WINDOW);
        gTreeBuilt = gecko;
    }
    // The title comes last, once the children are there: tests wait for it.
    HWND frame = CreateWindowExW(0, frameClass, L"starting", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 400, 300,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (frame == nullptr) return 4;
    if (chromium) {
        Child(frame, L"Static", L"Intermediate D3D Window", 0);
        Child(frame, L"Chrome_RenderWidgetHostHWND", L"", 30);
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
    gBrowserTree.reset();
    gEmptyTree.Reset();
    CoUninitialize();
    return static_cast<int>(message.wParam);
}
