// A stand-in browser for the probe's end-to-end tests: one top-level window
// whose child windows carry a browser family's classes, showing an address
// the way that family does.
//
//   FakeBrowser.exe ie|chrome|firefox TITLE ADDRESS [DEPTH]
//
// ie: an "Edit" before an "Address Band Root" whose own "Edit" shows the
// address. chrome: a "Chrome_AutocompleteEditView" with the address as its
// text. firefox: a "MozillaWindowClass" child answering WM_GETOBJECT with an
// accessibility tree DEPTH levels deep (4 by default, about 200 objects)
// whose last object holds the address. WM_CLOSE ends the program with 0;
// WM_APP + 1 to the top-level window answers how many accessibility calls
// the tree has served.

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

FakeAccessibleNode* gTree = nullptr;

// Answered with the number of accessibility calls served so far.
constexpr UINT kCallCountMessage = WM_APP + 1;

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == kCallCountMessage) return FakeAccessibleNode::Calls();
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
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
    if (kind != L"ie" && kind != L"chrome" && kind != L"firefox") return 2;

    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 3;
    Register(L"VhFakeBrowserFrame", &FrameProc);
    Register(L"Address Band Root", &ContentProc);
    Register(L"Chrome_AutocompleteEditView", &ContentProc);
    Register(L"MozillaWindowClass", &ContentProc);

    Microsoft::WRL::ComPtr<FakeAccessibleNode> tree;
    // The title comes last, once the children are there: tests wait for it.
    HWND frame = CreateWindowExW(0, L"VhFakeBrowserFrame", L"starting", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 400,
                                 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (frame == nullptr) return 4;
    if (kind == L"ie") {
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
    CoUninitialize();
    return static_cast<int>(message.wParam);
}
