// The controller emulator's console model. Its RUN-LIST words are checked by the mirror run in
// tests/e2e, which compares the list they build with the project's image after every editing step.
#include "ConsoleModel.h"
#include "ControlCommands.h"
#include "WordListFile.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <tuple>

namespace {
// Sends one command line (CR appended) to the console and returns everything it answered.
std::string RunLine(ConsoleModel& console, const std::string& line) {
    console.Feed(line + "\r");
    return console.TakeOutput();
}
} // namespace

TEST(Console, EachLineIsEchoedAndAnsweredTheWayThePcExpects) {
    ConsoleModel console;
    console.Feed("HO");
    EXPECT_EQ(console.TakeOutput(), "HO") << "each character is echoed as it arrives";
    const struct {
        const char* line;
        const char* reply;
    } rows[] = {
        {"ME", "ME OK\r\n>"},
        {"", " OK\r\n>"},
        {"1 2 FROB 3", "1 2 FROB 3 FROB ?\r\n>"}, // an unknown word ends the line without OK ...
        {"DROP", "DROP DROP ?\r\n>"},             // ... and empties the stack
        {".\" ready\"", ".\" ready\"  ready OK\r\n>"},
        {"DECIMAL 1 2 JMA", "DECIMAL 1 2 JMA JMA ?\r\n>"}, // too few values
        {"FORGET HOME", "FORGET HOME HOME ?\r\n>"},        // built-in words stay
        {"HOMX\bE\n", "HOMX\b \bE OK\r\n>"},               // backspace erases, line feed is ignored
        {"HEX FF DECIMAL .", "HEX FF DECIMAL .  255 OK\r\n>"},
        {"DECIMAL 3 CREEP-FACTOR ! CREEP-FACTOR ?", "DECIMAL 3 CREEP-FACTOR ! CREEP-FACTOR ?  3 OK\r\n>"},
        {"DECIMAL 60 50 40 30 20 10 JMA", "DECIMAL 60 50 40 30 20 10 JMA OK\r\n>"},
        {"DECIMAL GF", "DECIMAL GF  10 20 30 40 50 60 OK\r\n>"},
        {"|", "| >"}, // prompt only until the I/O flag is set again; errors still show
        {"DECIMAL GF", ">"},
        {"NOSUCH", "NOSUCH ?\r\n>"},
        {"IOFLAG C0SET", " OK\r\n>"},
        {": PICK ( arm down )", ": PICK ( arm down ) OK\r\n>"}, // definitions span lines
        {"  HOME GRIP ;", "  HOME GRIP ; OK\r\n>"},
        {"VARIABLE SPEED 9 CONSTANT NINE NINE .", "VARIABLE SPEED 9 CONSTANT NINE NINE .  9 OK\r\n>"},
        {"FORGET SPEED NINE", "FORGET SPEED NINE NINE ?\r\n>"}, // later words go with it
    };
    for (const auto& row : rows)
        EXPECT_EQ(RunLine(console, row.line), row.reply) << row.line;
    EXPECT_NE(console.Dictionary().Find("PICK"), nullptr);
    // The number printed after the echo of the line: GRIP's address.
    const std::string grip = RunLine(console, "DECIMAL FIND GRIP .").substr(19);
    const std::string name = std::to_string(std::stoi(grip) + 2) + " NAME";
    EXPECT_EQ(RunLine(console, name), name + "  GRIP OK\r\n>");
}

