#include "ui/win32/Skins.h"

#include <windows.h>

#include <memory>

#include "environment/Trace.h"
#include "platform/win32/Utf16.h"

namespace vh::win32 {
namespace {

std::string& Folder() {
    static std::string folder = [] {
        std::wstring path(MAX_PATH, L'\0');
        for (;;) {
            const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
            if (length < path.size()) {
                path.resize(length);
                break;
            }
            path.resize(path.size() * 2);
        }
        path.resize(path.find_last_of(L'\\') + 1);
        return WideToUtf8(path) + "Skins\\Controls\\";
    }();
    return folder;
}

std::unique_ptr<TSkinSet>& Loaded() {
    static std::unique_ptr<TSkinSet> skins;
    return skins;
}

void Load(TPicture& picture, const std::string& name) {
    try {
        picture.LoadFromFile(Folder() + name + ".png");
    } catch (const std::exception& e) {
        TraceException(ErrorTraceText(e, "Skins"));
    }
}

}  // namespace

std::string SkinFolder() {
    return Folder();
}

void SetSkinFolder(std::string folder) {
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
    Folder() = std::move(folder);
    Loaded().reset();
}

const TSkinSet& Skins() {
    auto& skins = Loaded();
    if (!skins) {
        auto set = std::make_unique<TSkinSet>();
        Load(set->header, "header");
        Load(set->body, "body");
        Load(set->button, "button");
        Load(set->buttonSelected, "button_selected");
        Load(set->buttonDowned, "button_downed");
        Load(set->panelFrame, "panel");
        Load(set->comboButton, "combo_button");
        Load(set->comboButtonSelected, "combo_button_selected");
        Load(set->comboButtonDowned, "combo_button_downed");
        Load(set->tick, "tick");
        Load(set->check, "check");
        Load(set->icon, "icon");
        skins = std::move(set);
    }
    return *skins;
}

}  // namespace vh::win32
