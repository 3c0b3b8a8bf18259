#include "ui/HistoryChart.h"

#include <gtest/gtest.h>

namespace vh {
namespace {

const TDateTime kWednesday9Dec = EncodeDate(2026, 12, 9);

THistoryDay Day(int year, int month, int day, std::int64_t listSeconds, std::vector<THistoryEntryTime> entries = {}) {
    return {EncodeDate(year, month, day), listSeconds, std::move(entries)};
}

TEST(HistoryChart, AWeekHasABarPerDayNamedInWordsWithMissingDaysEmptyAndDaysBeyondLeftOut) {
    const std::vector<THistoryDay> days{Day(2026, 12, 2, 9999), Day(2026, 12, 7, 2 * 3600 + 14 * 60 + 59),
                                        Day(2026, 12, 9, 1800), Day(2026, 12, 10, 9999)};
    const THistoryChart chart = BuildHistoryChart(THistoryRange::Days7, kWednesday9Dec + 0.5, days, 7200);
    ASSERT_EQ(chart.Bars.size(), 7u);
    EXPECT_EQ(chart.Bars.front().Date, EncodeDate(2026, 12, 3));
    EXPECT_EQ(chart.Bars.front().Label, "Thu");
    EXPECT_EQ(chart.Bars.front().Seconds, 0);
    EXPECT_EQ(chart.Bars[4].Text, "Mon 7 Dec: 2 h 14 min, limit 2 h");
    EXPECT_TRUE(chart.Bars[4].OverLimit);
    EXPECT_EQ(chart.Bars[6].Text, "Wed 9 Dec: 30 min, limit 2 h");
    EXPECT_FALSE(chart.Bars[6].OverLimit);

    const THistoryChart unlimited = BuildHistoryChart(THistoryRange::Days30, kWednesday9Dec, days, 0);
    ASSERT_EQ(unlimited.Bars.size(), 30u);
    EXPECT_EQ(unlimited.Bars.front().Date, EncodeDate(2026, 11, 10));
    EXPECT_EQ(unlimited.Bars[22].Text, "Wed 2 Dec: 2 h 46 min");
    EXPECT_EQ(unlimited.Bars[22].Label, "2");
    EXPECT_FALSE(unlimited.Bars[22].OverLimit);
}

TEST(HistoryChart, EntriesBeyondTheTopOnesStackAsOtherAndTheStackMayStandAboveTheListTime) {
    std::vector<THistoryEntryTime> entries;
    // Seven entries of 60..420 s; "b" and "a" tie at 60 s.
    const char* names[] = {"a", "b", "c", "d", "e", "f", "g"};
    for (int i = 0; i < 7; ++i) {
        entries.push_back({std::string("key-") + names[i], names[i], (i == 0 ? 1 : i) * 60});
    }
    // The browser and the site in it both count: entries add to more than the list.
    const std::vector<THistoryDay> days{Day(2026, 12, 8, 1000, entries)};
    const THistoryChart chart = BuildHistoryChart(THistoryRange::Days7, kWednesday9Dec, days, 0, 5);
    EXPECT_EQ(chart.Legend, (std::vector<std::string>{"g", "f", "e", "d", "c", "Other"}));
    const THistoryBar& bar = chart.Bars[5];
    ASSERT_EQ(bar.Segments.size(), 6u);
    EXPECT_EQ(bar.Segments[0].Seconds, 360);
    EXPECT_EQ(bar.Segments[5].Series, 5u);
    EXPECT_EQ(bar.Segments[5].Seconds, 120);  // "a" and "b"
    EXPECT_EQ(bar.Seconds, 1000);
    EXPECT_TRUE(chart.Bars[6].Segments.empty());

    const THistoryChart few = BuildHistoryChart(THistoryRange::Days7, kWednesday9Dec, days, 0, 10);
    EXPECT_EQ(few.Legend.size(), 7u) << "no \"Other\" when every entry has its own place";
    EXPECT_EQ(few.Legend[5], "a") << "ties in caption order";
}

TEST(HistoryChart, AYearHasTwelveMonthsEachItsAverageDayAndThisMonthSoFar) {
    const std::vector<THistoryDay> days{Day(2025, 12, 31, 99999), Day(2026, 1, 1, 31 * 600),
                                        Day(2026, 2, 10, 28 * 60 * 60, {{"k", "Notepad", 28 * 60 * 60}}),
                                        Day(2026, 12, 1, 9 * 7200)};
    const THistoryChart chart = BuildHistoryChart(THistoryRange::Months12, kWednesday9Dec, days, 3600);
    ASSERT_EQ(chart.Bars.size(), 12u);
    EXPECT_EQ(chart.Bars[0].Date, EncodeDate(2026, 1, 1));
    EXPECT_EQ(chart.Bars[0].Seconds, 600);
    EXPECT_EQ(chart.Bars[0].Text, "Jan 2026: 10 min a day, limit 1 h");
    EXPECT_EQ(chart.Bars[1].Seconds, 3600);
    EXPECT_EQ(chart.Bars[1].Segments.at(0).Seconds, 3600);
    EXPECT_FALSE(chart.Bars[1].OverLimit);
    EXPECT_EQ(chart.Bars[11].Label, "Dec");
    EXPECT_EQ(chart.Bars[11].Seconds, 7200) << "December so far has nine days";
    EXPECT_TRUE(chart.Bars[11].OverLimit);
}

TEST(HistoryChart, TheTopIsTheNextGridLineAboveTheHighestBar) {
    const std::int64_t cases[][3] = {
        // highest bar, grid step, top
        {0, 900, 3600},
        {1320, 900, 3600},
        {8099, 3600, 3 * 3600},
        {5 * 3600, 7200, 6 * 3600},
        {13 * 3600, 14400, 16 * 3600},
    };
    for (const auto& c : cases) {
        const THistoryChart chart =
            BuildHistoryChart(THistoryRange::Days7, kWednesday9Dec, {Day(2026, 12, 9, c[0])}, 0);
        EXPECT_EQ(chart.GridSeconds, c[1]) << c[0];
        EXPECT_EQ(chart.ScaleSeconds, c[2]) << c[0];
    }
}

TEST(HistoryChart, DurationsInHoursAndMinutesRoundedDown) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {-5, "0 min"}, {59, "0 min"},        {60, "1 min"},   {3600, "1 h"},
        {3659, "1 h"}, {8040, "2 h 14 min"}, {90000, "25 h"},
    };
    for (const auto& [seconds, text] : cases) EXPECT_EQ(DurationInWords(seconds), text) << seconds;
}

}  // namespace
}  // namespace vh
