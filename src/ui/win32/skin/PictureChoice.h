#pragma once
// The background picture choice: a drop-down list of "Custom...", the skin
// pictures by name and "<No Image>", with a "Browse..." button shown while
// "Custom..." is selected; browsing runs the open-picture dialog.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "storage/AppearancePreferences.h"
#include "ui/win32/toolkit/ImageControls.h"
#include "ui/win32/toolkit/NativeControls.h"

namespace vh::win32 {

// The open dialog for a picture file (opdBackground).
class TOpenPictureDialog {
public:
    std::string InitialDir;
    std::string FileName;
    // True when a file was chosen (then in FileName).
    bool Execute(HWND owner);
};

// Tests answer for the dialog: the chosen path, or none for Cancel.
using TOpenPictureRunner = std::function<std::optional<std::string>(HWND owner, const std::string& initialDir)>;
void SetOpenPictureDialogForTesting(TOpenPictureRunner runner);

class TPictureChoice {
public:
    TPictureChoice(TComboBox& list, TImageButton& browse, TOpenPictureDialog& dialog);

    // Fills the list and selects the current picture's item.
    void Fill(std::vector<TSkin> skins, const std::string& currentPath, bool currentExists);
    // Selects an item as the user would (applying it).
    void Choose(int index);
    // The list's change: a skin or none is applied, "Custom..." browses.
    void Changed();
    // "Browse...": a skin's file selects that skin, any other file is used.
    void Browse();

    // The background picture the user chose; empty for none.
    std::function<void(const std::string& path)> OnPicture;

private:
    void ShowBrowse();
    TComboBox& list_;
    TImageButton& browse_;
    TOpenPictureDialog& dialog_;
    std::vector<TSkin> skins_;
};

}  // namespace vh::win32
