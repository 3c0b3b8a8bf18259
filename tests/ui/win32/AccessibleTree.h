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

// The accessible children of a window's client as another process reads
// them: name -> value (empty for texts without a value). When nothing was
// read, "<output>" holds what the reader printed.
std::map<std::string, std::string> AccessibleTexts(const std::string& readerPath, HWND window);

}  // namespace vh::win32::testing
