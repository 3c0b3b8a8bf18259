#pragma once
// Options over ready-made databases in a temporary folder, for the tests of
// the store and of the daily change rules.

#include <memory>
#include <string>

#include "common/StringUtils.h"
#include "storage/Options.h"
#include "support/OptionsTestSite.h"
#include "support/StorageTestSupport.h"

namespace vh {

class OptionsTest : public ::testing::Test, protected testing::OptionsTestSite {
protected:
    OptionsTest() {
        testing::CopyReadyMadeDatabase("settings.sqlite", settings_);
        testing::CopyReadyMadeDatabase("actmondb.sqlite", log_);
    }

    std::unique_ptr<TOptions> Make() { return std::make_unique<TOptions>(Site()); }

    void StoreSetting(const std::string& name, const std::string& value) {
        testing::RunScript(settings_, "INSERT INTO settings(name, value) VALUES(" + QuotedSqlString(name) + ", " +
                                          QuotedSqlString(value) + ")");
    }
    static void AddItem(TOptions& options, TMonitoredItemType type, const std::string& name, const std::string& caption,
                        bool active = true) {
        auto item = std::make_unique<TMonitoredItem>();
        item->ItemType = type;
        item->Name = name;
        item->Caption = caption;
        item->Active = active;
        options.MonitoredList().Add(caption, std::move(item));
    }
    std::string Common(const char* key) { return ini_.ReadString("Common", key, "<none>"); }
};

}  // namespace vh
