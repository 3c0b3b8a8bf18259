// The real Vornhalt.exe with a listed notepad in front, ended by
// TerminateProcess at random moments, as a power cut ends it, over and over:
// every restart finds both databases sound, every row it had written still
// there, the day's total short by at most the interval it was writing, and
// the dead instance's lock taken over.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "storage/SQLiteTable3.h"
#include "support/E2eSupport.h"
#include "support/ForegroundSupport.h"
#include "support/ProgramFolder.h"
#include "support/ProgramTest.h"

namespace vh::e2e {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kRuns = 20;
constexpr long long kScanSeconds = 3;

std::string IntegrityCheck(const std::filesystem::path& file) {
    TSQLiteDatabase db(Utf8Path(file));
    auto table = db.GetTable("PRAGMA integrity_check");
    return table->RowCount() > 0 ? table->FieldAsString(0) : "no answer";
}

long long Seconds(const std::vector<LogRow>& rows, std::size_t from) {
    long long total = 0;
    for (std::size_t i = from; i < rows.size(); ++i) total += rows[i].duration;
    return total;
}

using CrashConsistency = ProgramTest;

TEST_F(CrashConsistency, KilledAtRandomMomentsItLosesNoWrittenRow) {
    PrepareListedNotepad();
    RunningProgram notepad(NotepadPath());
    HWND notepadWindow = WaitForMainWindow(notepad, 20s);
    ASSERT_NE(notepadWindow, nullptr);

    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    // From the start-up writes to a few scans.
    std::uniform_int_distribution<int> lifetimeMs(300, 6500);
    SCOPED_TRACE("seed " + std::to_string(seed));

    std::vector<LogRow> written;  // what the program had written when it was killed
    int killedWhileCounting = 0;
    for (int run = 0; run < kRuns; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        const auto started = Clock::now();
        auto program = std::make_unique<RunningProgram>(exe_);
        // A lock file left by the killed instance must not keep it out.
        ASSERT_NE(program->WaitForMainWindow(20s), nullptr)
            << "no main window; windows: " << WindowTitles(program->ProcessId());
        ASSERT_TRUE(BringToFront(notepadWindow, 10s));
        const auto inFront = Clock::now();
        std::this_thread::sleep_for(std::chrono::milliseconds(lifetimeMs(random)));
        const auto killed = Clock::now();
        program.reset();  // TerminateProcess

        for (const wchar_t* name : {L"settings.sqlite", L"actmondb.sqlite"})
            ASSERT_EQ(IntegrityCheck(AppData(name)), "ok") << "damaged by the kill";
        const std::vector<LogRow> rows = NotepadRows();
        ASSERT_GE(rows.size(), written.size()) << "rows lost";
        for (std::size_t i = 0; i < written.size(); ++i) EXPECT_EQ(rows[i].duration, written[i].duration) << i;

        // Never more than the program lived; less than the time notepad was
        // surely in front by at most the interval under way and a scan's delay.
        const auto seconds = [](Clock::duration d) {
            return std::chrono::duration_cast<std::chrono::seconds>(d).count();
        };
        const long long counted = Seconds(rows, written.size());
        EXPECT_LE(counted, seconds(killed - started) + 1);
        EXPECT_GE(counted, seconds(killed - inFront) - 2 * kScanSeconds);
        if (rows.size() > written.size()) ++killedWhileCounting;
        written = rows;
    }
    EXPECT_GE(killedWhileCounting, kRuns / 4) << "too few runs reached their first scan to tell anything";

    // After all that the program starts, counts and ends as usual.
    RunningProgram program(exe_);
    ASSERT_NE(program.WaitForMainWindow(20s), nullptr);
    ASSERT_TRUE(BringToFront(notepadWindow, 10s));
    EXPECT_GT(WaitForRows(written.size() + 1, 15s), written.size());
    EndThroughFlag(program);
    std::cout << kRuns << " kills, " << killedWhileCounting << " after the first scan, " << written.size()
              << " rows kept, seed " << seed << "\n";
}

}  // namespace
}  // namespace vh::e2e
