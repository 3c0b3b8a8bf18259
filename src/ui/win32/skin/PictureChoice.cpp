#include "ui/win32/skin/PictureChoice.h"

#include <commdlg.h>

#include "platform/win32/Utf16.h"
#include "ui/presenters/PictureChoiceRules.h"
#include "ui/win32/toolkit/Form.h"

namespace vh::win32 {
namespace {

TOpenPictureRunner& OpenPictureOverride() {
    static TOpenPictureRunner runner;
    return runner;
}

// "All pictures" with every extension the picture loader reads.
std::wstring PictureFilter() {
    std::string masks;
    for (const std::string& mask : PictureFileMasks()) masks += (masks.empty() ? "" : ";") + mask;
    std::wstring filter = L"All pictures (" + Utf8ToWide(masks) + L")";
    filter.push_back(L'\0');
    filter += Utf8ToWide(masks);
    filter.push_back(L'\0');
    return filter;  // a second terminator follows from c_str()
}

}  // namespace

void SetOpenPictureDialogForTesting(TOpenPictureRunner runner) {
    OpenPictureOverride() = std::move(runner);
}

bool TOpenPictureDialog::Execute(HWND owner) {
    std::optional<std::string> chosen;
    if (OpenPictureOverride()) {
        chosen = OpenPictureOverride()(owner, InitialDir);
    } else {
        std::wstring file(32768, L'\0');
        const std::wstring filter = PictureFilter();
        const std::wstring initialDir = Utf8ToWide(InitialDir);
        OPENFILENAMEW open{};
        open.lStructSize = sizeof(open);
        open.hwndOwner = owner;
        open.lpstrFilter = filter.c_str();
        open.lpstrFile = file.data();
        open.nMaxFile = static_cast<DWORD>(file.size());
        open.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
        open.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
        if (GetOpenFileNameW(&open)) chosen = WideToUtf8(file.c_str());
    }
    if (!chosen) return false;
    FileName = *chosen;
    return true;
}

TPictureChoice::TPictureChoice(TComboBox& list, TImageButton& browse, TOpenPictureDialog& dialog)
    : list_(list), browse_(browse), dialog_(dialog) {}

void TPictureChoice::Fill(std::vector<TSkin> skins, const std::string& currentPath, bool currentExists) {
    skins_ = std::move(skins);
    SendMessageW(list_.Handle(), CB_RESETCONTENT, 0, 0);
    for (const std::string& item : ImageChoiceItems(skins_)) list_.AddItem(item);
    list_.SetItemIndex(ImageChoiceIndex(skins_, currentPath, currentExists));
    ShowBrowse();
}

void TPictureChoice::Choose(int index) {
    list_.SetItemIndex(index);
    Changed();
}

void TPictureChoice::Changed() {
    ShowBrowse();
    const int index = list_.ItemIndex();
    if (index == 0) {
        Browse();
    } else if (index > 0 && index <= static_cast<int>(skins_.size())) {
        if (OnPicture) OnPicture(skins_[static_cast<std::size_t>(index - 1)].Path);
    } else if (index > 0) {
        if (OnPicture) OnPicture("");
    }
}

void TPictureChoice::Browse() {
    if (!dialog_.Execute(list_.Form().Handle())) return;
    const int skin = SkinChoiceIndexOfPath(skins_, dialog_.FileName);
    if (skin > 0) {
        Choose(skin);
    } else if (OnPicture) {
        OnPicture(dialog_.FileName);
    }
}

void TPictureChoice::ShowBrowse() {
    browse_.SetVisible(list_.ItemIndex() == 0);
}

}  // namespace vh::win32
