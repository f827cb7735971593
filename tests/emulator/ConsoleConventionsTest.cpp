#include "ConsoleTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {
std::vector<int> Numbers(const std::string& text) {
    std::istringstream in(text);
    std::vector<int> out;
    int v;
    while (in >> v)
        out.push_back(v);
    return out;
}
} // namespace

TEST(ConsoleConventions, EchoesTheLineThenOkLineEndAndPrompt) {
    ConsoleModel console;
    console.Feed("HO");
    EXPECT_EQ(console.TakeOutput(), "HO") << "each character is echoed as it arrives";
    console.Feed("ME\r");
    EXPECT_EQ(console.TakeOutput(), "ME OK\r\n>");
    // One console, line after line: each reply as the controller prints it.
    const struct {
        const char* line;
        const char* reply;
    } cases[] = {
        {"", " OK\r\n>"},                         // an empty line still gets its prompt
        {"1 2 FROB 3", "1 2 FROB 3 FROB ?\r\n>"}, // an unknown word ends the line without OK ...
        {"DROP", "DROP DROP ?\r\n>"},             // ... and empties the stack, so DROP underflows
        {".\" ready to go\"", ".\" ready to go\"  ready to go OK\r\n>"},
        {"DECIMAL 1 2 JMA", "DECIMAL 1 2 JMA JMA ?\r\n>"}, // too few values
        {"FORGET HOME", "FORGET HOME HOME ?\r\n>"},        // built-in words stay
        {"HOMX\bE\n", "HOMX\b \bE OK\r\n>"},               // backspace erases, line feed is ignored
    };
    for (const auto& c : cases)
        EXPECT_EQ(RunLine(console, c.line), c.reply) << c.line;
    EXPECT_EQ(console.History().back(), "HOME");
}

