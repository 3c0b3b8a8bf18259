// Times TOptions::Save with a 500-entry list and three 10,000-character
// reminder texts on real database files, and prints the median.
//   build/<preset>/tests/storage/options_save_benchmark [runs]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "doubles/FakeEnvironmentPlatform.h"
#include "environment/IniFile.h"
#include "storage/Options.h"
#include "support/StorageTestSupport.h"

int main(int argc, char** argv) {
    using namespace vh;
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 41;

    testing::TempFolder folder;
    const std::string settings = testing::FileIn(folder.Path(), "settings.sqlite");
    const std::string log = testing::FileIn(folder.Path(), "actmondb.sqlite");
    testing::CopyReadyMadeDatabase("settings.sqlite", settings);
    testing::CopyReadyMadeDatabase("actmondb.sqlite", log);
    testing::FakeEnvironmentPlatform platform;
    platform.CreateFolders("C:\\data");
    TIniFile ini("C:\\data\\Vornhalt.ini", platform);

    TOptionsSite site;
    site.SettingsDBFileName = settings;
    site.LogDBFileName = log;
    site.IniFile = [&ini]() -> TIniFile& { return ini; };
    site.Now = [] { return EncodeDateTime({2026, 3, 21, 16, 5, 9, 0}); };

    TOptions options(site);
    for (int i = 0; i < 500; ++i) {
        auto item = std::make_unique<TMonitoredItem>();
        item->ItemType = i % 2 == 0 ? mitApplication : mitWebSite;
        item->Name = i % 2 == 0 ? "C:\\Program Files\\App " + std::to_string(i) + "\\app.exe"
                                : "site" + std::to_string(i) + ".example.com/path";
        item->Caption = "Entry " + std::to_string(i);
        item->Active = i % 3 != 0;
        std::string key = item->Caption;
        options.MonitoredList().Add(std::move(key), std::move(item));
    }
    for (TReminderType type : {rtMorning, rtAfternoon, rtEvening})
        options.SetReminderText(type, std::string(10000, static_cast<char>('a' + type)) + "'quote'");

    // Wall-clock time includes the disk's flushes at each commit; processor
    // time is the work of building and running the statements alone.
    std::vector<double> ms;
    std::vector<double> cpuMs;
    for (int run = 0; run < runs; ++run) {
        const std::clock_t cpuStart = std::clock();
        const auto start = std::chrono::steady_clock::now();
        options.Save();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        cpuMs.push_back(1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
    }
    const auto rows = testing::QueryRows(log, "SELECT COUNT(*) FROM applications_list");
    const auto webRows = testing::QueryRows(settings, "SELECT COUNT(*) FROM websites_list");
    std::sort(ms.begin(), ms.end());
    std::sort(cpuMs.begin(), cpuMs.end());
    std::printf("TOptions::Save, 500 entries, 3 x 10,000-character reminders, both databases\n");
    std::printf("runs %d  median %.2f ms  min %.2f ms  max %.2f ms  (log applications_list %s rows, websites %s)\n",
                runs, ms[ms.size() / 2], ms.front(), ms.back(), rows.at(0).at(0).c_str(), webRows.at(0).at(0).c_str());
    std::printf("processor time median %.2f ms\n", cpuMs[cpuMs.size() / 2]);
    return 0;
}
