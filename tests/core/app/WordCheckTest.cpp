#include "core/app/WordCheck.h"
#include "core/app/DataFolder.h"
#include "core/app/SourceTokenizer.h"
#include "core/app/WordTable.h"
#include "support/AppFiles.h"
#include "support/ScriptedUi.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Strings = std::vector<std::string>;

// One word-list record: 19 characters with the length digit at offset 5 and the name at offset 7.
std::string Record(const std::string& name) {
    std::string r = "0A3F " + std::string(1, "0123456789ABCDEF"[name.size()]) + " " + name;
    r.resize(17, ' ');
    return r + "\r\n";
}

Strings Words(const std::string& text) {
    SourceTokenizer tokens(text);
    Strings words;
    std::string w;
    while (tokens.NextSignificantWord(w))
        words.push_back(w);
    return words;
}

TEST(WordTable, SameLengthAndFirstFiveCharactersMatchAndLengthsWrapAtEightBits) {
    WordTable table;
    table.Add("HOMEPAD");
    table.Add("HOME1");
    table.Add("PLACE1");
    table.Add("HOME");
    EXPECT_TRUE(table.Matches("HOMEPOS"));
    EXPECT_TRUE(table.Matches("HOMEPAD"));
    EXPECT_FALSE(table.Matches("HOME2")); // five characters are compared whole
    EXPECT_FALSE(table.Matches("HOMEPADS"));
    EXPECT_TRUE(table.Matches("PLACE2"));
    EXPECT_FALSE(table.Matches("place1")); // case counts
    EXPECT_TRUE(table.Matches("HOME"));
    EXPECT_FALSE(table.Matches("HOMX")); // short words compare whole
    // 261 characters keep the length 5 and compare their first five characters.
    table.Add(std::string("ABCDE") + std::string(256, 'z'));
    EXPECT_TRUE(table.Matches("ABCDE"));
}

TEST(WordTable, AdditionsBeyondAThousandAreIgnored) {
    WordTable table;
    for (int i = 0; i < 1000; ++i)
        table.Add("W" + std::to_string(i));
    table.Add("LATE");
    EXPECT_EQ(table.count(), 1000);
    EXPECT_TRUE(table.Matches("W999"));
    EXPECT_FALSE(table.Matches("LATE"));
    table.Clear();
    EXPECT_FALSE(table.Matches("W1"));
}

TEST(WordList, RecordsGiveLengthAndNameWithLettersAboveNine) {
    WordTable table;
    const std::string list = Record("HOMEPAD") + Record("DUP") + Record("CALIBRATE") + "\r\n  " + Record("X");
    WordCheck::ParseWordList(QByteArray::fromStdString(list), table);
    EXPECT_EQ(table.count(), 4);
    EXPECT_TRUE(table.Matches("HOMEPOS"));
    EXPECT_TRUE(table.Matches("DUP"));
    EXPECT_TRUE(table.Matches("CALIBxxxx")); // length 9 written as the digit "9"
    EXPECT_TRUE(table.Matches("X"));

    // "C" is 12; the name fills the record to its last character.
    WordTable twelve;
    WordCheck::ParseWordList(QByteArray("0A3F C TWELVELETTRS"), twelve);
    EXPECT_EQ(twelve.count(), 1);
    EXPECT_TRUE(twelve.Matches("TWELVxxxxxxx"));
    EXPECT_FALSE(twelve.Matches("TWELVxxxxxx"));
}

TEST(WordList, RecordsWithoutSeparatorsFollowEvery19Characters) {
    WordTable table;
    std::string list;
    for (const char* n : {"AAA", "BBBB", "CCCCC"}) {
        // The record's last two characters are not blanks, so nothing separates the records.
        list += Record(n).substr(0, 17) + "..";
    }
    WordCheck::ParseWordList(QByteArray::fromStdString(list), table);
    EXPECT_EQ(table.count(), 3);
    EXPECT_TRUE(table.Matches("BBBB"));
    EXPECT_TRUE(table.Matches("CCCCC"));
    // A record cut before its length digit adds nothing.
    WordTable cut;
    WordCheck::ParseWordList(QByteArray("  0A3F"), cut);
    EXPECT_EQ(cut.count(), 0);
}

