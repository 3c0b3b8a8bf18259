#include "ui/win32/skin/DialogRoutines.h"

#include <shellapi.h>

#include "common/Exceptions.h"
#include "common/ScopeExit.h"
#include "platform/win32/Utf16.h"
#include "ui/FormRules.h"
#include "ui/WebAddress.h"

#ifndef VH_PRODUCT_WEB_SITE
#error "VH_PRODUCT_WEB_SITE must name the product web site"
#endif

namespace vh::win32 {
namespace {

std::function<void(const std::string&)>& WebOpener() {
    static std::function<void(const std::string&)> opener;
    return opener;
}

}  // namespace

std::string ProductWebPage(const std::string& page) {
    return std::string(VH_PRODUCT_WEB_SITE) + page;
}

void SetWebAddressOpenerForTesting(std::function<void(const std::string&)> opener) {
    WebOpener() = std::move(opener);
}

void OpenWebAddress(const std::string& address) {
    const std::string url = WebAddressForShell(address);
    if (WebOpener()) {
        WebOpener()(url);
        return;
    }
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", Utf8ToWide(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32)
        throw Exception("The web page " + url + " could not be opened (error " + std::to_string(result) + ")");
}

void SetFormTransparency(TForm& form, int percent) {
    const FormTransparency transparency = TransparencyFromPercent(percent);
    form.SetAlphaBlend(transparency.alphaBlend, transparency.alpha);
}

void SetFormTextColor(TForm& form, COLORREF color) {
    for (const auto& control : form.Controls()) {
        auto* label = dynamic_cast<TLabel*>(control.get());
        if (label && label->Font().color != form.Font.color) label->SetFontColor(color);
    }
    // The ring around the focused button stands out as the texts do.
    form.SetFocusCueColor(color);
    form.Invalidate();
}

void PadListWithBlankRows(TForm&, TListBox& list) {
    int filled = 0;
    const int count = list.Count();
    for (int i = 0; i < count; ++i) {
        if (!list.Item(i).empty()) ++filled;
    }
    const int blanks = BlankRowsToPad(list.BoundsRect().Height(), list.ItemHeight(), filled, count - filled);
    if (blanks <= 0) return;
    list.BeginUpdate();
    const ScopeExit endUpdate([&list] { list.EndUpdate(); });
    for (int i = 0; i < blanks; ++i) list.AddItem("");
}

}  // namespace vh::win32
