#include "ConsoleTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
const char kEnq = 5, kStx = 2, kEtx = 3;

uint16_t WordAt(const std::string& bytes, size_t offset) {
    return uint16_t(uint8_t(bytes[offset]) | (uint8_t(bytes[offset + 1]) << 8));
}

// The PC's run-list upload: the command without a wait, then ENQ per block until ETX.
std::string Upload(ConsoleModel& console) {
    console.Feed("1 BANK C! DECIMAL RUN-LIST NEXT @ RUN-LIST - TRANSMIT\r");
    console.TakeOutput();
    std::string image;
    for (int guard = 0; guard < 300; ++guard) {
        console.Feed(std::string(1, kEnq));
        std::string out = console.TakeOutput();
        if (out == std::string(1, kEtx))
            return image;
        EXPECT_EQ(out.size(), 257u);
        EXPECT_EQ(out[0], kStx);
        image += out.substr(1);
    }
    ADD_FAILURE() << "no ETX";
    return image;
}

// The PC's run-list download of `image` up to `count` bytes in 256-byte blocks.
void Download(ConsoleModel& console, std::string image, size_t count) {
    RunLine(console, "1 BANK C! DECIMAL RUN-LIST " + std::to_string(count) + " RECEIVE");
    image.resize((count + 255) / 256 * 256, '\0');
    for (size_t at = 0; at < count; at += 256) {
        console.Feed(std::string(1, kEnq));
        EXPECT_EQ(console.TakeOutput(), std::string(1, kStx));
        console.Feed(image.substr(at, 256));
    }
    console.Feed(std::string(1, kEtx));
    EXPECT_EQ(console.TakeOutput(), " OK\r\n>");
}

uint16_t Query(ConsoleModel& console, const std::string& expression) {
    std::string command = "DECIMAL " + expression;
    return uint16_t(std::stoi(QueryAnswer(command, RunLine(console, command))));
}

void ExpectAccepted(ConsoleModel& console, const std::string& line) {
    std::string reply = RunLine(console, line);
    EXPECT_EQ(reply.substr(reply.size() < 5 ? 0 : reply.size() - 5), "OK\r\n>") << line << " -> " << reply;
}

// A small project built the way the PC builds its image: a joint place and a Cartesian route with two
// learned lines.
struct SmallProject {
    ConsoleModel console;
    SmallProject() {
        for (const char* line :
             {"KAVENTRIX", "STARTOVER", "NEW", "DECIMAL 6 5 4 3 2 1 JMA", "PLACE P1", "CARTESIAN", "ROUTE R1",
              "4 RESERVE", "R1 LEARN", "DECIMAL 0 0 0 0 0 7 JMR", "R1 LEARN"})
            ExpectAccepted(console, line);
    }
};
} // namespace

TEST(RunList, DeclarationsCreatePlacesAndRoutesInTheImageLayout) {
    SmallProject project;
    std::string image = Upload(project.console);
    EXPECT_EQ(Query(project.console, "NEXT @ ."), 16 + 48 + 80);
    // The place: three paragraphs, the joint position and an empty relative approach.
    EXPECT_EQ(WordAt(image, 16), 64);
    EXPECT_EQ(WordAt(image, 16 + 4), 2);
    EXPECT_EQ(WordAt(image, 16 + 12), 8);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(WordAt(image, 32 + 2 * size_t(i)), i + 1);
    EXPECT_EQ(WordAt(image, 32 + 12), 0);
    EXPECT_EQ(WordAt(image, 48 + 12), 1);
    // The route: header, capacity 4, Cartesian, two learned lines with code 2.
    EXPECT_EQ(WordAt(image, 64), 144);
    EXPECT_EQ(WordAt(image, 64 + 4), 4);
    EXPECT_EQ(WordAt(image, 64 + 6), 2);
    EXPECT_EQ(WordAt(image, 64 + 8), 1);
    EXPECT_EQ(WordAt(image, 64 + 10), 0);
    EXPECT_EQ(WordAt(image, 64 + 12), 8);
    AxisValues first = ArmState::kCartesianOffset;
    for (size_t i = 0; i < 6; ++i)
        first[i] = int16_t(first[i] + int16_t(i + 1));
    EXPECT_EQ(int16_t(WordAt(image, 80)), first[0]);
    EXPECT_EQ(WordAt(image, 80 + 12), 2);
    EXPECT_EQ(int16_t(WordAt(image, 96)), first[0] + 7) << "the second line was learned after the move";
    EXPECT_EQ(WordAt(image, 144), 0);
}

