#include "environment/ApplicationDiscovery.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "doubles/FakeDiscoveryPlatform.h"
#include "environment/ScanFolders.h"
#include "environment/Trace.h"
#include "environment/VersionInfo.h"

namespace vh {
namespace {

using testing::FakeDiscoveryPlatform;
using Lines = std::vector<std::string>;
using namespace std::string_literals;
namespace A = FileAttribute;

constexpr const char* kComputer = "DESKTOP-1";

class TraceRecorder {
public:
    TraceRecorder() {
        SetTraceSinkForTesting([this](char kind, std::string_view text) {
            if (kind == 'X') texts.emplace_back(text);
        });
    }
    ~TraceRecorder() { SetTraceSinkForTesting(nullptr); }
    std::vector<std::string> texts;
};

TEST(ScanFolders, ExtractsTheFolderAnUninstallTextNames) {
    const struct {
        const char* text;
        const char* folder;
    } cases[] = {
        {"\"C:\\Program Files\\Game\\game.exe\" -i", "C:\\Program Files\\Game\\"},
        {"D:\\Games\\Racer\\racer.exe", "D:\\Games\\Racer\\"},
        {"D:\\", "D:\\"},
        {"D:\\Tools\\Kit", "D:\\Tools\\Kit\\"},
        {"rundll32.exe C:\\x\\y.dll", ""},
        {"MsiExec.exe /X{1234}", ""},
        {"C:\\Apps\\Icons\\app.dll,1", "C:\\Apps\\Icons\\"},
        {":\\odd\\start.exe", ":\\odd\\"},
        {"tool.exe:\\x\\y", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ExtractUninstallFolder(c.text), c.folder) << c.text;
}

TEST(ScanFolders, PrunesFoldersInsideAnEarlierOne) {
    const struct {
        Lines in, out;
    } cases[] = {
        {{"D:\\Games\\Racer\\", "D:\\Games\\"}, {"D:\\Games\\"}},
        {{"d:\\games\\x\\", "D:\\GAMES\\", "D:\\Games\\y\\"}, {"D:\\GAMES\\"}},
        {{"D:\\Games2\\", "D:\\Games\\"}, {"D:\\Games2\\", "D:\\Games\\"}},
        {{}, {}},
    };
    for (auto c : cases) {
        PruneNestedFolders(c.in);
        EXPECT_EQ(c.in, c.out);
    }
}

TEST(ScanFolders, WalksTheUninstallKeysOfBothViewsAndScansBothProgramFolders) {
    FakeDiscoveryPlatform fake;
    using V = TRegistryView;
    fake.AddUninstallValue(V::Wow32, "Game", "\"C:\\Program Files\\Game\\game.exe\" -i");
    fake.AddUninstallValue(V::Wow32, "Racer", "E:\\Racer\\racer.exe");
    fake.AddUninstallValue(V::Wow32, "Old", "C:\\Program Files (x86)\\Old\\old.exe");
    fake.AddUninstallValue(V::Native, "Chess", "D:\\Games\\Chess\\chess.exe");
    fake.AddUninstallValue(V::Native, "Games", "D:\\Games");
    fake.AddUninstallValue(V::Native, "Root", "D:\\");
    fake.AddUninstallValue(V::Native, "Kit", "D:\\Tools\\Kit");
    fake.AddUninstallValue(V::Native, "Expand", "F:\\Expand\\x.exe", TRegistryValueKind::ExpandString);
    fake.AddUninstallValue(V::Native, "Driver", "C:\\Windows\\system32\\drv.exe");
    fake.AddUninstallValue(V::Native, "Short", "C:\\PROGRA~1\\Short\\s.exe");

    EXPECT_EQ(
        BuildScanFolderList(fake.Platform(), kComputer),
        (Lines{"C:\\Program Files (x86)\\", "C:\\Program Files\\", "D:\\Games\\", "D:\\Tools\\Kit\\", "E:\\Racer\\"}));
}

TEST(ScanFolders, AMissingProgramFilesSettingExcludesNothing) {
    FakeDiscoveryPlatform fake;
    fake.currentVersionValues.clear();
    fake.AddUninstallValue(TRegistryView::Native, "Racer", "D:\\Games\\Racer\\racer.exe");
    EXPECT_EQ(BuildScanFolderList(fake.Platform(), kComputer), Lines{"D:\\Games\\Racer\\"});
}

TEST(ScanFolders, ARegistryThatCannotBeOpenedIsReportedWithTheComputer) {
    const struct {
        TRegistryRead::TOutcome outcome;
        const char* message;
    } cases[] = {
        {TRegistryRead::TOutcome::NoRegistry, "Can't open registry on computer DESKTOP-1"},
        {TRegistryRead::TOutcome::NoKey, "Can't open registry values on computer DESKTOP-1"},
    };
    for (const auto& c : cases) {
        FakeDiscoveryPlatform fake;
        fake.readOutcome = c.outcome;
        try {
            CountScanFolders(fake.Platform(), kComputer, {});
            ADD_FAILURE() << "no error for " << c.message;
        } catch (const ERegistryError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

// A Program Files tree with the attribute and name cases of a complete scan.
void BuildProgramFiles(FakeDiscoveryPlatform& fake) {
    fake.AddFile("C:\\Program Files\\top.exe");
    for (const char* name : {"Launcher.exe", "InstallShield.exe", "MyInstaller.exe", "setup32.exe", "readme.txt"})
        fake.AddFile(std::string("C:\\Program Files\\Game\\") + name);
    fake.AddFolder("C:\\Program Files\\Game\\Data");
    fake.AddFolder("C:\\Program Files\\Game\\fake.exe");
    fake.AddFolder("C:\\Program Files\\Custom", A::Directory | A::ReadOnly | A::Archive | A::NotContentIndexed);
    fake.AddFile("C:\\Program Files\\Custom\\Bin\\custom.exe");
    fake.AddFolder("C:\\Program Files\\Packed", A::Directory | A::Compressed);
    fake.AddFile("C:\\Program Files\\Packed\\packed.exe");
    fake.AddFolder("C:\\Program Files\\Hidden", A::Directory | A::Hidden);
    fake.AddFile("C:\\Program Files\\Hidden\\hidden.exe");
    fake.AddFolder("C:\\Program Files\\System", A::Directory | A::System | A::ReadOnly);
    fake.AddFile("C:\\Program Files\\System\\system.exe");
    fake.AddFolder("C:\\Program Files\\Link", A::Directory | A::ReparsePoint);
    fake.AddFile("C:\\Program Files\\Link\\loop.exe");
    fake.versions["C:\\Program Files\\Game\\Launcher.exe"].strings = {{"FileDescription", " "},
                                                                      {"ProductName", " Space Game "}};
}

TEST(ScanExecutables, ListsProgramsBelowOrdinaryFoldersWithTheirCaptions) {
    FakeDiscoveryPlatform fake;
    BuildProgramFiles(fake);
    int calls = 0;
    const TScanProgressEvent progress = [&] { return ++calls > 0; };

    const int count = CountScanFolders(fake.Platform(), kComputer, progress);
    EXPECT_EQ(count, 6);  // Game, Data, fake.exe, Custom, Bin, Packed
    EXPECT_EQ(calls, count);

    calls = 0;
    Lines found;
    ScanExecutables(fake.Platform(), kComputer, found, progress);
    EXPECT_EQ(calls, count);
    EXPECT_EQ(found, (Lines{"C:\\Program Files\\top.exe=top", "C:\\Program Files\\Game\\Launcher.exe=Space Game",
                            "C:\\Program Files\\Custom\\Bin\\custom.exe=custom",
                            "C:\\Program Files\\Packed\\packed.exe=packed"}));
    for (const std::string& listing : fake.listed) EXPECT_EQ(listing.find("Link"), std::string::npos) << listing;
}

TEST(DiscoverApplications, AStopOnTheFirstProgressCallKeepsTheFirstFolderAndAddsRunningPrograms) {
    FakeDiscoveryPlatform fake;
    BuildProgramFiles(fake);
    fake.processProperties = {"C:\\Apps\\run.exe", "C:\\Program Files\\top.exe", "c:\\apps\\RUN.exe"};
    int calls = 0;
    int total = -1;
    const TDiscoveryResult result = DiscoverApplications(
        fake.Platform(), kComputer, TScanType::Complete, [&] { return ++calls <= 6; }, [&](int t) { total = t; });

    EXPECT_EQ(total, 6);
    EXPECT_EQ(calls, 7);
    EXPECT_TRUE(result.Stopped);
    ASSERT_EQ(result.Candidates.size(), 2u);
    EXPECT_EQ(result.Candidates[0].Path, "C:\\Program Files\\top.exe");
    EXPECT_EQ(result.Candidates[0].Kind, TCandidateKind::ProgramFolder);
    EXPECT_EQ(result.Candidates[1].Path, "C:\\Apps\\run.exe");
    EXPECT_EQ(result.Candidates[1].Caption, "run");
    EXPECT_EQ(result.Candidates[1].Kind, TCandidateKind::RunningProcess);
}

TEST(ScanShortcuts, TakesProgramShortcutsAndSkipsBrokenOnesAndJunctions) {
    FakeDiscoveryPlatform fake;
    TraceRecorder trace;
    const std::string common = "C:\\ProgramData\\Start Menu\\Programs\\";
    const std::string user = "C:\\Users\\user\\Start Menu\\Programs\\";
    fake.AddShortcut(common + "Games\\Chess.lnk", "C:\\Games\\Chess\\chess.exe");
    fake.AddShortcut(common + "Games\\Chess Again.LNK", "C:\\Games\\Chess\\chess.exe");
    fake.AddShortcut(common + "Games\\Uninstall.lnk", "C:\\Games\\Chess\\unins000.exe");
    fake.AddShortcut(common + "Games\\Setup.lnk", "C:\\Games\\Chess\\Setup.exe");
    fake.AddShortcut(common + "Games\\Manual.lnk", "C:\\Games\\Chess\\manual.pdf");
    fake.AddShortcut(common + "Repair.lnk", "C:\\Windows\\Installer\\{0A1B}\\repair.exe");
    fake.AddFile(common + "Broken.lnk");  // unreadable
    fake.AddShortcut(common + "Editor.lnk", "%ProgramFiles%\\Editor\\edit.exe");
    fake.AddFile(common + "notes.txt");
    fake.AddShortcut(user + "Racer.lnk", "D:\\Racer\\racer.exe");
    fake.AddFolder(user + "Loop", A::Directory | A::ReparsePoint);
    fake.AddShortcut(user + "Loop\\Looped.lnk", "D:\\Looped\\looped.exe");

    Lines found;
    ScanShortcuts(fake.Platform(), found);
    EXPECT_EQ(found, (Lines{"C:\\Program Files\\Editor\\edit.exe=Editor", "C:\\Games\\Chess\\chess.exe=Chess Again",
                            "C:\\Games\\Chess\\chess.exe=Chess", "D:\\Racer\\racer.exe=Racer"}));
    ASSERT_EQ(trace.texts.size(), 2u);  // the broken shortcut; the installer one has no file bytes
    EXPECT_NE(trace.texts[0].find("Broken.lnk"), std::string::npos);
}

// The start of a shell link file whose relative-path string follows at `at`.
std::string ShortcutBytes(const std::u16string& relative, std::uint16_t storedLength) {
    std::string bytes = "L\0\0\0junk-before-the-string"s;
    bytes += static_cast<char>(storedLength & 0xFF);
    bytes += static_cast<char>(storedLength >> 8);
    for (char16_t c : relative) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes + "\0\0tail"s;
}

TEST(ResolveShortcutTarget, AnInstallerCacheTargetIsReplacedByTheStoredRelativePath) {
    const std::u16string relative = u"..\\..\\Games\\\u0418\u0433\u0440\u0430\\play.exe";
    const struct {
        std::string bytes;
        const char* target;
    } cases[] = {
        {ShortcutBytes(relative, static_cast<std::uint16_t>(relative.size())),
         "C:\\Users\\Games\\\xD0\x98\xD0\xB3\xD1\x80\xD0\xB0\\play.exe"},
        {ShortcutBytes(relative, 60000), "C:\\Windows\\Installer\\{0A1B}\\play.exe"},
        {ShortcutBytes(u"Games\\play.exe", 14), "C:\\Windows\\Installer\\{0A1B}\\play.exe"},
        {ShortcutBytes(u"..\\.\\play.exe\0", 15), "C:\\Users\\user\\play.exe"},
    };
    for (const auto& c : cases) {
        FakeDiscoveryPlatform fake;
        const std::string shortcut = "C:\\Users\\user\\Start Menu\\Play.lnk";
        fake.shortcutTargets[shortcut] = "C:\\Windows\\Installer\\{0A1B}\\play.exe";
        fake.fileBytes[shortcut] = c.bytes;
        EXPECT_EQ(ResolveShortcutTarget(fake, shortcut), c.target);
    }
}

TEST(ResolveShortcutTarget, FoldsRelativeParts) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"C:\\a\\b\\..\\c\\.\\d.exe", "C:\\a\\c\\d.exe"},
        {"C:\\a\\..\\..\\..\\x.exe", "C:\\x.exe"},
        {"C:\\a\\\\b.exe", "C:\\a\\b.exe"},
    };
    for (const auto& c : cases) EXPECT_EQ(ExpandRelativeParts(c.in), c.out);
}

TEST(ProcessesExeNamesGet, OneCaptionedLinePerPathAndFailuresAreSwallowed) {
    FakeDiscoveryPlatform fake;
    fake.processProperties = {"C:\\Games\\chess.exe", "C:\\Apps\\b.exe", "c:\\games\\CHESS.EXE"};
    fake.versions["C:\\Games\\chess.exe"].strings = {{"InternalName", "chess-internal"}};
    Lines found{"stale=line"};
    ProcessesExeNamesGet(fake.Platform(), kComputer, found);
    EXPECT_EQ(found, (Lines{"C:\\Apps\\b.exe=b", "C:\\Games\\chess.exe=chess-internal"}));

    TraceRecorder trace;
    fake.processQueryFails = true;
    ProcessesExeNamesGet(fake.Platform(), kComputer, found);
    EXPECT_TRUE(found.empty());
    ASSERT_EQ(trace.texts.size(), 1u);
    EXPECT_NE(trace.texts[0].find("Access denied"), std::string::npos);
}

TEST(VersionInfo, ReadsTheFirstTranslationsStringsAndCaptionsInOrder) {
    FakeDiscoveryPlatform fake;
    fake.versions["C:\\a.exe"] = {{0x0419, 0x04E3}, true, {{"FileVersion", "1.2"}, {"ProductName", "Alpha"}}};
    TVersionInfo info;
    info.FileName = "C:\\a.exe";
    info.Load(fake);
    EXPECT_EQ(info.Language, "041904E3");
    EXPECT_EQ(info.FileVersion, "1.2");
    EXPECT_EQ(info.ProductName, "Alpha");
    EXPECT_EQ(info.Keys, (Lines{"FileVersion=1.2", "ProductName=Alpha", "Language 1049"}));

    fake.versions["C:\\b.exe"] = {{0x0409, 0x04B0}, false, {{"FileDescription", "Beta"}}};
    fake.versions["C:\\c.exe"] = {{0x0409, 0x04B0}, true, {{"FileDescription", "  Gamma  "}, {"ProductName", "P"}}};
    fake.versions["C:\\d.exe"] = {{0x0409, 0x04B0}, true, {{"CompanyName", "Only a company"}}};
    const struct {
        const char* path;
        const char* caption;
    } cases[] = {
        {"C:\\a.exe", "Alpha"}, {"C:\\b.exe", "b"}, {"C:\\c.exe", "Gamma"}, {"C:\\d.exe", "d"}, {"C:\\dir.x\\e", "e"}};
    for (const auto& c : cases) EXPECT_EQ(GetAppCaption(fake, c.path), c.caption) << c.path;
}

}  // namespace
}  // namespace vh