TEST(SourceWords, CommentsAreSkippedUpToTheClosingWordOrTheLineEnd) {
    EXPECT_EQ(Words(": A ( VARIABLE X ) B ;"), (Strings{":", "A", "B", ";"}));
    // The line end closes the comment; the first word on the next line counts.
    EXPECT_EQ(Words("( note\r\nVARIABLE X"), (Strings{"VARIABLE", "X"}));
    EXPECT_EQ(Words("(\nVARIABLE X"), (Strings{"VARIABLE", "X"}));
    // Only the first character is looked at.
    EXPECT_EQ(Words("(TEACH) VARIABLE X ) Y"), (Strings{"Y"}));
    EXPECT_EQ(Words("A )B C"), (Strings{"A", ")B", "C"}));
}

TEST(SourceWords, NestedCommentsAreSkippedWhole) {
    EXPECT_EQ(Words("A ( x ( y ) z ) B"), (Strings{"A", "B"}));
    // The inner ")" only closes the inner comment.
    EXPECT_EQ(Words("A ( ( y ) z B"), (Strings{"A"}));
    // A line end ends all open comments at once.
    EXPECT_EQ(Words("( ( (\r\nB C"), (Strings{"B", "C"}));
    // A comment still open at the end of the text leaves no word.
    EXPECT_EQ(Words("( unfinished"), Strings{});
    EXPECT_EQ(Words(" \t\r\n"), Strings{});
}

TEST(SourceWords, LongTokensAreCutTo99Characters) {
    const std::string longWord(150, 'L');
    EXPECT_EQ(Words(longWord + " NEXT"), (Strings{std::string(99, 'L'), "NEXT"}));
}

class Check : public ::testing::Test {
protected:
    WordCheck check;
    ScriptedUi ui;
};

TEST_F(Check, EntryNamesAndDefinedWordsAgainstEachOther) {
    const std::string report = check.CheckProject(
        {"PICK", "DROP", "PLACE1"},
        "VARIABLE PICK\r\n10 CONSTANT PLACE2 USER U1 USARRAY U2 CODE C1 : U1 ;\r\n( VARIABLE DROP )\r\n");
    EXPECT_EQ(
        report,
        "PICK redefines a project word\nPLACE2 redefines a project word\nU1 redefines a project word\n");
}

TEST_F(Check, BothTablesCanReportTheSameWord) {
    check.controllerTable().Add("HOME");
    EXPECT_EQ(
        check.CheckProject({"HOME"}, ": HOME ;"),
        "HOME redefines a Kaventrix word\nHOME redefines a Kaventrix word\nHOME redefines a project word\n");
}

TEST_F(Check, EachCheckStartsWithAnEmptyProjectTable) {
    EXPECT_EQ(check.CheckProject({"PICK"}, ""), "");
    EXPECT_EQ(check.CheckProject({"PICK"}, ""), "");
    EXPECT_FALSE(check.conflictFound());
    // A defining word at the very end defines nothing.
    EXPECT_EQ(check.CheckProject({}, "VARIABLE"), "");
}

TEST_F(Check, ControllerWordsLoadFromTheGivenDirectoryAndMatchSourceWords) {
    QTemporaryDir dir;
    EXPECT_FALSE(check.LoadControllerWords(dir.path()));
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(check.controllerTable().count(), 0);

    ASSERT_TRUE(WriteTestFile(QDir(dir.path()).filePath("KXWords.txt").toStdString(),
                              QByteArray::fromStdString(Record("HOMEPAD") + Record("HOME1"))));
    EXPECT_TRUE(check.LoadControllerWords(dir.path()));
    EXPECT_EQ(check.controllerTable().count(), 2);
    EXPECT_EQ(check.CheckProject({}, ": HOMEPOS 1 2 ;\r\n: HOME2 ;"), "HOMEPOS redefines a Kaventrix word\n");
    EXPECT_TRUE(check.conflictFound());
}

// The word list of a build tree lies beside the program; an installed program finds it in
// ../share/marlix; with neither, the program's folder is named (and its error shown).
TEST(DataFolder, BesideTheProgramFirstThenTheSharedDataFolder) {
    QTemporaryDir root;
    const QDir dir(root.path());
    ASSERT_TRUE(dir.mkpath("bin") && dir.mkpath("share/marlix"));
    const QString bin = dir.filePath("bin"), share = dir.filePath("share/marlix");
    EXPECT_EQ(DataFolder(bin, "KXWords.txt"), bin);
    ASSERT_TRUE(WriteTestFile(QDir(share).filePath("KXWords.txt").toStdString(), "x"));
    EXPECT_EQ(DataFolder(bin, "KXWords.txt"), share);
    ASSERT_TRUE(WriteTestFile(QDir(bin).filePath("KXWords.txt").toStdString(), "x"));
    EXPECT_EQ(DataFolder(bin, "KXWords.txt"), bin);
}

} // namespace
