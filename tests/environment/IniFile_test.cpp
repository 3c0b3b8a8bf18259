#include "environment/IniFile.h"

#include <gtest/gtest.h>

#include "doubles/FakeEnvironmentPlatform.h"

namespace vh {
namespace {

using testing::FakeEnvironmentPlatform;

constexpr const char* kIni = "C:\\data\\Vornhalt.ini";

class IniFileTest : public ::testing::Test {
protected:
    IniFileTest() { platform.CreateFolders("C:\\data"); }
    FakeEnvironmentPlatform platform;
    TIniFile ini{kIni, platform};
};

TEST_F(IniFileTest, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(ini.ReadString("Position", "Align", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadInteger("Position", "Align", 7), 7);
    EXPECT_TRUE(ini.ReadBool("Position", "Autohide", true));
    EXPECT_FALSE(ini.SectionExists("Position"));
    EXPECT_TRUE(ini.ReadSection("Position").empty());
    EXPECT_FALSE(platform.FileText(kIni).has_value()) << "reading creates nothing";
}

TEST_F(IniFileTest, ValuesPersistAcrossObjectsAndNamesIgnoreCase) {
    ini.WriteString("Background", "Image", "C:\\Skins\\Blue Sky.png");
    ini.WriteInteger("Background", "Color", -16777201);
    ini.WriteBool("Position", "Autohide", true);
    ini.WriteInteger("Position", "Align", 2);

    TIniFile other(kIni, platform);
    EXPECT_EQ(other.ReadString("BACKGROUND", "image", ""), "C:\\Skins\\Blue Sky.png");
    EXPECT_EQ(other.ReadInteger("background", "COLOR", 0), -16777201);
    EXPECT_TRUE(other.ReadBool("Position", "AutoHide", false));
    EXPECT_EQ(other.ReadSection("position"), (std::vector<std::string>{"Autohide", "Align"}));
    EXPECT_TRUE(other.ValueExists("POSITION", "align"));
    EXPECT_FALSE(other.ValueExists("Background", "Align"));
    EXPECT_EQ(*platform.FileText(kIni),
              "[Background]\r\nImage=C:\\Skins\\Blue Sky.png\r\nColor=-16777201\r\n"
              "[Position]\r\nAutohide=1\r\nAlign=2\r\n");

    other.WriteInteger("position", "ALIGN", 1);  // replaces, in place
    EXPECT_EQ(ini.ReadInteger("Position", "Align", 0), 1);
    EXPECT_EQ(ini.ReadSection("Position").size(), 2u);
}

TEST_F(IniFileTest, IntegersAcceptHexAndRejectJunk) {
    platform.PutFile(kIni,
                     "[N]\nhex=0xFF\nHEX=1\nupper=0XfFfFfFfF\nneg=-12\nplus=+5\nspace= 42 \nfloat=1.5\n"
                     "word=yes\nbig=2147483648\nempty=\nprefix=0x\n");
    EXPECT_EQ(ini.ReadInteger("N", "hex", 0), 255) << "the first of duplicate keys wins";
    EXPECT_EQ(ini.ReadInteger("N", "upper", 0), -1);
    EXPECT_EQ(ini.ReadInteger("N", "neg", 0), -12);
    EXPECT_EQ(ini.ReadInteger("N", "plus", 0), 5);
    EXPECT_EQ(ini.ReadInteger("N", "space", 0), 42);
    for (const char* key : {"float", "word", "big", "empty", "prefix", "missing"}) {
        EXPECT_EQ(ini.ReadInteger("N", key, 9), 9) << key;
    }
    EXPECT_TRUE(ini.ReadBool("N", "hex", false));
    EXPECT_FALSE(ini.ReadBool("N", "word", false));
}

TEST_F(IniFileTest, QuotesAndBlanksAroundValuesAreDropped) {
    platform.PutFile(kIni, "[S]\n  key  =  \"  padded  \"  \nsingle='x'\nhalf=\"open\nequals=a=b\n");
    EXPECT_EQ(ini.ReadString("S", "KEY", ""), "  padded  ");
    EXPECT_EQ(ini.ReadString("S", "single", ""), "x");
    EXPECT_EQ(ini.ReadString("S", "half", ""), "\"open");
    EXPECT_EQ(ini.ReadString("S", "equals", ""), "a=b");
}

TEST_F(IniFileTest, LinesNotUnderstoodAndOtherSectionsAreKept) {
    const std::string original =
        "\xEF\xBB\xBF; written by hand\r\nstray line\r\n[Common]\r\nFlag=1\r\n# note\r\n\r\n[Applications]\r\n"
        "C:\\x.exe=1\r\n";
    platform.PutFile(kIni, original);
    ini.WriteString("Common", "Pending", "abc");
    ini.WriteString("WebSites", "example.com", "1");
    ini.DeleteKey("Applications", "c:\\X.EXE");
    EXPECT_EQ(*platform.FileText(kIni),
              "\xEF\xBB\xBF; written by hand\r\nstray line\r\n[Common]\r\nFlag=1\r\n# note\r\nPending=abc\r\n\r\n"
              "[Applications]\r\n[WebSites]\r\nexample.com=1\r\n");
    EXPECT_EQ(ini.ReadString("Common", "Flag", ""), "1");
    EXPECT_TRUE(ini.SectionExists("Applications"));
    EXPECT_TRUE(ini.ReadSection("Applications").empty());
}

// A file damaged by a crash or a disk fault: binary junk, invalid UTF-8, a
// cut-off section header and a line without an end. Its readable lines are
// read, and a write keeps every byte of the rest.
TEST_F(IniFileTest, ADamagedFileKeepsItsReadableLines) {
    const std::string junk("\x00\xff\xfe\x00\x01garbage\x80\x81", 14);
    const std::string original = junk + "\r\n[Position]\r\nAlign=2\r\n[Backgr\r\n=no key\r\nColor\r\n[Common]\r\n" +
                                 std::string(5000, '\x7f') + "\r\nTimeLimitSecondsChanged=1\r\n\xc3(=\x00";
    platform.PutFile(kIni, original);
    EXPECT_EQ(ini.ReadInteger("Position", "Align", 1), 2);
    EXPECT_TRUE(ini.ReadBool("Common", "TimeLimitSecondsChanged", false));
    EXPECT_EQ(ini.ReadInteger("Background", "Color", 7), 7);
    ini.WriteInteger("Position", "AlignVertical", 1);
    const std::string written = *platform.FileText(kIni);
    EXPECT_EQ(written.substr(0, junk.size()), junk);
    EXPECT_NE(written.find(std::string(5000, '\x7f')), std::string::npos);
    EXPECT_NE(written.find("[Backgr\r\n=no key\r\nColor\r\n"), std::string::npos);
    EXPECT_EQ(ini.ReadInteger("Position", "AlignVertical", 0), 1);
    EXPECT_EQ(ini.ReadInteger("Position", "Align", 1), 2);
    EXPECT_TRUE(ini.ReadBool("Common", "TimeLimitSecondsChanged", false));
}

TEST_F(IniFileTest, EraseSectionRemovesEveryCopyAndNothingElse) {
    platform.PutFile(kIni, "[A]\nx=1\n[B]\ny=2\n[a]\nz=3\n");
    ini.EraseSection("a");
    EXPECT_FALSE(ini.SectionExists("A"));
    EXPECT_EQ(ini.ReadString("A", "z", "gone"), "gone");
    EXPECT_EQ(*platform.FileText(kIni), "[B]\r\ny=2\r\n");
    const int writes = platform.writeCount;
    ini.EraseSection("missing");
    ini.DeleteKey("B", "missing");
    EXPECT_EQ(platform.writeCount, writes) << "nothing to change writes nothing";
}

TEST_F(IniFileTest, NamesAndValuesThatWouldBreakTheFileAreRefused) {
    ini.WriteString("S", "k", "v");
    const std::string before = *platform.FileText(kIni);
    EXPECT_THROW(ini.WriteString("S", "k", "v\r\n[Evil]\r\nx=1"), EIniFileError);
    EXPECT_THROW(ini.WriteString("S", "a=b", "v"), EIniFileError);
    EXPECT_THROW(ini.WriteString("S", "", "v"), EIniFileError);
    EXPECT_THROW(ini.WriteString("S", ";k", "v"), EIniFileError);
    EXPECT_THROW(ini.WriteString("S", " k", "v"), EIniFileError);
    EXPECT_THROW(ini.WriteString("S]", "k", "v"), EIniFileError);
    EXPECT_THROW(ini.WriteString("", "k", "v"), EIniFileError);
    EXPECT_THROW(ini.WriteString("S\n", "k", "v"), EIniFileError);
    EXPECT_EQ(*platform.FileText(kIni), before);
    EXPECT_FALSE(ini.SectionExists("Evil"));
}

TEST_F(IniFileTest, AFailedWriteLeavesThePreviousFileWhole) {
    ini.WriteString("Position", "Align", "1");
    const std::string before = *platform.FileText(kIni);

    platform.failWriteAfterBytes = 5;  // the disk fills up half way
    EXPECT_THROW(ini.WriteString("Position", "Align", "2"), EIniFileError);
    platform.failWriteAfterBytes.reset();
    EXPECT_EQ(*platform.FileText(kIni), before);
    EXPECT_FALSE(platform.FileText(ini.TemporaryFileName()).has_value()) << "no half file left behind";

    platform.failReplace = true;
    try {
        ini.WriteString("Position", "Align", "2");
        FAIL() << "a failed replace was reported as success";
    } catch (const EIniFileError& e) {
        EXPECT_NE(std::string(e.what()).find(kIni), std::string::npos) << e.what();
    }
    platform.failReplace = false;
    EXPECT_EQ(TIniFile(kIni, platform).ReadInteger("Position", "Align", 0), 1);
    EXPECT_FALSE(platform.FileText(ini.TemporaryFileName()).has_value());
}

TEST_F(IniFileTest, AHalfWrittenTemporaryFileFromACrashIsIgnoredAndReplaced) {
    ini.WriteString("Position", "Align", "2");
    platform.PutFile(ini.TemporaryFileName(), "[Position]\r\nAli");  // the process died here
    TIniFile restarted(kIni, platform);
    EXPECT_EQ(restarted.ReadInteger("Position", "Align", 0), 2);
    restarted.WriteBool("Position", "Autohide", true);
    EXPECT_EQ(*platform.FileText(kIni), "[Position]\r\nAlign=2\r\nAutohide=1\r\n");
    EXPECT_FALSE(platform.FileText(ini.TemporaryFileName()).has_value());
}

TEST(IniFile, AWriteToAMissingFolderFailsCleanly) {
    FakeEnvironmentPlatform platform;
    TIniFile ini("C:\\nowhere\\x.ini", platform);
    EXPECT_THROW(ini.WriteString("S", "k", "v"), EIniFileError);
    EXPECT_EQ(ini.ReadString("S", "k", "d"), "d");
}

}  // namespace
}  // namespace vh
