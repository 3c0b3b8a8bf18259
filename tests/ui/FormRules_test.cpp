#include "ui/FormRules.h"

#include <gtest/gtest.h>

namespace vh {
namespace {

TEST(FormTransparency, AlphaForTheEdgeCasesAndTiesToEven) {
    EXPECT_EQ(TransparencyFromPercent(0).alpha, 255);
    EXPECT_FALSE(TransparencyFromPercent(0).alphaBlend);
    EXPECT_EQ(TransparencyFromPercent(10).alpha, 229);  // 25.5 rounds to 26
    EXPECT_TRUE(TransparencyFromPercent(10).alphaBlend);
    EXPECT_EQ(TransparencyFromPercent(100).alpha, 0);
    EXPECT_TRUE(TransparencyFromPercent(100).alphaBlend);
    EXPECT_EQ(TransparencyFromPercent(30).alpha, 179);  // 76.5 rounds to 76 (even)
    EXPECT_EQ(TransparencyFromPercent(50).alpha, 127);  // 127.5 rounds to 128 (even)
    EXPECT_EQ(TransparencyFromPercent(1).alpha, 252);   // 2.55 rounds to 3
}

TEST(FormTransparency, OutOfRangePercentIsClamped) {
    EXPECT_EQ(TransparencyFromPercent(-20).alpha, 255);
    EXPECT_FALSE(TransparencyFromPercent(-20).alphaBlend);
    EXPECT_EQ(TransparencyFromPercent(250).alpha, 0);
}

TEST(DragClamp, EachEdgePins) {
    const IntSize window{200, 100};
    const IntSize work{1024, 738};
    EXPECT_EQ(ClampDragPosition({-30, 50}, window, work), (IntPoint{0, 50}));
    EXPECT_EQ(ClampDragPosition({50, -1}, window, work), (IntPoint{50, 0}));
    EXPECT_EQ(ClampDragPosition({900, 50}, window, work), (IntPoint{824, 50}));
    EXPECT_EQ(ClampDragPosition({50, 700}, window, work), (IntPoint{50, 638}));
    EXPECT_EQ(ClampDragPosition({824, 638}, window, work), (IntPoint{824, 638}));  // exactly fits
    EXPECT_EQ(ClampDragPosition({-5, 5000}, window, work), (IntPoint{0, 638}));
}

TEST(DragClamp, WindowLargerThanTheWorkAreaKeepsItsHeaderOnScreen) {
    EXPECT_EQ(ClampDragPosition({10, 10}, {300, 900}, {1024, 738}), (IntPoint{10, 0}));
    EXPECT_EQ(ClampDragPosition({10, 10}, {1100, 100}, {1024, 738}), (IntPoint{0, 10}));
}

TEST(WarningLayout, GrowsWithItsMessageAndKeepsOkCentredInside) {
    EXPECT_EQ(WarningMessageWidth(120), 339);
    EXPECT_EQ(WarningMessageWidth(480), 480);
    EXPECT_EQ(WarningMessageWidth(2000), 720);
    const struct {
        IntSize message;
        IntSize client;
        IntRect label;
        IntRect ok;
    } cases[] = {
        {{0, 0}, {352, 132}, {10, 45, 349, 83}, {138, 90, 223, 122}},  // as designed
        {{339, 38}, {352, 132}, {10, 45, 349, 83}, {138, 90, 223, 122}},
        {{480, 64}, {493, 158}, {10, 45, 490, 109}, {208, 116, 293, 148}},
        {{900, 13}, {733, 132}, {10, 45, 730, 83}, {328, 90, 413, 122}},
    };
    for (const auto& c : cases) {
        const WarningLayout layout = LayOutWarning(c.message);
        EXPECT_EQ(layout.client, c.client) << c.message.width;
        EXPECT_EQ(layout.message, c.label) << c.message.width;
        EXPECT_EQ(layout.ok, c.ok) << c.message.width;
    }
}

TEST(BlankRows, PadsToTheBottomEdge) {
    EXPECT_EQ(BlankRowsToPad(202, 20, 3), 7);  // (202-2)/20 = 10 rows
    EXPECT_EQ(BlankRowsToPad(201, 20, 3), 6);  // 199/20 truncates to 9
    EXPECT_EQ(BlankRowsToPad(202, 20, 10), 0);
    EXPECT_EQ(BlankRowsToPad(202, 20, 15), 0);
    EXPECT_EQ(BlankRowsToPad(1, 20, 0), 0);
}

TEST(BlankRows, RowsPaddedBeforeAreNotAddedAgain) {
    EXPECT_EQ(BlankRowsToPad(202, 20, 3, 7), 0);
    EXPECT_EQ(BlankRowsToPad(202, 20, 4, 7), 0);  // one more entry, the list just grows
    EXPECT_EQ(BlankRowsToPad(202, 20, 2, 7), 1);
}

TEST(BlankRows, ZeroItemHeightPadsNothing) {
    EXPECT_EQ(BlankRowsToPad(202, 0, 0), 0);
    EXPECT_EQ(BlankRowsToPad(202, -3, 0), 0);
}

TEST(TimeLimitText, AnswersAndMessages) {
    const auto midnight = CheckTimeLimitText("24:00");
    EXPECT_FALSE(midnight.accepted);
    EXPECT_EQ(midnight.message, "'24:00' is not a valid time");

    const auto zero = CheckTimeLimitText("00:00");
    EXPECT_FALSE(zero.accepted);
    EXPECT_EQ(zero.message, "Limit can't be empty");

    const auto latest = CheckTimeLimitText("23:59");
    EXPECT_TRUE(latest.accepted);
    EXPECT_TRUE(latest.message.empty());
    EXPECT_DOUBLE_EQ(latest.time, 1439.0 / 1440.0);

    const auto eight = CheckTimeLimitText("08:00");
    EXPECT_TRUE(eight.accepted);
    EXPECT_DOUBLE_EQ(eight.time, 8.0 / 24.0);
}

TEST(TimeLimitText, SecondsPastTheLastMinuteAreTooLate) {
    const auto check = CheckTimeLimitText("23:59:30");
    EXPECT_FALSE(check.accepted);
    EXPECT_EQ(check.message, "Limit can't be greater than 23:59");
}

TEST(TimeLimitText, MalformedTextIsNotAValidTime) {
    for (const char* text : {"  :  ", "", "12", "12:60", "1a:00", "12:00:00:00", "-1:30", "123:00"}) {
        const auto check = CheckTimeLimitText(text);
        EXPECT_FALSE(check.accepted) << text;
        EXPECT_EQ(check.message, std::string("'").append(text).append("' is not a valid time")) << text;
    }
}

}  // namespace
}  // namespace vh

namespace vh {
namespace {

TEST(TransparencyChoice, OfferedValuesSelectTheirItemOthersTheFirst) {
    EXPECT_EQ(TransparencyChoiceIndex(0), 0);
    EXPECT_EQ(TransparencyChoiceIndex(10), 2);
    EXPECT_EQ(TransparencyChoiceIndex(30), 6);
    EXPECT_EQ(TransparencyChoiceIndex(40), 7);
    EXPECT_EQ(TransparencyChoiceIndex(90), 12);
    EXPECT_EQ(TransparencyChoiceIndex(35), 0);
    EXPECT_EQ(TransparencyChoiceIndex(100), 0);
    EXPECT_EQ(TransparencyChoiceIndex(-5), 0);
}

}  // namespace
}  // namespace vh
