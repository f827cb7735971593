// The console's RUN-LIST words, as the project's editing sends them; the transfers of the image are
// checked from the PC's side in tests/core.
#include "ConsoleTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A joint place and a Cartesian route of four slots with two learned lines.
class RunList : public ::testing::Test {
protected:
    RunList() {
        for (const char* line : {"NEW", "DECIMAL 6 5 4 3 2 1 JMA", "PLACE P1", "CARTESIAN", "ROUTE R1",
                                 "4 RESERVE", "R1 LEARN", "DECIMAL 0 0 0 0 0 7 JMR", "R1 LEARN"})
            Accept(line);
    }
    void Accept(const std::string& line) { EXPECT_EQ(RunLine(console, line), line + " OK\r\n>"); }
    int16_t Field(uint16_t entry, int offset) { return int16_t(console.RunList().Field(entry, offset)); }
    std::vector<int16_t> Fields(uint16_t entry, int count) {
        std::vector<int16_t> words;
        for (int i = 0; i < count; ++i)
            words.push_back(Field(entry, 2 * i));
        return words;
    }
    ConsoleModel console;
};

} // namespace

TEST_F(RunList, DeclarationsLayOutPlacesAndRoutesAsTheImageHoldsThem) {
    EXPECT_EQ(Printed(console, "NEXT @ ."), 16 + 48 + 80);
    // The place: three paragraphs, the joint position and an empty relative approach.
    EXPECT_EQ(Fields(16, 23),
              (std::vector<int16_t>{64, 0, 2, 0, 0, 0, 8, 0, 1, 2, 3, 4, 5, 6, 0, 0, 0, 0, 0, 0, 0, 0, 1}));
    // The route: capacity 4, Cartesian, two learned lines with code 2.
    EXPECT_EQ(Fields(64, 7), (std::vector<int16_t>{144, 1, 4, 2, 1, 0, 8}));
    EXPECT_EQ(Field(64, 16), ArmState::kCartesianOffset[0] + 1);
    EXPECT_EQ(Field(64, 16 + 12), 2);
    EXPECT_EQ(Field(64, 32), ArmState::kCartesianOffset[0] + 8)
        << "the second line was learned after the move";
    Accept("JOINT SUB ROUTE R2");
    Accept("2 RESERVE");
    EXPECT_EQ(Field(144, 10), 63) << "a relative route";
    Accept("FORGET R2");
    EXPECT_EQ(Printed(console, "NEXT @ ."), 144);
    EXPECT_EQ(Field(144, 0), 0);
}

TEST_F(RunList, LinesAreInsertedDeletedLoadedAndGivenFunctions) {
    Accept("HOME");
    Accept("R1 1 INSERT");
    EXPECT_EQ(Field(64, 6), 3);
    EXPECT_EQ(Field(64, 16), ArmState::kCartesianOffset[0]) << "the home position went in first";
    EXPECT_EQ(Printed(console, "R1 3 LINE ."), 64 + 48);
    Accept("DECIMAL 60 50 40 30 20 10 R1 3 LINE DLD");
    Accept("18 R1 3 LINE 12 + E!");
    EXPECT_EQ(Field(64, 48 + 10), 60);
    EXPECT_EQ(Field(64, 48 + 12), 18);
    Accept("R1 1 DELETE");
    EXPECT_EQ(Field(64, 32), 10) << "line 3 moved up to line 2";
    EXPECT_EQ(RunLine(console, "R1 3 DELETE"), "R1 3 DELETE DELETE ?\r\n>") << "line 3 is no longer in use";
    const int grip = Printed(console, "FIND GRIP .");
    Accept("R1 1 'INSERT GRIP 7 PURGE");
    EXPECT_EQ(Field(64, 16), 7);
    EXPECT_EQ(Field(64, 16 + 12), int16_t(grip));
    Accept("R1 2 'REPLACE UNGRIP -3 PURGE");
    EXPECT_EQ(Field(64, 32), -3);
    Accept("R1 RLEARN 31 MSP !");
    EXPECT_EQ(Field(64, 64 + 12), 3) << "an approach line is relative";
    EXPECT_EQ(RunLine(console, "R1 LEARN"), "R1 LEARN LEARN ?\r\n>") << "the route is full";
}
