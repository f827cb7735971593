#include "core/robot/PositionValues.h"

#include <gtest/gtest.h>

namespace {

TEST(PositionValues, EnteredRealsAreStoredInTenthsRoundedTowardTheTypedValue) {
    EXPECT_EQ(TenthsFromReal(12.34f), 123);
    EXPECT_EQ(TenthsFromReal(-1.25f), -13);
    EXPECT_EQ(TenthsFromReal(3276.0f), 32760);
    EXPECT_EQ(TenthsFromReal(-3276.0f), -32760);
    EXPECT_EQ(TenthsFromReal(0.05f), 0);
    EXPECT_EQ(TenthsFromReal(-0.05f), -1);
    // 0.3 has no exact binary form and falls just short of 3 tenths; the 0.1 lifts it back.
    EXPECT_EQ(TenthsFromReal(0.3f), 3);
    EXPECT_EQ(TenthsFromReal(-360.0f), -3600);
}

TEST(PositionValues, JogIncrementTruncatesTenthsOfAMillimetre) {
    EXPECT_EQ(JogIncrementFromMillimetres(2.5f), 25);
    EXPECT_EQ(JogIncrementFromMillimetres(25.5f), 255);
    EXPECT_EQ(JogIncrementFromMillimetres(0.1f), 1);
    EXPECT_EQ(JogIncrementFromMillimetres(0.7f), 7);
    EXPECT_EQ(JogIncrementFromMillimetres(1.29f), 12);
}

TEST(PositionValues, RealFieldsAcceptTheirRangeInclusiveAndNameItWhenRefusing) {
    float x = 0;
    std::string message;
    EXPECT_TRUE(ReadRealField(" 3276.0 ", -3276, 3276, x, message));
    EXPECT_EQ(x, 3276.0f);
    EXPECT_TRUE(ReadRealField("-3276", -3276, 3276, x, message));
    EXPECT_TRUE(ReadRealField("0.1", 0.1f, 25.5f, x, message));
    EXPECT_TRUE(ReadRealField("25.5", 0.1f, 25.5f, x, message));

    x = 7;
    EXPECT_FALSE(ReadRealField("3276.1", -3276, 3276, x, message));
    EXPECT_EQ(message, "Please enter a number between -3276 and 3276.");
    EXPECT_EQ(x, 7.0f);
    EXPECT_FALSE(ReadRealField("-360.5", -360, 360, x, message));
    EXPECT_EQ(message, "Please enter a number between -360 and 360.");
    EXPECT_FALSE(ReadRealField("0.05", 0.1f, 25.5f, x, message));
    EXPECT_EQ(message, "Please enter a number between 0.1 and 25.5.");

    for (const char* bad : {"", "  ", "abc", "1,5", "12mm", "nan", "inf", "1e999"}) {
        EXPECT_FALSE(ReadRealField(bad, -3276, 3276, x, message)) << bad;
        EXPECT_EQ(message, "Please enter a number.") << bad;
    }
}

TEST(PositionValues, IntegerFieldsAcceptTheirRangeInclusive) {
    long v = 0;
    std::string message;
    EXPECT_TRUE(ReadIntegerField("255", 1, 255, v, message));
    EXPECT_EQ(v, 255);
    EXPECT_TRUE(ReadIntegerField(" -32768", -32768, 32767, v, message));
    EXPECT_EQ(v, -32768);
    EXPECT_FALSE(ReadIntegerField("300", 1, 255, v, message));
    EXPECT_EQ(message, "Please enter an integer between 1 and 255.");
    EXPECT_FALSE(ReadIntegerField("0", 1, 255, v, message));
    EXPECT_FALSE(ReadIntegerField("99999999999999999999", -32768, 32767, v, message));
    EXPECT_EQ(message, "Please enter an integer between -32768 and 32767.");
    for (const char* bad : {"", "1.5", "12x", "x"}) {
        EXPECT_FALSE(ReadIntegerField(bad, -32768, 32767, v, message)) << bad;
        EXPECT_EQ(message, "Please enter an integer.") << bad;
    }
    EXPECT_EQ(v, -32768);
}

} // namespace
