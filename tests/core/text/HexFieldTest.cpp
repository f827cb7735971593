#include "core/text/HexField.h"

#include <gtest/gtest.h>

namespace {

using hexfield::FormatHex;
using hexfield::ParseHex;

TEST(HexField, ValuesShowInLowerCaseWithoutPrefixOrZeros) {
    EXPECT_EQ(FormatHex(0x4000), "4000");
    EXPECT_EQ(FormatHex(0x1F), "1f");
    EXPECT_EQ(FormatHex(0), "0");
    EXPECT_EQ(FormatHex(0xFFFF), "ffff");
}

TEST(HexField, AcceptedTexts) {
    const struct {
        const char* text;
        unsigned value;
    } cases[] = {
        {" 1f00 ", 0x1F00}, {"\t1F00\t", 0x1F00}, {"0", 0},      {"000", 0},         {"ffff", 0xFFFF},
        {"0x100", 0x100},   {"0X1a", 0x1A},       {"+10", 0x10}, {"00ffff", 0xFFFF},
    };
    for (const auto& c : cases) {
        unsigned value = 12345;
        EXPECT_TRUE(ParseHex(c.text, value)) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
}

TEST(HexField, RejectedTextsLeaveTheValueAlone) {
    for (const char* text : {"x", "g12", "10000", "", "   ", "12 34", "1f00h", "-1", "-0", "+0", "0x",
                             "fffff", "99999999999999999999999"}) {
        unsigned value = 7;
        EXPECT_FALSE(ParseHex(text, value)) << '"' << text << '"';
        EXPECT_EQ(value, 7u) << text;
    }
}

TEST(HexField, OnlyTheFirst63CharactersCount) {
    unsigned value = 0;
    // 62 blanks, then "1", then text beyond the field's reach.
    EXPECT_TRUE(ParseHex(std::string(62, ' ') + "1zzz", value));
    EXPECT_EQ(value, 1u);
    EXPECT_FALSE(ParseHex(std::string(61, ' ') + "1z", value));
}

TEST(HexField, ShownValuesReadBackUnchanged) {
    for (unsigned v : {0u, 1u, 0x100u, 0x1000u, 0xABCDu, 0xFFFFu}) {
        unsigned back = 0;
        ASSERT_TRUE(ParseHex(FormatHex(v), back));
        EXPECT_EQ(back, v);
    }
}

} // namespace