TEST(RunList, RelativeRouteAndForgetOfTheLastEntry) {
    SmallProject project;
    ExpectAccepted(project.console, "JOINT");
    ExpectAccepted(project.console, "SUB ROUTE R2");
    ExpectAccepted(project.console, "2 RESERVE");
    uint16_t r2 = Query(project.console, "R2 .");
    EXPECT_EQ(r2, 144);
    EXPECT_EQ(project.console.RunList().Field(r2, 10), 63);
    EXPECT_EQ(project.console.RunList().Field(r2, 8), 0);
    ExpectAccepted(project.console, "FORGET R2");
    EXPECT_EQ(Query(project.console, "NEXT @ ."), 144);
    EXPECT_EQ(project.console.RunList().Link(144), 0);
    EXPECT_EQ(Upload(project.console).size(), 256u);
}

TEST(RunList, LineEditsInsertDeleteAndLoad) {
    SmallProject project;
    ConsoleModel& console = project.console;
    ExpectAccepted(console, "HOME");
    ExpectAccepted(console, "R1 1 INSERT");
    const RunListStore& list = console.RunList();
    EXPECT_EQ(list.Count(64), 3);
    EXPECT_EQ(int16_t(list.Field(64, 16)), ArmState::kCartesianOffset[0])
        << "the home position went in first";
    EXPECT_EQ(int16_t(list.Field(64, 32)), ArmState::kCartesianOffset[0] + 1) << "the old line 1 moved down";
    EXPECT_EQ(Query(console, "R1 3 LINE ."), 64 + 48);
    ExpectAccepted(console, "DECIMAL 60 50 40 30 20 10 R1 3 LINE DLD");
    EXPECT_EQ(list.Field(64, 48), 10);
    EXPECT_EQ(list.Field(64, 48 + 10), 60);
    ExpectAccepted(console, "18 R1 3 LINE 12 + E!");
    EXPECT_EQ(list.Field(64, 48 + 12), 18);
    ExpectAccepted(console, "R1 1 DELETE");
    EXPECT_EQ(list.Count(64), 2);
    EXPECT_EQ(list.Field(64, 32), 10) << "line 3 moved up to line 2";
    EXPECT_EQ(RunLine(console, "R1 3 DELETE"), "R1 3 DELETE DELETE ?\r\n>") << "line 3 is no longer in use";
    ExpectAccepted(console, "R1 RLEARN 31 MSP !");
    EXPECT_EQ(list.Field(64, 48 + 12), 3) << "an approach line is relative";
    EXPECT_EQ(console.VariableValue("MSP"), 31);
    ExpectAccepted(console, "R1 LEARN");
    EXPECT_EQ(RunLine(console, "R1 LEARN"), "R1 LEARN LEARN ?\r\n>") << "the route is full";
}

TEST(RunList, FunctionLinesTakeTheWordAddressAndParameter) {
    SmallProject project;
    ConsoleModel& console = project.console;
    uint16_t grip = Query(console, "FIND GRIP .");
    ExpectAccepted(console, "R1 1 'INSERT GRIP 7 PURGE");
    const RunListStore& list = console.RunList();
    EXPECT_EQ(list.Count(64), 3);
    EXPECT_EQ(list.Field(64, 16 + 12), grip);
    EXPECT_EQ(list.Field(64, 16), 7);
    EXPECT_EQ(list.Field(64, 32 + 12), 2) << "the learned line moved down";
    ExpectAccepted(console, "R1 'LEARN HOME 0 PURGE");
    EXPECT_EQ(list.Field(64, 64 + 12), Query(console, "FIND HOME ."));
    ExpectAccepted(console, "R1 2 'REPLACE UNGRIP -3 PURGE");
    EXPECT_EQ(int16_t(list.Field(64, 32)), -3);
    EXPECT_EQ(list.Count(64), 4);
    EXPECT_EQ(RunLine(console, "R1 1 'REPLACE NOSUCH 1 PURGE"), "R1 1 'REPLACE NOSUCH 1 PURGE NOSUCH ?\r\n>");
}

