#include "ui/win32/dialogs/HistoryFRM.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AccessibleTree.h"
#include "Screenshot.h"
#include "UiTestSupport.h"
#include "common/Exceptions.h"
#include "ui/win32/dialogs/WarningFRM.h"

namespace vh::win32 {
namespace {

using HistoryWindow = testing::UiTest;

const TDateTime kToday = EncodeDate(2026, 12, 9);

// Ninety days with up to seven entries, the busiest over the limit.
std::vector<THistoryDay> SampleDays(TDateTime first, TDateTime last, bool /*byMonth: days add up alike*/) {
    const char* captions[] = {"Notepad", "example.com", "news.org", "Mail", "Chess", "video.net", "Forum"};
    std::vector<THistoryDay> days;
    for (TDateTime date = first; date <= last; date += 1) {
        const int n = static_cast<int>(date) % 11;
        THistoryDay day{date, 0, {}};
        for (int e = 0; e < 7; ++e) {
            const std::int64_t seconds = ((n + e * 3) % 8) * 600;
            if (seconds == 0) continue;
            day.Entries.push_back({captions[e], captions[e], seconds});
            day.ListSeconds += seconds;
        }
        days.push_back(day);
    }
    return days;
}

struct Recorded {
    int range = 1;
    std::vector<std::filesystem::path> exports;
    bool failExport = false;
};

TfrmHistory& Create(Recorded& recorded) {
    THistorySource source;
    source.Days = &SampleDays;
    source.Today = [] { return kToday; };
    source.LimitSeconds = [] { return std::int64_t{2 * 3600}; };
    source.GetRange = [&recorded] { return recorded.range; };
    source.SetRange = [&recorded](int range) { recorded.range = range; };
    source.Export = [&recorded](const std::filesystem::path& file) {
        if (recorded.failExport) throw Exception("The file \"" + file.filename().string() + "\" could not be written.");
        recorded.exports.push_back(file);
    };
    source.ExportFolder = [] { return std::filesystem::path(L"C:\\Users\\Me\\Documents"); };
    return CreateForm<TfrmHistory>(std::move(source));
}

void ChooseRange(TfrmHistory& form, int index) {
    form.cbxRange.SetItemIndex(index);
    const HWND combo = form.cbxRange.Handle();
    SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

TEST_F(HistoryWindow, OpensOnTheRememberedRangeNamesEachBarAndFollowsTheKeysAndTheRangeBox) {
    Recorded recorded;
    auto& form = Create(recorded);
    form.Execute();
    EXPECT_EQ(form.Caption(), "Usage History");
    EXPECT_EQ(form.cbxRange.ItemIndex(), 1);
    EXPECT_TRUE(form.lblBar.Caption().starts_with("Wed 9 Dec: ")) << form.lblBar.Caption();
    // Thirty days, the last one chosen; the arrow keys walk the bars.
    const auto names = testing::AccessibleTexts(VH_ACCESSIBLE_READER, form.Handle());
    int bars = 0;
    for (const auto& [name, value] : names) bars += name.find(", limit 2 h") != std::string::npos ? 1 : 0;
    EXPECT_EQ(bars, 30) << names.size() << " objects";
    // The pointer may rest on a bar and choose it: End takes the last.
    SendMessageW(form.Handle(), WM_KEYDOWN, VK_END, 0);
    EXPECT_TRUE(form.lblBar.Caption().starts_with("Wed 9 Dec: ")) << form.lblBar.Caption();
    SendMessageW(form.Handle(), WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_TRUE(form.lblBar.Caption().starts_with("Tue 8 Dec: ")) << form.lblBar.Caption();
    SendMessageW(form.Handle(), WM_KEYDOWN, VK_HOME, 0);
    EXPECT_TRUE(form.lblBar.Caption().starts_with("Tue 10 Nov: ")) << form.lblBar.Caption();

    ChooseRange(form, 3);
    EXPECT_EQ(recorded.range, 3);
    EXPECT_TRUE(form.lblBar.Caption().starts_with("Dec 2026: ")) << form.lblBar.Caption();
    EXPECT_NE(form.lblBar.Caption().find(" a day, limit 2 h"), std::string::npos);
}

TEST_F(HistoryWindow, ExportProposesTodaysFileInDocumentsAndAFailureIsToldNotSwallowed) {
    Recorded recorded;
    auto& form = Create(recorded);
    form.Execute();
    std::filesystem::path proposed;
    form.SaveFileChooser = [&](const std::filesystem::path& offered) {
        proposed = offered;
        return std::filesystem::path(L"C:\\Temp\\mine.csv");
    };
    EXPECT_EQ(form.ExportToChosenFile(), std::filesystem::path(L"C:\\Temp\\mine.csv"));
    EXPECT_EQ(proposed, std::filesystem::path(L"C:\\Users\\Me\\Documents\\Vornhalt usage 2026-12-09.csv"));
    EXPECT_EQ(recorded.exports.size(), 1u);
    EXPECT_EQ(form.lblBar.Caption(), "Exported to mine.csv");

    recorded.failExport = true;
    std::string warning;
    testing::WhenModal([&](TForm& modal) {
        if (auto* shown = dynamic_cast<TfrmWarning*>(&modal))
            warning = shown->lblCaption.Caption() + ": " + shown->lblWarning.Caption();
        PostMessageW(modal.Handle(), WM_KEYDOWN, VK_RETURN, 0);
    });
    EXPECT_TRUE(form.ExportToChosenFile().empty());
    EXPECT_EQ(warning, "Export: The file \"mine.csv\" could not be written.");

    // Cancelled: nothing is written.
    form.SaveFileChooser = [](const std::filesystem::path&) { return std::filesystem::path(); };
    recorded.failExport = false;
    EXPECT_TRUE(form.ExportToChosenFile().empty());
    EXPECT_EQ(recorded.exports.size(), 1u);
}

TEST_F(HistoryWindow, BothModesAt96And144DpiKeepTheChartInsideTheWindow) {
    for (int dpi : {96, 144}) {
        for (bool stacked : {false, true}) {
            Recorded recorded;
            recorded.range = stacked ? 2 : 0;
            auto& form = Create(recorded);
            form.Execute();
            form.ApplyDpi(dpi);
            if (stacked) form.btnMode.Click();
            EXPECT_EQ(form.btnMode.Caption(), stacked ? "Total" : "By Entry");
            const IntRect chart = form.chart.BoundsRect();
            EXPECT_LE(chart.right, form.ClientSize().width);
            EXPECT_LE(form.btnClose.BoundsRect().bottom, form.ClientSize().height);
            TBitmap32 shot;
            form.RenderClient(shot);
            // The limit line crosses the chart in its colour.
            bool limitLine = false;
            const IntRect device = form.chart.DeviceRect();
            for (int y = device.top; y < device.bottom && !limitLine; ++y)
                limitLine = testing::NearPixel(shot.Pixel(device.left + device.Width() / 2, y), 0xFFCC00, 8);
            EXPECT_TRUE(limitLine) << dpi;
            // For a person to look at: the screen, with the native range box.
            RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            ProcessMessages();
            TBitmap32 screen;
            testing::CaptureFromScreen(form.Handle(), screen);
            testing::SaveScreenshot(
                screen, std::string("TfrmHistory-") + (stacked ? "by-entry-" : "total-") + std::to_string(dpi));
            form.Close();
            ProcessMessages();
        }
    }
}

}  // namespace
}  // namespace vh::win32
