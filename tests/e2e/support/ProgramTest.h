#pragma once
// The fixture of end-to-end tests that run the real program from a private
// folder: its application-data folder cleaned before and after, the
// ready-made databases with Wine's notepad on the list, settings and today's
// log written as the program keeps them, the activity log's notepad rows, and
// the end of the program through "uninstall.flag".

#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "support/E2eSupport.h"

namespace vh::e2e {

inline constexpr char kNotepadPath[] = "C:\\windows\\system32\\notepad.exe";

struct LogRow {
    std::string app;
    std::string type;
    long long duration;
    long long origin;
    std::string url;
};

// The titles of a process's top-level windows, to explain a failure.
std::string WindowTitles(DWORD processId);

class ProgramTest : public ::testing::Test {
protected:
    ProgramTest();
    ~ProgramTest() override;

    std::filesystem::path AppData(const wchar_t* name) const;

    // The ready-made databases in the application-data folder, past the first
    // start, with notepad on the list.
    void PrepareListedNotepad();
    // A web site on the list, beside what is there.
    void ListWebSite(const std::string& name);
    // A row of the settings table, as the options store it.
    void SetSetting(const std::string& name, const std::string& value);
    // Notepad used for `seconds` today, logged a minute ago.
    void LogNotepadToday(int seconds);

    std::vector<LogRow> NotepadRows() const;
    // The activity log's rows that meet the SQL condition, in the order written.
    std::vector<LogRow> LogRows(const std::string& condition) const;
    std::size_t WaitForRows(std::size_t count, std::chrono::milliseconds timeout) const;

    // Ends the program through the flag file, as the uninstaller does.
    void EndThroughFlag(const RunningProgram& program);

    TempFolder folder_;
    std::filesystem::path exe_;
};

}  // namespace vh::e2e
