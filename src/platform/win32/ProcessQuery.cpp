#include "platform/win32/ProcessQuery.h"

#include <windows.h>

#include <oleauto.h>
#include <wbemidl.h>
#include <wrl/client.h>

#include "common/Exceptions.h"
#include "platform/win32/ComApartment.h"
#include "platform/win32/Handles.h"
#include "platform/win32/SystemErrorText.h"
#include "platform/win32/Utf16.h"
#include "platform/win32/Variant.h"

namespace vh::win32 {

namespace {

using Microsoft::WRL::ComPtr;

void Check(HRESULT hr, const char* what) {
    if (FAILED(hr)) throw EOSError(static_cast<std::uint32_t>(hr), std::string(what) + ": " + SystemErrorText(hr));
}

class UniqueBstr {
public:
    explicit UniqueBstr(const std::wstring& text) : value_(SysAllocString(text.c_str())) {
        if (!value_) throw std::bad_alloc();
    }
    ~UniqueBstr() { SysFreeString(value_); }
    UniqueBstr(const UniqueBstr&) = delete;
    UniqueBstr& operator=(const UniqueBstr&) = delete;
    BSTR Get() const noexcept { return value_; }

private:
    BSTR value_;
};

// The image path of a process; empty when it cannot be opened.
std::string ProcessImagePath(DWORD processId) {
    UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return std::string();
    std::vector<wchar_t> path(32768);
    DWORD length = static_cast<DWORD>(path.size());
    if (!QueryFullProcessImageNameW(process.Get(), 0, path.data(), &length)) return std::string();
    return WideToUtf8(std::wstring_view(path.data(), length));
}

}  // namespace

std::vector<std::string> ProcessQuery::ExecutablePaths(const std::string& computer) {
    ComApartment apartment;
    ComPtr<IWbemLocator> locator;
    Check(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&locator)),
          "Cannot create the management locator");
    const std::wstring path = computer.empty() ? L"root\\cimv2" : L"\\\\" + Utf8ToWide(computer) + L"\\root\\cimv2";
    ComPtr<IWbemServices> services;
    const UniqueBstr resource(path);
    Check(locator->ConnectServer(resource.Get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr, &services),
          "Cannot connect to the management service");
    // The calls go out under the caller's identity.
    CoSetProxyBlanket(services.Get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                      RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);

    const UniqueBstr language(L"WQL");
    const UniqueBstr query(L"SELECT ExecutablePath, ProcessId FROM Win32_Process");
    ComPtr<IEnumWbemClassObject> objects;
    Check(services->ExecQuery(language.Get(), query.Get(), WBEM_FLAG_FORWARD_ONLY, nullptr, &objects),
          "Cannot list the running processes");

    std::vector<std::string> paths;
    for (;;) {
        ComPtr<IWbemClassObject> object;
        ULONG returned = 0;
        const HRESULT hr = objects->Next(static_cast<LONG>(WBEM_INFINITE), 1, &object, &returned);
        Check(hr, "Cannot read the running processes");
        if (returned == 0) break;
        UniqueVariant value;
        const HRESULT read = object->Get(L"ExecutablePath", 0, value.Put(), nullptr, nullptr);
        if (SUCCEEDED(read)) {
            const VARIANT& text = value.Get();
            if (text.vt == VT_BSTR && text.bstrVal && SysStringLen(text.bstrVal) > 0)
                paths.push_back(WideToUtf8(std::wstring_view(text.bstrVal, SysStringLen(text.bstrVal))));
            continue;
        }
        if (read != static_cast<HRESULT>(WBEM_E_NOT_FOUND)) Check(read, "Cannot read a process's path");
        // A service without the property (Wine's) still names the process.
        UniqueVariant id;
        Check(object->Get(L"ProcessId", 0, id.Put(), nullptr, nullptr), "Cannot read a process's id");
        UniqueVariant number;
        if (SUCCEEDED(VariantChangeType(number.Put(), const_cast<VARIANT*>(&id.Get()), 0, VT_UI4))) {
            std::string image = ProcessImagePath(number.Get().ulVal);
            if (!image.empty()) paths.push_back(std::move(image));
        }
    }
    return paths;
}

}  // namespace vh::win32
