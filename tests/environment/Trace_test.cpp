#include "environment/Trace.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "common/Exceptions.h"
#include "common/Paths.h"
#include "doubles/TempFolder.h"

namespace vh {
namespace {

TEST(Trace, DiscardsWithoutASinkAndReportsToATestSink) {
    Trace("nobody listens");  // must simply return
    std::vector<std::string> seen;
    SetTraceSinkForTesting([&](char kind, std::string_view text) { seen.push_back(kind + std::string(text)); });
    Trace("tmrScanTimer started");
    TraceException(ErrorTraceText(EAssertionFailed("boom"), "TfrmMain.tmrScanTimer"));
    SetTraceSinkForTesting(nullptr);
    Trace("after");
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], "EtmrScanTimer started");
    EXPECT_EQ(seen[1], "XErrorClassName: EAssertionFailed; TfrmMain.tmrScanTimer: boom");
}

TEST(Trace, AThrowingSinkNeverReachesTheCaller) {
    SetTraceSinkForTesting([](char, std::string_view) { throw std::runtime_error("sink"); });
    EXPECT_NO_THROW(Trace("x"));
    SetTraceSinkForTesting(nullptr);
}

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(Trace, TheDebuggerWriterGetsEachLineWithItsKind) {
    std::vector<std::string> lines;
    SetTraceDebuggerWriter([&](std::string_view line) { lines.emplace_back(line); });
    Trace("started");
    TraceException("failed");
    SetTraceDebuggerWriter(nullptr);
    Trace("unseen");
    EXPECT_EQ(lines, (std::vector<std::string>{"E started", "X failed"}));
}

TEST(Trace, TheTraceFileKeepsStampedLinesAndStaysWithinItsBound) {
    testing::TempFolder folder;
    const std::filesystem::path file = folder.Path() / "trace ü.log";
    constexpr std::uintmax_t kMax = 400;
    StartTraceFile(PathToUtf8(file), kMax);
    for (int i = 0; i < 40; ++i) Trace("line " + std::to_string(i));
    TraceException("the last one");
    StopTraceFile();
    Trace("after the stop");

    std::filesystem::path old = file;
    old += ".old";
    const std::string current = ReadAll(file);
    const std::string previous = ReadAll(old);
    EXPECT_LE(current.size(), kMax);
    EXPECT_LE(previous.size(), kMax);
    EXPECT_GT(previous.size(), kMax / 2);  // moved aside only when nearly full
    // "yyyy-mm-dd hh:nn:ss.zzz X text" (milliseconds: the steps of the
    // program's end are timed by them), the newest line last.
    const std::string last = "X the last one\n";
    ASSERT_GE(current.size(), last.size() + 24);
    const std::string lastLine = current.substr(current.rfind('\n', current.size() - 2) + 1);
    EXPECT_TRUE(std::regex_match(lastLine, std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} X the last one\n)")))
        << lastLine;
    EXPECT_EQ(current.find("after the stop"), std::string::npos);
    EXPECT_NE(previous.find(" E line "), std::string::npos);
}

TEST(Trace, TheSwitchIsAWholeWordInEitherForm) {
    struct Case {
        const char* commandLine;
        bool requested;
    };
    for (const Case& c : {Case{"/trace", true}, Case{"-TRACE", true}, Case{"/x  /Trace\t/y", true}, Case{"", false},
                          Case{"/tracefile", false}, Case{"C:\\trace", false}, Case{"/trac", false}})
        EXPECT_EQ(TraceRequested(c.commandLine), c.requested) << c.commandLine;
}

TEST(Trace, AnUnwritableTraceFileNeverReachesTheCaller) {
    testing::TempFolder folder;
    StartTraceFile(PathToUtf8(folder.Path() / "missing" / "trace.log"), 100);
    EXPECT_NO_THROW(Trace("x"));
    StopTraceFile();
    EXPECT_THROW(StartTraceFile("", 100), EAssertionFailed);
}

}  // namespace
}  // namespace vh
