#include "storage/BlockScheduleStore.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "doubles/FakeEnvironmentPlatform.h"
#include "environment/IniFile.h"

namespace vh {
namespace {

class BlockScheduleStore : public ::testing::Test {
protected:
    std::string FileText() {
        std::ifstream file(platform_.Map(ini_.FileName()));
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    testing::FakeEnvironmentPlatform platform_;
    TIniFile ini_{"C:\\data\\Vornhalt.ini", platform_};
};

TBlockPeriod Period(const char* text) {
    return ParseBlockPeriod(text).value();
}

TEST_F(BlockScheduleStore, WritesOneReadableKeyPerPeriodAndReadsThemBack) {
    platform_.CreateFolders("C:\\data");
    TBlockScheduleState state;
    state.InForce = {Period("Mon,Tue,Wed,Thu,Fri 09:00-12:00"), Period("Sat 22:00-02:00"), Period("Sun 08:00-09:00")};
    state.Pending = TBlockSchedule{Period("Mon,Tue,Wed,Thu,Fri 09:00-11:00")};
    state.PendingFrom = EncodeDateTime({2026, 12, 10, 4, 0, 0, 0});
    WriteBlockSchedule(ini_, state);
    const std::string text = FileText();
    EXPECT_NE(text.find("[BlockSchedule]"), std::string::npos) << text;
    EXPECT_NE(text.find("Period1=Mon,Tue,Wed,Thu,Fri 09:00-12:00"), std::string::npos) << text;
    EXPECT_NE(text.find("From=2026-12-10 04:00:00"), std::string::npos) << text;

    TBlockScheduleRead read = ReadBlockSchedule(ini_);
    EXPECT_TRUE(read.Problems.empty());
    EXPECT_EQ(read.State.InForce, state.InForce);
    EXPECT_EQ(read.State.Pending, state.Pending);
    EXPECT_DOUBLE_EQ(read.State.PendingFrom, state.PendingFrom);

    // A shorter schedule leaves no key of the longer one behind.
    state.InForce.resize(1);
    state.Pending.reset();
    WriteBlockSchedule(ini_, state);
    read = ReadBlockSchedule(ini_);
    EXPECT_EQ(read.State.InForce, state.InForce);
    EXPECT_FALSE(read.State.Pending.has_value());
    EXPECT_EQ(FileText().find("Period2"), std::string::npos);
    EXPECT_FALSE(ini_.SectionExists(kBlockSchedulePendingSection));
}

TEST_F(BlockScheduleStore, SkipsAndReportsEveryUnreadableKey) {
    platform_.CreateFolders("C:\\data");
    struct Key {
        std::string_view section;
        const char* key;
        const char* value;
    };
    for (const Key& key : {Key{kBlockScheduleSection, "Period1", "Mon 09:00-10:00"},
                           Key{kBlockScheduleSection, "Period2", "Mon 25:00-10:00"},
                           Key{kBlockScheduleSection, "Note", "Mon 09:00-10:00"},
                           Key{kBlockScheduleSection, "Period3", "Tue,Wed 10:00-11:00"},
                           Key{kBlockScheduleSection, "Period4", "every day"},
                           Key{kBlockSchedulePendingSection, "Period1", "Mon 09:00-09:30"},
                           Key{kBlockSchedulePendingSection, "From", "tomorrow"}})
        ini_.WriteString(key.section, key.key, key.value);
    const TBlockScheduleRead read = ReadBlockSchedule(ini_);
    EXPECT_EQ(read.State.InForce, (TBlockSchedule{Period("Mon 09:00-10:00"), Period("Tue,Wed 10:00-11:00")}));
    // Without its reset the looser schedule is not taken.
    EXPECT_FALSE(read.State.Pending.has_value());
    ASSERT_EQ(read.Problems.size(), 4u);
    EXPECT_NE(read.Problems[0].find("Period2=Mon 25:00-10:00"), std::string::npos) << read.Problems[0];
    EXPECT_NE(read.Problems[3].find("From=tomorrow"), std::string::npos) << read.Problems[3];
}

}  // namespace
}  // namespace vh
