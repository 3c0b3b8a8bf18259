#pragma once
// A window's accessible tree read from another process (accessible_reader),
// as screen readers read it, for tests of the toolkit and of the real program.

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace vh::win32::testing {

struct TReaderRun {
    DWORD exitCode = 0xFFFFFFFF;
    std::string output;
};

// Runs the reader program with `arguments` and waits for it while this thread
// answers the calls it makes into this process's windows.
TReaderRun RunAccessibleReader(const std::string& readerPath, const std::wstring& arguments);

struct TreeEntry {
    long role = -1;
    std::string name, value, action;
    long state = -1;
};

// The entries of each read of the tree ("read <n>" starts each).
std::vector<std::vector<TreeEntry>> ParseReads(const std::string& output);

// The first entry of that name (with a value, when asked); nullptr for none.
const TreeEntry* Find(const std::vector<TreeEntry>& read, const std::string& name, bool withValue = false);

// One read of a window's client's accessible children by another process
// (a list box's are its rows); empty when nothing was read.
std::vector<TreeEntry> ReadTree(const std::string& readerPath, HWND window);

// The accessible children of a window's client as another process reads
// them: name -> value (empty for texts without a value). When nothing was
// read, "<output>" holds what the reader printed.
std::map<std::string, std::string> AccessibleTexts(const std::string& readerPath, HWND window);

// The name of the window-less control that another process's read of the
// tree says has the focus (STATE_SYSTEM_FOCUSED); empty for none.
std::string FocusedName(const std::string& readerPath, HWND window);

// Posts Tab to `window`, as a keyboard would send it, until that read says
// the control named `name` has the focus; the names passed on the way (empty
// for a native control) go to `visited`. False after `maxTabs` presses.
bool TabUntilFocused(const std::string& readerPath, HWND window, const std::string& name,
                     std::vector<std::string>* visited = nullptr, int maxTabs = 20);

// Posts Tab to `window` until its native child `target` has the keyboard
// focus. False after `maxTabs` presses.
bool TabUntilWindowFocused(HWND window, HWND target, int maxTabs = 20);

// Posts each character of `text` to `target` as typed keys (WM_CHAR) arrive.
void TypeText(HWND target, const std::wstring& text);

}  // namespace vh::win32::testing
