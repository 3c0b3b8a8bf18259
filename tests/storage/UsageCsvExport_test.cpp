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

std::vector<TDailyHistoryDay> History() {
    return {
        {EncodeDate(2024, 3, 9),
         100,
         {{mitWebSite, "example.com/a,b", "Say \"hi\"", 59},
          {mitApplication, "C:\\Apps\\caf\xC3\xA9.exe",
           "Caf\xC3\xA9, \xC3\x9C"
           "ber",
           3725}}},
        {EncodeDate(2024, 3, 10), 0, {}},
        {EncodeDate(2024, 12, 31), 36000, {{mitApplication, "C:\\fun.exe", "Fun \xF0\x9F\x98\x80\r\nnext", 36000}}}};
}

TEST(UsageCsv, WritesOneQuotedRowPerDayAndEntryUnderAHeaderWithAByteOrderMark) {
    EXPECT_EQ(UsageCsvText(History()),
              "\xEF\xBB\xBF"
              "Date,Entry,Type,Name,Seconds,Time\r\n"
              "2024-03-09,\"Say \"\"hi\"\"\",Web site,\"example.com/a,b\",59,0:00\r\n"
              "2024-03-09,\"Caf\xC3\xA9, \xC3\x9C"
              "ber\",Application,C:\\Apps\\caf\xC3\xA9.exe,3725,1:02\r\n"
              "2024-12-31,\"Fun \xF0\x9F\x98\x80\r\nnext\",Application,C:\\fun.exe,36000,10:00\r\n");
}

class UsageCsvFile : public ::testing::Test {
protected:
    std::filesystem::path Real(const std::string& path) { return platform_.Map(path); }
    std::string Read(const std::string& path) {
        std::ifstream in(Real(path), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    testing::FakeEnvironmentPlatform platform_;
    const std::string file_ = "C:\\Users\\Export \xC3\xA9t\xC3\xA9.csv";
};

TEST_F(UsageCsvFile, ReplacesTheTargetWholeAndLeavesNoTemporaryFile) {
    std::filesystem::create_directories(Real("C:\\Users"));
    std::ofstream(Real(file_)) << "an older export";
    WriteUsageCsv(platform_, file_, History());
    EXPECT_EQ(Read(file_), UsageCsvText(History()));
    EXPECT_FALSE(std::filesystem::exists(Real(file_ + ".tmp")));
}

// Whatever step fails, the existing file stays as it was, no half file is
// left, and the message names the file.
TEST_F(UsageCsvFile, AFailedExportRaisesNamingTheFileAndLeavesTheOldFileAlone) {
    struct Case {
        const char* what;
        bool folderMissing;
        bool failWrite;
        bool failReplace;
    } const cases[] = {
        {"folder missing", true, false, false},
        {"disk full part-way", false, true, false},
        {"replace refused", false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(Real("C:\\Users"));
        if (!c.folderMissing) {
            std::filesystem::create_directories(Real("C:\\Users"));
            std::ofstream(Real(file_)) << "an older export";
        }
        platform_.failWriteAfterBytes.reset();
        if (c.failWrite) platform_.failWriteAfterBytes = 10;
        platform_.failReplace = c.failReplace;
        try {
            WriteUsageCsv(platform_, file_, History());
            ADD_FAILURE() << "no exception";
        } catch (const EFileError& e) {
            EXPECT_NE(std::string(e.what()).find("\"" + file_ + "\""), std::string::npos) << e.what();
        }
        EXPECT_FALSE(std::filesystem::exists(Real(file_ + ".tmp")));
        if (c.folderMissing)
            EXPECT_FALSE(std::filesystem::exists(Real(file_)));
        else
            EXPECT_EQ(Read(file_), "an older export");
    }
}

}  // namespace
}  // namespace vh
