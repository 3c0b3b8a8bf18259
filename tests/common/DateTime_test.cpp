#include "common/DateTime.h"

#include <gtest/gtest.h>

#include "common/Exceptions.h"

namespace vh {
namespace {

TEST(DateTime, EpochAndKnownSerials) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    // 21 March 2011 is serial 40623.
    EXPECT_EQ(EncodeDate(2011, 3, 21), 40623.0);
    EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0), 0.5);
}

TEST(DateTime, RoundTripsThroughParts) {
    const DateTimeParts p{2024, 2, 29, 23, 59, 59, 0};
    const DateTimeParts q = DecodeDateTime(EncodeDateTime(p));
    EXPECT_EQ(q.year, 2024);
    EXPECT_EQ(q.month, 2);
    EXPECT_EQ(q.day, 29);
    EXPECT_EQ(q.hour, 23);
    EXPECT_EQ(q.minute, 59);
    EXPECT_EQ(q.second, 59);
}

TEST(DateTime, DecodeRoundsToMillisecondsAcrossMidnight) {
    const TDateTime almostMidnight = EncodeDate(2011, 3, 21) + 1.0 - 0.0000001 / 86400.0;
    const DateTimeParts p = DecodeDateTime(almostMidnight);
    EXPECT_EQ(p.day, 22);
    EXPECT_EQ(p.hour, 0);
}

TEST(DateTime, RejectsInvalidDates) {
    EXPECT_THROW(EncodeDate(2023, 2, 29), Exception);
    EXPECT_THROW(EncodeDate(2023, 13, 1), Exception);
    EXPECT_THROW(EncodeTime(24, 0, 0), Exception);
}

TEST(DateTime, IncMonthClampsTheDay) {
    const TDateTime jan31 = EncodeDate(2024, 1, 31) + EncodeTime(10, 0, 0);
    EXPECT_DOUBLE_EQ(IncMonth(jan31, 1), EncodeDate(2024, 2, 29) + EncodeTime(10, 0, 0));
    EXPECT_DOUBLE_EQ(IncMonth(EncodeDate(2023, 12, 15), 1), EncodeDate(2024, 1, 15));
    EXPECT_DOUBLE_EQ(IncMonth(EncodeDate(2023, 3, 31), 1), EncodeDate(2023, 4, 30));
}

TEST(DateTime, DateAndTimeParts) {
    const TDateTime v = EncodeDate(2020, 5, 4) + EncodeTime(6, 30, 0);
    EXPECT_DOUBLE_EQ(DateOf(v), EncodeDate(2020, 5, 4));
    EXPECT_NEAR(TimeOf(v), EncodeTime(6, 30, 0), 1e-9);
}

}  // namespace
}  // namespace vh
