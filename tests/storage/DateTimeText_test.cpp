#include "storage/DateTimeText.h"

#include <gtest/gtest.h>

namespace vh {
namespace {

TDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return EncodeDateTime({y, mo, d, h, mi, s, 0});
}

TEST(DateTimeText, WritesTheLocalePatterns) {
    TDateTimeTextFormat format;
    EXPECT_EQ(DateTimeToText(At(2011, 3, 21, 16, 5, 9), format), "21/03/2011 16:05:09");
    EXPECT_EQ(DateTimeToText(At(2011, 3, 21), format), "21/03/2011");  // midnight shows no time
    format.ShortDateFormat = "M/d/yy";
    format.LongTimeFormat = "h:nn:ss am/pm";
    format.DateSeparator = ".";
    format.TimeSeparator = "-";
    EXPECT_EQ(DateTimeToText(At(2011, 3, 1, 0, 5, 9), format), "3.1.11 12-05-09 AM");
    EXPECT_EQ(DateTimeToText(At(2011, 3, 1, 12, 0, 1), format), "3.1.11 12-00-01 PM");
    EXPECT_EQ(FormatDateTimePattern(At(2011, 3, 1, 13), "yyyy'y/'mm \"h:\"hh", format), "2011y/03 h:13");
}

TEST(DateTimeText, ReadsTheLocaleOrderFirst) {
    TDateTimeTextFormat dmy;
    TDateTimeTextFormat mdy;
    mdy.ShortDateFormat = "mm/dd/yyyy";
    EXPECT_EQ(TextToDateTime("03/04/2026 10:11:12", dmy), At(2026, 4, 3, 10, 11, 12));
    EXPECT_EQ(TextToDateTime("03/04/2026 10:11:12", mdy), At(2026, 3, 4, 10, 11, 12));
    EXPECT_EQ(TextToDateTime("3/4/26", mdy), At(2026, 3, 4));
    EXPECT_EQ(TextToDateTime("3/4/99", mdy), At(1999, 3, 4));
}

TEST(DateTimeText, FallsBackToTheOtherOrders) {
    TDateTimeTextFormat mdy;
    mdy.ShortDateFormat = "m/d/yyyy";
    EXPECT_EQ(TextToDateTime("25/12/2026 18:30:00", mdy), At(2026, 12, 25, 18, 30, 0));
    EXPECT_EQ(TextToDateTime("2026-12-25 18:30:00", mdy), At(2026, 12, 25, 18, 30, 0));
    EXPECT_EQ(TextToDateTime("2026-12-25 18.30.00", mdy), At(2026, 12, 25, 18, 30, 0));
    EXPECT_EQ(TextToDateTime("12-25-2026 6.30.00 PM", mdy), At(2026, 12, 25, 18, 30, 0));
    EXPECT_EQ(TextToDateTime("12-25-2026 12:30 am", mdy), At(2026, 12, 25, 0, 30, 0));
    EXPECT_EQ(TextToDateTime(" 25.12.2026 18:30 ", mdy), At(2026, 12, 25, 18, 30, 0));
}

TEST(DateTimeText, RejectsWhatIsNoDate) {
    TDateTimeTextFormat format;
    for (const char* text : {"", "yesterday", "31/02/2026", "1/2", "1/2/2026 10", "1/2/2026 25:00:00",
                             "1/2/2026 13:00 PM", "1/2/2026 PM", "99999999999/1/1", "1/2/2026 10:00 AM PM"})
        EXPECT_FALSE(TextToDateTime(text, format).has_value()) << text;
}

}  // namespace
}  // namespace vh
