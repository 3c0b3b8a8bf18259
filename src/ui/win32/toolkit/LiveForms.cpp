// The live forms (each owned here until it is released) and the dispatch of
// messages that gives a form its shortcuts first.
#include <algorithm>

#include "ui/win32/toolkit/Form.h"

namespace vh::win32 {
namespace {

std::vector<std::unique_ptr<TForm>>& Forms() {
    static std::vector<std::unique_ptr<TForm>> forms;
    return forms;
}

}  // namespace

void AdoptForm(std::unique_ptr<TForm> form) {
    Forms().push_back(std::move(form));
}

void FreeForm(TForm* form) noexcept {
    auto& forms = Forms();
    const auto it = std::find_if(forms.begin(), forms.end(), [&](const auto& f) { return f.get() == form; });
    if (it == forms.end()) return;
    std::unique_ptr<TForm> doomed = std::move(*it);
    forms.erase(it);
    doomed.reset();
}

std::vector<TForm*> LiveForms() {
    std::vector<TForm*> result;
    for (const auto& form : Forms()) result.push_back(form.get());
    return result;
}

void DispatchFormMessage(const MSG& message) {
    if (TForm* form = TForm::FromHandle(GetAncestor(message.hwnd, GA_ROOT));
        form && form->PreTranslateMessage(message)) {
        return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

void ProcessMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        DispatchFormMessage(message);
    }
}

}  // namespace vh::win32
