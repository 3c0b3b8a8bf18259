#include "storage/UsageCsvExport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "doubles/FakeEnvironmentPlatform.h"

namespace vh {
namespace {

const std::vector<TDailyHistoryDay> kHistory = {
    {EncodeDate(2024, 3, 9),
     100,
     {{mitWebSite, "example.com/a,b", "Say \"hi\"", 59},
      {mitApplication, "C:\\caf\xC3\xA9.exe",
       "Caf\xC3\xA9, \xC3\x9C"
       "ber",
       3725}}},
    {EncodeDate(2024, 3, 10), 0, {}},
    {EncodeDate(2024, 12, 31), 36000, {{mitApplication, "C:\\fun.exe", "Fun \xF0\x9F\x98\x80\r\nnext", 36000}}}};

TEST(UsageCsv, WritesOneQuotedRowPerDayAndEntryUnderAHeaderWithAByteOrderMark) {
    EXPECT_EQ(UsageCsvText(kHistory),
              "\xEF\xBB\xBF"
              "Date,Entry,Type,Name,Seconds,Time\r\n"
              "2024-03-09,\"Say \"\"hi\"\"\",Web site,\"example.com/a,b\",59,0:00\r\n"
              "2024-03-09,\"Caf\xC3\xA9, \xC3\x9C"
              "ber\",Application,C:\\caf\xC3\xA9.exe,3725,1:02\r\n"
              "2024-12-31,\"Fun \xF0\x9F\x98\x80\r\nnext\",Application,C:\\fun.exe,36000,10:00\r\n");
}

// The file is replaced whole; whatever step fails, an existing file stays as
// it was, no half file is left and the message names the file.
TEST(UsageCsv, ReplacesTheFileWholeOrLeavesItAsItWasNamingItInTheFailure) {
    struct Case {
        const char* what;
        bool folderMissing, failWrite, failReplace;
    } const cases[] = {{"written", false, false, false},
                       {"folder missing", true, false, false},
                       {"disk full part-way", false, true, false},
                       {"replace refused", false, false, true}};
    const std::string file = "C:\\Users\\Export \xC3\xA9t\xC3\xA9.csv";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testing::FakeEnvironmentPlatform platform;
        if (!c.folderMissing) {
            std::filesystem::create_directories(platform.Map("C:\\Users"));
            std::ofstream(platform.Map(file)) << "an older export";
        }
        if (c.failWrite) platform.failWriteAfterBytes = 10;
        platform.failReplace = c.failReplace;
        const bool fails = c.folderMissing || c.failWrite || c.failReplace;
        try {
            WriteUsageCsv(platform, file, kHistory);
            EXPECT_FALSE(fails);
        } catch (const EFileError& e) {
            EXPECT_TRUE(fails);
            EXPECT_NE(std::string(e.what()).find("\"" + file + "\""), std::string::npos) << e.what();
        }
        EXPECT_FALSE(std::filesystem::exists(platform.Map(file + ".tmp")));
        std::ifstream in(platform.Map(file), std::ios::binary);
        const std::string now{std::istreambuf_iterator<char>(in), {}};
        EXPECT_EQ(now, c.folderMissing ? "" : fails ? "an older export" : UsageCsvText(kHistory));
    }
}

}  // namespace
}  // namespace vh
