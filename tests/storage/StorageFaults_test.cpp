// Every file operation of each storage operation made to fail in turn: the
// databases stay sound and hold the state before or the state after, and
// the failure reaches the trace.

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <map>
#include <set>

#include "doubles/FakeEnvironmentPlatform.h"
#include "environment/IniFile.h"
#include "environment/Trace.h"
#include "environment/ZuravoZazoApplicationDefs.h"
#include "storage/DatabaseFiles.h"
#include "storage/Options.h"
#include "support/FaultInjectionVfs.h"
#include "support/OptionsTestSite.h"
#include "support/StorageTestSupport.h"

namespace vh {
namespace {

using testing::CopyReadyMadeDatabase;
using testing::FakeEnvironmentPlatform;
using testing::FaultCodes;
using testing::FileIn;
using testing::ForEachFaultPoint;
using testing::IntegrityCheck;
using testing::QueryRows;
using Rows = std::vector<std::vector<std::string>>;

// Every table's rows, in a stable order.
std::map<std::string, Rows> Contents(const std::string& file) {
    std::map<std::string, Rows> contents;
    for (const auto& table : QueryRows(file, "SELECT name FROM sqlite_master WHERE type = 'table'")) {
        Rows rows = QueryRows(file, "SELECT * FROM " + table[0]);
        std::sort(rows.begin(), rows.end());
        contents[table[0]] = std::move(rows);
    }
    return contents;
}

class StorageFaults : public ::testing::Test, protected testing::OptionsTestSite {
protected:
    StorageFaults() {
        SetTraceSinkForTesting([this](char kind, std::string_view text) {
            if (kind == 'X') traced_.emplace_back(text);
        });
    }
    ~StorageFaults() override { SetTraceSinkForTesting(nullptr); }

    void FreshDatabases() {
        CopyReadyMadeDatabase("settings.sqlite", settings_);
        CopyReadyMadeDatabase("actmondb.sqlite", log_);
        traced_.clear();
    }
    static void AddItem(TOptions& options, TMonitoredItemType type, const std::string& name) {
        auto item = std::make_unique<TMonitoredItem>();
        item->ItemType = type;
        item->Name = name;
        item->Caption = "Caption of " + name;
        std::string key = item->Caption;
        options.MonitoredList().Add(std::move(key), std::move(item));
    }
    // The state a user builds up: a list longer than one insert statement,
    // changed settings and reminders.
    static void StateA(TOptions& options) {
        for (int i = 0; i < 20; ++i) AddItem(options, mitApplication, "C:\\Apps\\app" + std::to_string(i) + ".exe");
        AddItem(options, mitWebSite, "example.com");
        options.SetTimeLimitSeconds(3600);
        options.SetReminderText(rtMorning, "Write the letter");
    }
    static void StateB(TOptions& options) {
        options.MonitoredList().Delete(0);
        AddItem(options, mitWebSite, "example.org");
        options.SetTimeLimitSeconds(1800);
        options.SetReminderText(rtEvening, "Read");
        options.ScanPeriodSeconds = 5;
    }

