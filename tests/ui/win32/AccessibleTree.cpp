#include "AccessibleTree.h"

#include <oleacc.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "common/Exceptions.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Utf16.h"
#include "ui/win32/toolkit/Form.h"

namespace vh::win32::testing {

TReaderRun RunAccessibleReader(const std::string& readerPath, const std::wstring& arguments) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "vh_accessible_reader";
    std::filesystem::create_directories(folder);
    // A file of each run's own: a reader that hung and was ended must not
    // hold the next one's file.
    static int runs = 0;
    const std::filesystem::path outputFile =
        folder / ("tree-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++runs) + ".txt");
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    UniqueFileHandle output(CreateFileW(outputFile.wstring().c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!output) throw Exception("the reader's output file could not be created");
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output.Get();
    startup.hStdError = output.Get();
    std::wstring command = L"\"" + Utf8ToWide(readerPath) + L"\" " + arguments;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
        throw Exception("the accessible reader could not be started");
    }
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    output.Reset();
    TReaderRun run;
    const DWORD deadline = GetTickCount() + 30000;
    bool ended = false;
    while (!ended && GetTickCount() < deadline) {
        ended = MsgWaitForMultipleObjects(1, &info.hProcess, FALSE, 100, QS_ALLINPUT) == WAIT_OBJECT_0;
        if (!ended) ProcessMessages();
    }
    if (!ended) {
        // Hung (a call into a window that never answered): ended, its read lost.
        TerminateProcess(process.Get(), 1);
        WaitForSingleObject(process.Get(), 5000);
    }
    GetExitCodeProcess(process.Get(), &run.exitCode);
    {
        std::ifstream in(outputFile);
        std::stringstream text;
        text << in.rdbuf();
        run.output = text.str();
    }
    std::error_code ignored;
    std::filesystem::remove(outputFile, ignored);
    return run;
}

std::vector<std::vector<TreeEntry>> ParseReads(const std::string& output) {
    std::vector<std::vector<TreeEntry>> reads;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::vector<std::string> fields;
        std::istringstream cells(line);
        std::string cell;
        while (std::getline(cells, cell, '\t')) fields.push_back(cell);
        if (fields.size() >= 1 && fields[0] == "read") reads.emplace_back();
        if (fields.size() >= 7 && !reads.empty()) {
            reads.back().push_back({std::stol(fields[1]), fields[2], fields[3], fields[5], std::stol(fields[4])});
        }
    }
    return reads;
}

const TreeEntry* Find(const std::vector<TreeEntry>& read, const std::string& name, bool withValue) {
    for (const TreeEntry& entry : read) {
        if (entry.name == name && (!withValue || !entry.value.empty())) return &entry;
    }
    return nullptr;
}

std::map<std::string, std::string> AccessibleTexts(const std::string& readerPath, HWND window) {
    std::map<std::string, std::string> texts;
    const TReaderRun run =
        RunAccessibleReader(readerPath, std::to_wstring(reinterpret_cast<INT_PTR>(window)) + L" 1 0");
    const auto reads = ParseReads(run.output);
    if (reads.empty()) texts["<output>"] = run.output;
    for (const auto& read : reads)
        for (const auto& entry : read) texts[entry.name] = entry.value;
    return texts;
}

std::vector<TreeEntry> ReadTree(const std::string& readerPath, HWND window) {
    const TReaderRun run =
        RunAccessibleReader(readerPath, std::to_wstring(reinterpret_cast<INT_PTR>(window)) + L" 1 0");
    auto reads = ParseReads(run.output);
    return reads.empty() ? std::vector<TreeEntry>{} : std::move(reads[0]);
}

std::string FocusedName(const std::string& readerPath, HWND window) {
    for (const auto& entry : ReadTree(readerPath, window))
        if (entry.state >= 0 && (entry.state & STATE_SYSTEM_FOCUSED)) return entry.name;
    return std::string();
}

bool TabUntilFocused(const std::string& readerPath, HWND window, const std::string& name,
                     std::vector<std::string>* visited, int maxTabs) {
    for (int i = 0; i < maxTabs; ++i) {
        PostMessageW(window, WM_KEYDOWN, VK_TAB, 0);
        // The reader, a process of its own, starts long after the key was handled.
        const std::string focused = FocusedName(readerPath, window);
        if (visited) visited->push_back(focused);
        if (focused == name) return true;
    }
    return false;
}

namespace {

// The window that has the keyboard focus in `window`'s thread, which may be
// another process's (as the system tells any process).
HWND KeyboardFocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

}  // namespace

bool TabUntilWindowFocused(HWND window, HWND target, int maxTabs) {
    for (int i = 0; i < maxTabs; ++i) {
        const HWND before = KeyboardFocusOf(window);
        PostMessageW(window, WM_KEYDOWN, VK_TAB, 0);
        // Between window-less controls the focus stays with the window: a
        // press that moves it elsewhere shows within moments.
        for (int wait = 0; wait < 15; ++wait) {
            Sleep(20);
            const HWND now = KeyboardFocusOf(window);
            if (now == target) return true;
            if (now != before) break;
        }
    }
    return false;
}

void TypeText(HWND target, const std::wstring& text) {
    for (const wchar_t c : text) PostMessageW(target, WM_CHAR, c, 1);
}

}  // namespace vh::win32::testing
