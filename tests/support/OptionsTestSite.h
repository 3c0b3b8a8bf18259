#pragma once
// What the storage tests build a TOptions over: both databases in a
// temporary folder (the test copies them in), the INI file on a fake
// platform and a clock the test moves.

#include <string>

#include "common/DateTime.h"
#include "doubles/FakeEnvironmentPlatform.h"
#include "environment/IniFile.h"
#include "storage/Options.h"
#include "support/StorageTestSupport.h"

namespace vh::testing {

class OptionsTestSite {
protected:
    static constexpr const char* kIniFile = "C:\\data\\Vornhalt.ini";

    OptionsTestSite() { platform_.CreateFolders("C:\\data"); }

    TOptionsSite Site() {
        TOptionsSite site;
        site.SettingsDBFileName = settings_;
        site.LogDBFileName = log_;
        site.IniFile = [this]() -> TIniFile& { return ini_; };
        site.Now = [this] { return now_; };
        site.ReminderFormat = format_;
        return site;
    }

    TempFolder folder_;
    std::string settings_ = FileIn(folder_.Path(), "settings.sqlite");
    std::string log_ = FileIn(folder_.Path(), "actmondb.sqlite");
    FakeEnvironmentPlatform platform_;
    TIniFile ini_{kIniFile, platform_};
    TDateTime now_ = EncodeDateTime({2026, 3, 21, 16, 5, 9, 0});
    TDateTimeTextFormat format_;
};

}  // namespace vh::testing