    std::vector<std::string> traced_;
    testing::TFaultInjectionVfs vfs_;
};

// Save and MonitoredItemsSave: each database whole before or whole after, a
// traced error exactly for each database left before, and the next save
// completes what failed.
TEST_F(StorageFaults, SavesLeaveEachDatabaseBeforeOrAfter) {
    const struct {
        const char* name;
        bool (TOptions::*save)();
    } operations[] = {{"Save", &TOptions::Save}, {"MonitoredItemsSave", &TOptions::MonitoredItemsSave}};
    for (const auto& operation : operations) {
        std::unique_ptr<TOptions> options;
        auto prepare = [&] {
            options.reset();
            FreshDatabases();
            ini_.EraseSection("Common");
            options = std::make_unique<TOptions>(Site());
            StateA(*options);
            options->Save();
            StateB(*options);
            traced_.clear();
        };
        // The states to expect, from runs without faults.
        prepare();
        const auto settingsBefore = Contents(settings_), logBefore = Contents(log_);
        ASSERT_TRUE((options.get()->*operation.save)());
        const auto settingsAfter = Contents(settings_), logAfter = Contents(log_);
        ASSERT_NE(settingsBefore, settingsAfter);
        ASSERT_NE(logBefore, logAfter);

        for (const auto& code : FaultCodes()) {
            bool saved = false;
            const int points = ForEachFaultPoint(
                vfs_, code.code, prepare, [&] { saved = (options.get()->*operation.save)(); },
                [&](int n) {
                    SCOPED_TRACE(std::string(operation.name) + " " + code.name + " at " + std::to_string(n));
                    ASSERT_EQ(IntegrityCheck(settings_), "ok");
                    ASSERT_EQ(IntegrityCheck(log_), "ok");
                    const auto settings = Contents(settings_), log = Contents(log_);
                    EXPECT_TRUE(settings == settingsBefore || settings == settingsAfter);
                    EXPECT_TRUE(log == logBefore || log == logAfter);
                    const std::size_t failed = (settings == settingsBefore) + (log == logBefore);
                    EXPECT_EQ(traced_.size(), failed);
                    EXPECT_EQ(saved, failed == 0);
                    EXPECT_TRUE((options.get()->*operation.save)());
                    EXPECT_EQ(Contents(settings_), settingsAfter);
                    EXPECT_EQ(Contents(log_), logAfter);
                });
            std::cout << operation.name << " " << code.name << ": " << points << " fault points\n";
            EXPECT_GT(points, 5);
        }
        options.reset();
    }
}

// Load: whatever fails to load, nothing stored is lost, also not by the save
// at the end of the program.
TEST_F(StorageFaults, LoadLosesNothing) {
    FreshDatabases();
    {
        TOptions options(Site());
        StateA(options);
    }
    const std::string settingsFile = FileIn(folder_.Path(), "stored.sqlite");
    testing::CopyFileReplacing(settings_, settingsFile);
    const auto stored = Contents(settings_);
    for (const auto& code : FaultCodes()) {
        std::unique_ptr<TOptions> options;
        const int points = ForEachFaultPoint(
            vfs_, code.code,
            [&] {
                testing::CopyFileReplacing(settingsFile, settings_);
                traced_.clear();
            },
            [&] { options = std::make_unique<TOptions>(Site()); },
            [&](int n) {
                SCOPED_TRACE(std::string("Load ") + code.name + " at " + std::to_string(n));
                if (traced_.empty()) {
                    EXPECT_EQ(options->MonitoredList().Count(), 21);
                    EXPECT_EQ(options->TimeLimitSeconds(), 3600);
                    EXPECT_EQ(options->GetReminderText(rtMorning), "Write the letter");
                }
                options.reset();  // saves
                ASSERT_EQ(IntegrityCheck(settings_), "ok");
                EXPECT_EQ(Contents(settings_), stored);
            });
        std::cout << "Load " << code.name << ": " << points << " fault points\n";
        EXPECT_GT(points, 3);
    }
}

// The clean-up's two statements are each whole; a failed one is traced and
// done again at the next start.
TEST_F(StorageFaults, PurgeActivityLogDeletesWholeStatementsOnly) {
    auto prepare = [&] {
        FreshDatabases();
        testing::InsertListEntry(log_, "applications_list", "C:\\Apps\\kept.exe", "Kept");
        testing::InsertLogRow(log_, "2025-01-01 10:00:00", "C:\\Apps\\kept.exe", "", 60, 1);  // too old
        testing::InsertLogRow(log_, "2026-03-20 10:00:00", "C:\\Apps\\gone.exe", "", 30, 1);  // unlisted
        testing::InsertLogRow(log_, "2026-03-20 11:00:00", "C:\\Apps\\kept.exe", "", 20, 1);
        traced_.clear();
    };
    const std::string cutoff = "2025-12-21 16:05:09";
    std::vector<std::map<std::string, Rows>> states;  // nothing, the first, the second, both
    for (int done = 0; done < 4; ++done) {
        prepare();
        if (done & 1) DBExecSQL(log_, PurgeOldRowsSql(), {cutoff});
        if (done & 2) PurgeUnlistedApplications(log_);
        states.push_back(Contents(log_));
    }
    ASSERT_EQ(std::set(states.begin(), states.end()).size(), 4u);
    for (const auto& code : FaultCodes()) {
        const int points = ForEachFaultPoint(
            vfs_, code.code, prepare, [&] { PurgeActivityLog(log_, cutoff, "2023-01-01"); },
            [&](int n) {
                SCOPED_TRACE(std::string("PurgeActivityLog ") + code.name + " at " + std::to_string(n));
                ASSERT_EQ(IntegrityCheck(log_), "ok");
                const auto it = std::find(states.begin(), states.end(), Contents(log_));
                ASSERT_NE(it, states.end());
                const int done = static_cast<int>(it - states.begin());
                EXPECT_EQ(traced_.size(), static_cast<std::size_t>(2 - (done & 1) - (done >> 1)));
                PurgeActivityLog(log_, cutoff, "2023-01-01");
                EXPECT_EQ(Contents(log_), states[3]);
            });
        std::cout << "PurgeActivityLog " << code.name << ": " << points << " fault points\n";
        EXPECT_GT(points, 3);
    }
}

// The file calls of the first-start copy, the Nth of them failing as a
// full or failing disk makes it fail (a write leaves half its bytes behind).
class FailingPlatform : public FakeEnvironmentPlatform {
public:
    int failAt = 0;
    int calls = 0;
    bool hit = false;