// Random lines of real words and numbers, and random bytes: the console keeps answering every line
// with a prompt and comes back to its normal conventions afterwards.
TEST(Console, RandomLinesNeverStopIt) {
    ConsoleModel console;
    for (const char* line : {"NEW", "ROUTE R", "6 RESERVE", "PLACE P"})
        RunLine(console, line);
    const std::set<std::string> excluded{"(TEACH)", "JOG",      "TRANSMIT", "RECEIVE", "|",    ":",
                                         "CODE",    "VARIABLE", "CONSTANT", "CREATE",  "USER", "USARRAY"};
    std::vector<std::string> vocabulary{"0", "1", "2", "3", "-1", "16", "64", "65535", "300", "-32768"};
    for (const Word& word : console.Dictionary().Words())
        if (!excluded.count(word.name))
            vocabulary.push_back(word.name);
    std::mt19937 random(20260101);
    for (int i = 0; i < 20000; ++i) {
        std::string line;
        for (int w = int(random() % 7); w > 0; --w)
            line += vocabulary[random() % vocabulary.size()] + " ";
        const std::string reply = RunLine(console, line);
        ASSERT_TRUE(!reply.empty() && reply.back() == '>') << line << " -> " << reply;
    }
    std::string bytes(100000, '\0');
    for (char& c : bytes)
        c = char(random() & 0xFF);
    console.Feed(bytes + "\x1b\x03\x1b\rSTARTOVER\rIOFLAG C0SET\r");
    console.TakeOutput();
    EXPECT_EQ(RunLine(console, "HOME"), "HOME OK\r\n>");
    EXPECT_LE(console.RunList().End(), 65534) << "the list stays within its bank";
}

TEST(Console, ControlCommandsInjectFaultsAndReportState) {
    ConsoleModel console;
    ControlCommands control(console);
    control.Run("errors 1");
    EXPECT_EQ(RunLine(console, "DECIMAL 5 INCR !"), "DECIMAL 5 INCR ! err\r\n>");
    EXPECT_EQ(console.VariableValue("INCR"), 10) << "a failed line is not run";
    control.Run("silent on");
    EXPECT_EQ(RunLine(console, "HOME"), "");
    control.Run("silent off");
    control.Run("signal learn");
    control.Run("send A\\r\\x05\\\\");
    EXPECT_EQ(console.TakeOutput(), "$A\r\x05\\");
    EXPECT_EQ(control.Run("unplug 250").value, 250);
    EXPECT_EQ(control.Run("set joints 1 2 3 4 5 6").text, "ok\n");
    EXPECT_NE(control.Run("state").text.find("joints 1 2 3 4 5 6\n"), std::string::npos);
    console.Memory().SetByte(2, 0x10, 0xAB);
    EXPECT_EQ(control.Run("dump 2 0x10 2").text, "ab00\nok\n");
    EXPECT_EQ(control.Run("dump 4 0 1").text.rfind("error:", 0), 0u);
    RunLine(console, "PLACE A");
    EXPECT_EQ(control.Run("runlist masked").text.substr(0, 3), "64 ");
    EXPECT_EQ(control.Run("var HOME").text.rfind("error:", 0), 0u);
}

TEST(Console, WordListRecordsHaveTheirFixedForm) {
    Word word;
    word.address = 0x1234;
    // A name longer than the field is cut; a length that one digit cannot hold is left out.
    for (const auto& [name, record] : {std::pair{"CREEP-FACTOR", "1234 C CREEP-FACT\r\n"},
                                       {"HOME", "1234 4 HOME      \r\n"},
                                       {"SIXTEEN-LETTERS!", ""}}) {
        word.name = name;
        EXPECT_EQ(WordListFile::Record(word), record) << name;
    }
}

// What the mirror run does not see of the RUN-LIST: it masks the name index (each entry's ordinal),
// the project never deletes past a route's last line, and its short run may declare no relative route.
TEST(Console, RunListEntriesKeepTheirOrdinalAndARelativeRouteItsFlag) {
    ConsoleModel console;
    for (const char* line : {"NEW", "PLACE P1", "SUB ROUTE R1", "2 RESERVE"})
        RunLine(console, line);
    const RunListStore& list = console.RunList();
    EXPECT_EQ(std::make_tuple(list.Field(16, 2), list.Field(64, 2), list.Field(64, 10)),
              std::make_tuple(0, 1, 63));
    EXPECT_EQ(RunLine(console, "R1 1 DELETE"), "R1 1 DELETE DELETE ?\r\n>") << "the route has no line yet";
}
