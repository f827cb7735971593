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
    EXPECT_EQ(RunLine(console, ""), " OK\r\n>") << "an empty line still gets its prompt";
}

TEST(ConsoleConventions, BackspaceErasesAndLineFeedIsIgnored) {
    ConsoleModel console;
    console.Feed("HOMX\bE\n\r");
    EXPECT_EQ(console.TakeOutput(), "HOMX\b \bE OK\r\n>");
    EXPECT_EQ(console.History().back(), "HOME");
}

TEST(ConsoleConventions, QueryAnswerStandsWhereThePcCutsIt) {
    ConsoleModel console;
    RunLine(console, "DECIMAL 60 50 40 30 20 10 JMA");
    std::string reply = RunLine(console, "DECIMAL GF");
    EXPECT_EQ(Numbers(QueryAnswer("DECIMAL GF", reply)), (std::vector<int>{10, 20, 30, 40, 50, 60}));
    EXPECT_EQ(reply.substr(reply.size() - 5), "OK\r\n>");
}

TEST(ConsoleConventions, VariablesAnswerThroughQuestionMarkAndFetchPrint) {
    ConsoleModel console;
    EXPECT_EQ(RunLine(console, "DECIMAL 3 CREEP-FACTOR !"), "DECIMAL 3 CREEP-FACTOR ! OK\r\n>");
    EXPECT_EQ(QueryAnswer("DECIMAL CREEP-FACTOR ?", RunLine(console, "DECIMAL CREEP-FACTOR ?")), "3 ");
    EXPECT_EQ(QueryAnswer("DECIMAL FGRIP C@ .", RunLine(console, "DECIMAL FGRIP C@ .")), "0 ");
    RunLine(console, "GRIP");
    EXPECT_EQ(QueryAnswer("DECIMAL FGRIP C@ .", RunLine(console, "DECIMAL FGRIP C@ .")), "1 ");
    RunLine(console, "UNGRIP");
    RunLine(console, "CARTESIAN");
    EXPECT_EQ(console.VariableValue("FGRIP"), 0);
    EXPECT_EQ(QueryAnswer("DECIMAL CARTMODE C@ .", RunLine(console, "DECIMAL CARTMODE C@ .")), "1 ");
    RunLine(console, "DECIMAL -5 INCR !");
    EXPECT_EQ(QueryAnswer("DECIMAL INCR ?", RunLine(console, "DECIMAL INCR ?")), "-5 ");
}

TEST(ConsoleConventions, UnknownWordEndsTheLineWithoutOk) {
    ConsoleModel console;
    std::string reply = RunLine(console, "1 2 FROB 3");
    EXPECT_EQ(reply, "1 2 FROB 3 FROB ?\r\n>");
    EXPECT_EQ(console.StackDepth(), 0u) << "an error empties the stack";
    EXPECT_EQ(RunLine(console, "DROP"), "DROP DROP ?\r\n>") << "a word that underflows the stack fails too";
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

TEST(ConsoleConventions, FaultsSilenceAndErrorLines) {
    ConsoleModel console;
    console.FailNextLines(2);
    EXPECT_EQ(RunLine(console, "HOME"), "HOME err\r\n>");
    EXPECT_EQ(RunLine(console, "DECIMAL 5 INCR !"), "DECIMAL 5 INCR ! err\r\n>");
    EXPECT_EQ(console.VariableValue("INCR"), 10) << "a failed line is not run";
    EXPECT_EQ(RunLine(console, "HOME"), "HOME OK\r\n>");
    console.SetSilent(true);
    EXPECT_EQ(RunLine(console, "HOME"), "");
    console.SetSilent(false);
    EXPECT_EQ(RunLine(console, "HOME"), "HOME OK\r\n>");
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
    EXPECT_EQ(RunLine(console, "DECIMAL 1 2 JMA"), "DECIMAL 1 2 JMA JMA ?\r\n>") << "too few values";
}

TEST(ConsoleConventions, NumbersFollowTheBase) {
    ConsoleModel console;
    EXPECT_EQ(QueryAnswer("HEX FF DECIMAL .", RunLine(console, "HEX FF DECIMAL .")), "255 ");
    EXPECT_EQ(QueryAnswer("HEX 10 .", RunLine(console, "HEX 10 .")), "10 ");
    EXPECT_EQ(QueryAnswer("DECIMAL 7 3 - .", RunLine(console, "DECIMAL 7 3 - .")), "4 ");
    EXPECT_EQ(RunLine(console, ".\" ready to go\""), ".\" ready to go\"  ready to go OK\r\n>");
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
    EXPECT_EQ(RunLine(console, "FORGET HOME"), "FORGET HOME HOME ?\r\n>") << "built-in words stay";
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