    bool CreateFolders(const std::string& path) override {
        return !Fails() && FakeEnvironmentPlatform::CreateFolders(path);
    }
    std::optional<std::string> ReadWholeFile(const std::string& path) override {
        if (Fails()) throw EFileError("Cannot read " + path);
        return FakeEnvironmentPlatform::ReadWholeFile(path);
    }
    void WriteNewFile(const std::string& path, std::string_view bytes) override {
        if (Fails()) {
            FakeEnvironmentPlatform::WriteNewFile(path, bytes.substr(0, bytes.size() / 2));
            throw EFileError("There is not enough space on the disk.");
        }
        FakeEnvironmentPlatform::WriteNewFile(path, bytes);
    }
    void ReplaceFileAtomically(const std::string& source, const std::string& target) override {
        if (Fails()) throw EFileError("Access is denied.");
        FakeEnvironmentPlatform::ReplaceFileAtomically(source, target);
    }
    bool RemoveFile(const std::string& path) override { return !Fails() && FakeEnvironmentPlatform::RemoveFile(path); }

private:
    bool Fails() {
        if (failAt == 0 || ++calls != failAt) return false;
        hit = true;
        return true;
    }
};

// A failed first-start copy leaves each database absent or whole, and the
// next start completes it.
TEST(CopyDatabasesFaults, EachFileAbsentOrWholeAndTheNextStartCompletes) {
    int points = 0;
    for (int n = 1;; ++n) {
        SCOPED_TRACE("CopyDatabasesToAppData fails at " + std::to_string(n));
        FailingPlatform platform;
        TEnvironment environment(platform);
        const auto programFile = [&](std::string_view name) { return environment.ProgramFolder() + std::string(name); };
        const auto appDataFile = [&](std::string_view name) { return environment.AppDataFolder() + std::string(name); };
        const std::string settings = testing::DatabaseImage("settings"), log = testing::DatabaseImage("log");
        platform.PutFile(programFile(kSettingsDBName), settings);
        platform.PutFile(programFile(kLogDBName), log);
        platform.failAt = n;
        try {
            CopyDatabasesToAppData(environment);
        } catch (const EFileError&) {
            EXPECT_TRUE(platform.hit);  // only a refused folder is raised
        }
        platform.failAt = 0;
        for (std::string_view name : {kSettingsDBName, kLogDBName}) {
            const auto copy = platform.FileText(appDataFile(name));
            if (copy) {
                EXPECT_EQ(*copy, *platform.FileText(programFile(name)));
            }
        }
        EXPECT_TRUE(CopyDatabasesToAppData(environment).empty());  // the next start
        EXPECT_EQ(platform.FileText(appDataFile(kSettingsDBName)), settings);
        EXPECT_EQ(platform.FileText(appDataFile(kLogDBName)), log);
        if (!platform.hit) break;
        points = n;
    }
    std::cout << "CopyDatabasesToAppData: " << points << " fault points\n";
    EXPECT_GE(points, 6);
}

}  // namespace
}  // namespace vh