TEST(RunList, ResizeMovesTheEntriesThatFollowAndTheirNames) {
    SmallProject project;
    ConsoleModel& console = project.console;
    ExpectAccepted(console, "PLACE P2");
    EXPECT_EQ(Query(console, "' P2 @ ."), 144);
    ExpectAccepted(console, "R1 3 RESERVE");
    EXPECT_EQ(Query(console, "' P2 @ ."), 144 + 48);
    EXPECT_EQ(Query(console, "NEXT @ ."), 144 + 48 + 48);
    const RunListStore& list = console.RunList();
    EXPECT_EQ(list.Link(64), 192);
    EXPECT_EQ(list.Link(192), 240);
    EXPECT_EQ(list.Kind(192), 2);
    EXPECT_EQ(list.Link(240), 0);
    ExpectAccepted(console, "R1 -5 RESERVE");
    EXPECT_EQ(list.Capacity(64), 2);
    EXPECT_EQ(Query(console, "' P2 @ ."), 64 + 48);
    EXPECT_EQ(RunLine(console, "R1 -1 RESERVE"), "R1 -1 RESERVE RESERVE ?\r\n>") << "two lines are in use";
}

TEST(RunList, PlacesAreTaughtVisitedAndGivenApproaches) {
    SmallProject project;
    ConsoleModel& console = project.console;
    ExpectAccepted(console, "DECIMAL 0 0 0 0 0 100 JMA");
    ExpectAccepted(console, "PLEARN P1");
    const RunListStore& list = console.RunList();
    EXPECT_EQ(list.Field(16, 16), 100);
    EXPECT_EQ(list.Field(16, 26), 0);
    ExpectAccepted(console, "DECIMAL 0 0 0 0 5 130 JMA");
    ExpectAccepted(console, "APPROACH P1");
    EXPECT_EQ(list.Field(16, 32), 30) << "the approach is an offset from the place";
    EXPECT_EQ(list.Field(16, 34), 5);
    EXPECT_EQ(list.Field(16, 32 + 12), 1);
    ExpectAccepted(console, "HOME");
    ExpectAccepted(console, "P1");
    EXPECT_EQ(console.Arm().Joints()[0], 100) << "a place's name alone drives the arm there";
    ExpectAccepted(console, "'NEAR P1 GOTO");
    EXPECT_EQ(console.Arm().Joints()[0], 130);
    ExpectAccepted(console, "R1 2 GOTO");
    EXPECT_EQ(console.Arm().Cartesian()[0], ArmState::kCartesianOffset[0] + 8);
    ExpectAccepted(console, "DECIMAL 1 2 3 4 5 6 ' P1 @ 16 + DLD");
    EXPECT_EQ(list.Field(16, 16), 6);
}

TEST(RunList, CopyAndDeleteFollowTheImageThatTheDownloadBrings) {
    SmallProject project;
    ConsoleModel& console = project.console;
    // A copy of R1 (capacity 4): declared and reserved on the console, then the PC sends its image.
    ExpectAccepted(console, "DECIMAL ROUTE R1COPY");
    ExpectAccepted(console, "4 RESERVE");
    EXPECT_EQ(Query(console, "R1COPY ."), 144);
    EXPECT_EQ(Query(console, "NEXT @ ."), 144 + 80);
    std::string image = Upload(console);
    image.replace(144 + 4, 80 - 4, image.substr(64 + 4, 80 - 4)); // the PC copies header and lines
    Download(console, image, 224);
    EXPECT_EQ(console.RunList().Count(144), 2);
    EXPECT_EQ(Upload(console).substr(0, 226), image.substr(0, 226));

    // Deleting the place (not the last entry): the image without it, then the declarations again.
    std::string shorter = image.substr(0, 16) + image.substr(64);
    shorter.resize(image.size(), '\0');
    for (size_t entry = 16; entry < 176; entry = WordAt(shorter, entry)) {
        uint16_t link = uint16_t(WordAt(shorter, entry) - 48);
        shorter[entry] = char(link & 0xFF);
        shorter[entry + 1] = char(link >> 8);
    }
    Download(console, shorter, 176);
    for (const char* line : {"KAVENTRIX", "STARTOVER", "ROUTE R1", "ROUTE R1COPY"})
        ExpectAccepted(console, line);
    EXPECT_EQ(console.Dictionary().Find("P1"), nullptr);
    EXPECT_EQ(Query(console, "R1COPY ."), 96);
    EXPECT_EQ(Query(console, "NEXT @ ."), 176);
    EXPECT_EQ(Upload(console).substr(0, 178), shorter.substr(0, 178));
}
