#include "model/ProgramNames.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "model/MonitoredObjects.h"
#include "support/ListEntries.h"

namespace vh {
namespace {

struct ProgramCase {
    const char* entry;
    const char* process;
    bool matches;
};

TEST(ProgramMatches, SpellingsPeopleTypeAgainstProcessPaths) {
    const ProgramCase cases[] = {
        {"C:\\Windows\\notepad.exe", "C:\\Windows\\notepad.exe", true},
        {"notepad.exe", "C:\\Windows\\System32\\notepad.exe", true},                      // bare name, any folder
        {"Excel.EXE", "C:\\Program Files\\Office\\excel.exe", true},                      // bare name, other case
        {"notepad", "C:\\Windows\\notepad.exe", true},                                    // no extension: .exe
        {"c:/windows/system32/notepad.exe", "C:\\Windows\\System32\\notepad.exe", true},  // as the prompt's example
        {"C:\\\\Windows\\\\\\notepad.exe", "C:\\Windows\\notepad.exe", true},             // doubled separators
        {"  \"C:\\Program Files\\Editor\\edit.exe\"  ", "c:\\program files\\editor\\edit.exe", true},  // quoted
        {"\\\\server\\share\\tool.exe", "\\\\SERVER\\share\\tool.exe", true},  // a UNC path keeps its pair
        {"\\server\\share\\tool.exe", "\\\\server\\share\\tool.exe", false},
        {"C:\\Windows\\notepad.exe", "D:\\Windows\\notepad.exe", false},  // a different folder
        {"C:\\Windows\\notepad.exe", "C:\\Windows\\System32\\notepad.exe", false},
        {"pad.exe", "C:\\Windows\\notepad.exe", false},  // a suffix of another name
        {"notepad.exe", "C:\\Windows\\notepad.exe.old", false},
        {"notepad.com", "C:\\Windows\\notepad.exe", false},
        {"C:\\Windows\\notepad", "C:\\Windows\\notepad.exe", false},  // only a bare name gets .exe
        {"c:notepad.exe", "C:\\Windows\\notepad.exe", false},         // relative to a drive, not bare
        {"", "C:\\Windows\\notepad.exe", false},
        {"  \"\" ", "", false},
        {"C:\\Apps\\Edit.exe", "c:\\apps\\edit.exe ", false},  // the system's path is taken as it is
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProgramMatches(c.entry, c.process), c.matches) << c.entry << " / " << c.process;
}

TEST(ProgramMatches, TwoSpellingsOfOneProgramAreOneEntry) {
    EXPECT_TRUE(SameProgram("C:/Windows/notepad.exe", "c:\\windows\\notepad.exe"));
    EXPECT_TRUE(SameProgram("Notepad", "\"notepad.EXE\""));
    EXPECT_FALSE(SameProgram("notepad.exe", "c:\\windows\\notepad.exe"));  // any folder is not one folder
    EXPECT_FALSE(SameProgram("", ""));

    // The list's look-ups, the add-check and the live match follow the rule
    // for application entries; web entries keep their plain comparison.
    TMonitoredList list;
    for (const auto& [type, name] : {std::pair{mitApplication, "c:\\windows\\notepad.exe"},
                                     std::pair{mitApplication, "calc"}, std::pair{mitWebSite, "example.com/"}})
        testing::AddListEntry(list, type, name, name, /*active=*/true, /*selected=*/true);
    EXPECT_EQ(list.IndexOfName("C:/Windows/Notepad.exe"), list.IndexOfName("c:\\windows\\notepad.exe"));
    EXPECT_GE(list.IndexOfName("CALC.exe"), 0);
    EXPECT_EQ(list.IndexOfName("example.com\\"), -1);
    EXPECT_EQ(list.Names(list.FindMatch("D:\\Tools\\Calc.exe", "").Index), "calc");
    TMonitoredItem candidate;
    candidate.ItemType = mitApplication;
    candidate.Name = "C:/Windows//notepad.exe";
    int index = -1;
    EXPECT_EQ(list.Classify(candidate, index, "C:\\Vornhalt\\Vornhalt.exe"), TClassifyCode::ActiveSelected);
    candidate.Name = "vornhalt";
    EXPECT_EQ(list.Classify(candidate, index, "C:\\Vornhalt\\Vornhalt.exe"), TClassifyCode::OwnProgram);
}

TEST(ProgramNameProblem, RefusesWhatCannotBeAProgramAndTrimsWhatCan) {
    EXPECT_EQ(ProgramNameProblem("notepad.exe"), std::nullopt);
    EXPECT_EQ(ProgramNameProblem(" \"C:\\Program Files\\Office\\excel.exe\" "), std::nullopt);
    EXPECT_EQ(ProgramNameProblem("c:/program files/excel.exe"), std::nullopt);
    EXPECT_EQ(ProgramNameProblem("\\\\server\\share\\tool.exe"), std::nullopt);
    for (const char* bad : {"   ", "\"\"", "C:\\Program Files\\", "c:/games/", "C:", "note*pad.exe", "a<b.exe",
                            "what?.exe", "C:\\a\\b:c.exe", "a|b", "tab\there.exe"}) {
        const auto problem = ProgramNameProblem(bad);
        ASSERT_TRUE(problem.has_value()) << bad;
        EXPECT_FALSE(problem->empty());
    }
    EXPECT_NE(ProgramNameProblem("C:\\Games\\")->find("is a folder"), std::string::npos);
    EXPECT_EQ(TrimmedProgramName("  \"c:/x/y.exe\" "), "c:/x/y.exe");
}

}  // namespace
}  // namespace vh