TEST(ConsoleConventions, AnswersStandWhereThePcCutsThemInTheCurrentBase) {
    ConsoleModel console;
    RunLine(console, "DECIMAL 60 50 40 30 20 10 JMA");
    std::string reply = RunLine(console, "DECIMAL GF");
    EXPECT_EQ(Numbers(QueryAnswer("DECIMAL GF", reply)), (std::vector<int>{10, 20, 30, 40, 50, 60}));
    EXPECT_EQ(reply.substr(reply.size() - 5), "OK\r\n>");
    const struct {
        const char* line;
        const char* answer;
    } cases[] = {
        {"HEX FF DECIMAL .", "255 "},      {"HEX 10 .", "10 "},
        {"DECIMAL 7 3 - .", "4 "},         {"DECIMAL 3 CREEP-FACTOR ! CREEP-FACTOR ?", "3 "},
        {"GRIP DECIMAL FGRIP C@ .", "1 "}, {"CARTESIAN DECIMAL CARTMODE C@ .", "1 "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(QueryAnswer(c.line, RunLine(console, c.line)), c.answer) << c.line;
}

TEST(ConsoleConventions, PromptOnlyModeLastsUntilIoFlagIsCleared) {
    ConsoleModel console;
    EXPECT_EQ(RunLine(console, "|"), "| >");
    EXPECT_TRUE(console.PromptOnly());
    EXPECT_EQ(RunLine(console, "KAVENTRIX"), ">") << "no echo, no OK, no line end";
    EXPECT_EQ(RunLine(console, "DECIMAL GF"), ">") << "answers are not printed either";
    EXPECT_EQ(RunLine(console, "NOSUCH"), "NOSUCH ?\r\n>") << "an error still shows";
    EXPECT_EQ(RunLine(console, "IOFLAG C0SET"), " OK\r\n>");
    EXPECT_FALSE(console.PromptOnly());
    EXPECT_EQ(RunLine(console, "HOME"), "HOME OK\r\n>");
}

TEST(ConsoleConventions, TeachAndJogHoldTheLineUntilEscape) {
    ConsoleModel console;
    for (const char* word : {"(TEACH)", "JOG"}) {
        EXPECT_EQ(RunLine(console, word), std::string(word) + " ");
        EXPECT_NE(console.CurrentMode(), ConsoleModel::Mode::Normal);
        console.Feed("HOME\r");
        EXPECT_EQ(console.TakeOutput(), "") << "the pad has the arm; typed lines are not run";
        console.Feed("\x1b");
        EXPECT_EQ(console.TakeOutput(), "OK\r\n>");
        EXPECT_EQ(console.CurrentMode(), ConsoleModel::Mode::Normal);
    }
    console.Feed("HO\x1b");
    EXPECT_EQ(console.TakeOutput(), "HO OK\r\n>") << "a stray ESC drops the line and is answered";
    EXPECT_EQ(RunLine(console, "ME"), "ME ME ?\r\n>");
}

TEST(ConsoleConventions, MovesChangeJointAndCartesianPositions) {
    ConsoleModel console(5, 3);
    RunLine(console, "DECIMAL 25 0 -50 0 100 JMA");
    EXPECT_EQ(Numbers(QueryAnswer("DECIMAL GF", RunLine(console, "DECIMAL GF"))),
              (std::vector<int>{100, 0, -50, 0, 25}));
    RunLine(console, "DECIMAL 0 0 0 0 -10 JMR");
    EXPECT_EQ(console.Arm().Joints()[0], 90);
    RunLine(console, "DECIMAL 300 200 100 CM");
    EXPECT_EQ(Numbers(QueryAnswer("DECIMAL CF", RunLine(console, "DECIMAL CF"))),
              (std::vector<int>{100, 200, 300}));
    std::vector<int> joints = Numbers(QueryAnswer("DECIMAL GF", RunLine(console, "DECIMAL GF")));
    EXPECT_EQ(joints[0], 100 - ArmState::kCartesianOffset[0]) << "a Cartesian move moves the joints";
    EXPECT_EQ(joints[3], 0) << "axes beyond the Cartesian count keep their place";
    RunLine(console, "HOME");
    EXPECT_EQ(console.Arm().Joints(), AxisValues{});
}

TEST(ConsoleConventions, DefinitionsSpanLinesAndCanBeForgotten) {
    ConsoleModel console;
    EXPECT_EQ(RunLine(console, ": PICK ( arm down )"), ": PICK ( arm down ) OK\r\n>");
    RunLine(console, "  HOME GRIP ;");
    ASSERT_NE(console.Dictionary().Find("PICK"), nullptr);
    EXPECT_EQ(console.Dictionary().Find("PICK")->body, "HOME GRIP");
    RunLine(console, "VARIABLE SPEED DECIMAL 9 CONSTANT NINE");
    EXPECT_EQ(QueryAnswer("NINE .", RunLine(console, "NINE .")), "9 ");
    EXPECT_EQ(RunLine(console, "FORGET SPEED"), "FORGET SPEED OK\r\n>");
    EXPECT_EQ(console.Dictionary().Find("NINE"), nullptr) << "later words go with it";
    EXPECT_NE(console.Dictionary().Find("PICK"), nullptr);
}

TEST(ConsoleConventions, FindAndNameAgreeOnWordAddresses) {
    ConsoleModel console;
    std::string address = QueryAnswer("DECIMAL FIND GRIP .", RunLine(console, "DECIMAL FIND GRIP ."));
    int code = std::stoi(address);
    EXPECT_GE(code, 32);
    EXPECT_LT(code, 40960);
    std::string command = std::to_string(code + 2) + " NAME";
    EXPECT_EQ(QueryAnswer(command, RunLine(console, command)), "GRIP ");
    EXPECT_EQ(QueryAnswer("DECIMAL FIND NOSUCH .", RunLine(console, "DECIMAL FIND NOSUCH .")), "0 ");
}

TEST(ConsoleConventions, SlowMovesAnswerWhenTheyEndAndKeepLaterInput) {
    ConsoleModel console;
    console.SetMoveTime(500);
    console.Feed("DECIMAL 1 2 3 4 5 6 JMA\rHOME\r");
    EXPECT_EQ(console.TakeOutput(), "DECIMAL 1 2 3 4 5 6 JMA ")
        << "the echo comes at once, the OK after the move";
    EXPECT_TRUE(console.Moving());
    console.FinishMove();
    EXPECT_EQ(console.TakeOutput(), "OK\r\n>HOME ") << "the next line is read once the arm has arrived";
    console.FinishMove();
    EXPECT_EQ(console.TakeOutput(), "OK\r\n>");
    EXPECT_EQ(RunLine(console, "DECIMAL GF"), "DECIMAL GF  0 0 0 0 0 0 OK\r\n>") << "queries do not wait";
}
