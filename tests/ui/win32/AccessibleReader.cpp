// Reads a window's client accessible tree as another process does (a screen
// reader, a test tool) and prints it, one child per line:
//   id <TAB> role <TAB> name <TAB> value <TAB> state <TAB> default action <TAB> left,top,width,height
// Usage: accessible_reader HWND READS INTERVAL_MS [PRESS_NAME]
// Between reads it waits INTERVAL_MS; after the last it runs the default
// action of the child named PRESS_NAME, if given. Exit code 0 on success.
#include <oleacc.h>
#include <windows.h>
#include <wrl/client.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/win32/Utf16.h"

namespace {

using Microsoft::WRL::ComPtr;

// Takes the text a call answered and frees it.
std::string Text(HRESULT hr, BSTR text) {
    std::string result = SUCCEEDED(hr) && text ? vh::win32::WideToUtf8(std::wstring(text, SysStringLen(text))) : "";
    SysFreeString(text);
    return result;
}

VARIANT Child(long id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

bool PrintTree(IAccessible& root, const std::string& press) {
    long count = 0;
    if (FAILED(root.get_accChildCount(&count))) return false;
    BSTR rootName = nullptr;
    const HRESULT rootHr = root.get_accName(Child(CHILDID_SELF), &rootName);
    std::printf("0\tclient\t%s\n", Text(rootHr, rootName).c_str());
    long pressId = 0;
    for (long id = 1; id <= count; ++id) {
        const VARIANT child = Child(id);
        VARIANT role;
        VariantInit(&role);
        VARIANT state;
        VariantInit(&state);
        root.get_accRole(child, &role);
        root.get_accState(child, &state);
        BSTR name = nullptr;
        BSTR value = nullptr;
        BSTR action = nullptr;
        const HRESULT nameHr = root.get_accName(child, &name);
        const HRESULT valueHr = root.get_accValue(child, &value);
        const HRESULT actionHr = root.get_accDefaultAction(child, &action);
        const std::string nameText = Text(nameHr, name);
        const std::string valueText = Text(valueHr, value);
        const std::string actionText = Text(actionHr, action);
        long left = 0, top = 0, width = 0, height = 0;
        root.accLocation(&left, &top, &width, &height, child);
        std::printf("%ld\t%ld\t%s\t%s\t%ld\t%s\t%ld,%ld,%ld,%ld\n", id, role.vt == VT_I4 ? role.lVal : -1,
                    nameText.c_str(), valueText.c_str(), state.vt == VT_I4 ? state.lVal : -1, actionText.c_str(), left,
                    top, width, height);
        if (!press.empty() && nameText == press) pressId = id;
    }
    std::fflush(stdout);
    if (!press.empty()) {
        if (pressId == 0 || FAILED(root.accDoDefaultAction(Child(pressId)))) return false;
        std::printf("pressed\t%s\n", press.c_str());
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) return 2;
    const auto window = reinterpret_cast<HWND>(static_cast<INT_PTR>(std::strtoll(argv[1], nullptr, 10)));
    const int reads = std::atoi(argv[2]);
    const int interval = std::atoi(argv[3]);
    const std::string press = argc > 4 ? argv[4] : "";
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 3;
    int result = 0;
    {
        ComPtr<IAccessible> root;
        if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                              reinterpret_cast<void**>(root.GetAddressOf()))) ||
            !root) {
            result = 4;
        }
        for (int i = 0; result == 0 && i < reads; ++i) {
            if (i > 0) Sleep(static_cast<DWORD>(interval));
            std::printf("read\t%d\n", i);
            if (!PrintTree(*root.Get(), i + 1 == reads ? press : std::string())) result = 5;
        }
    }
    CoUninitialize();
    return result;
}
