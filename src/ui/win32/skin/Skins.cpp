#include "ui/win32/skin/Skins.h"

#include <windows.h>

#include <memory>
#include <utility>

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
        return WideToUtf8(path) + "Graphics\\";
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
        const std::pair<TPicture TSkinSet::*, const char*> files[] = {
            {&TSkinSet::header, "header"},
            {&TSkinSet::body, "body"},
            {&TSkinSet::button, "button"},
            {&TSkinSet::buttonSelected, "button_selected"},
            {&TSkinSet::buttonDowned, "button_downed"},
            {&TSkinSet::panelFrame, "panel"},
            {&TSkinSet::comboButton, "combo_button"},
            {&TSkinSet::comboButtonSelected, "combo_button_selected"},
            {&TSkinSet::comboButtonDowned, "combo_button_downed"},
            {&TSkinSet::tick, "tick"},
            {&TSkinSet::check, "check"},
            {&TSkinSet::icon, "icon"},
            {&TSkinSet::viewButton, "view_button"},
            {&TSkinSet::linksButton, "links_button"},
            {&TSkinSet::minimizeButton, "minimize_button"},
            {&TSkinSet::columnHead, "column_head"},
            {&TSkinSet::addButton, "add_button"},
            {&TSkinSet::deleteButton, "delete_button"},
        };
        for (const auto& [member, name] : files) Load((*set).*member, name);
        skins = std::move(set);
    }
    return *skins;
}

}  // namespace vh::win32
