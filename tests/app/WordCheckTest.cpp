#include "app/WordCheck.h"
#include "app/SourceTokenizer.h"
#include "app/WordTable.h"
#include "support/ScriptedUi.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Strings = std::vector<std::string>;

// One word-list record: 19 characters with the length digit at offset 5 and the name at offset 7.
std::string Record(const std::string& name, char lengthDigit) {
    std::string r = "0A3F " + std::string(1, lengthDigit) + " " + name;
    r.resize(17, ' ');
    return r + "\r\n";
}

std::string Record(const std::string& name) {
    return Record(name, "0123456789ABCDEF"[name.size()]);
}

Strings Words(const std::string& text) {
    SourceTokenizer tokens(text);
    Strings words;
    std::string w;
    while (tokens.NextSignificantWord(w))
        words.push_back(w);
    return words;
}

TEST(WordTable, SameLengthAndFirstFiveCharactersMatch) {
    WordTable table;
    table.Add("HOMEPAD");
    table.Add("HOME1");
    table.Add("PLACE1");
    EXPECT_TRUE(table.Matches("HOMEPOS"));
    EXPECT_TRUE(table.Matches("HOMEPAD"));
    EXPECT_FALSE(table.Matches("HOME2")); // five characters are compared whole
    EXPECT_FALSE(table.Matches("HOMEPADS"));
    EXPECT_TRUE(table.Matches("PLACE2"));
    EXPECT_FALSE(table.Matches("place1")); // case counts
    EXPECT_FALSE(table.Matches("HOME"));
}

TEST(WordTable, ShortWordsCompareWholeAndLengthsWrapAtEightBits) {
    WordTable table;
    table.Add("HOME");
    EXPECT_TRUE(table.Matches("HOME"));
    EXPECT_FALSE(table.Matches("HOMES"));
    EXPECT_FALSE(table.Matches("HOMX"));
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

TEST(WordList, RecordsGiveLengthAndName) {
    WordTable table;
    const std::string list = Record("HOMEPAD") + Record("DUP") + Record("CALIBRATE") + "\r\n  " + Record("X");
    WordCheck::ParseWordList(QByteArray::fromStdString(list), table);
    EXPECT_EQ(table.count(), 4);
    EXPECT_TRUE(table.Matches("HOMEPOS"));
    EXPECT_TRUE(table.Matches("DUP"));
    EXPECT_TRUE(table.Matches("CALIBxxxx")); // length 9 written as the digit "9"
    EXPECT_TRUE(table.Matches("X"));
}

TEST(WordList, LettersGiveLengthsAboveNineAndNamesMayRunPastTheRecord) {
    WordTable table;
    // "C" is 12; the name fills the record to its last character.
    std::string r = "0A3F C TWELVELETTRS";
    WordCheck::ParseWordList(QByteArray::fromStdString(r), table);
    EXPECT_EQ(table.count(), 1);
    EXPECT_TRUE(table.Matches("TWELVxxxxxxx"));
    EXPECT_FALSE(table.Matches("TWELVxxxxxx"));
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

TEST_F(Check, SourceWordAgainstControllerWord) {
    check.controllerTable().Add("HOMEPAD");
    check.controllerTable().Add("HOME1");
    EXPECT_EQ(check.CheckProject({}, ": HOMEPOS 1 2 ;\r\n: HOME2 ;"), "HOMEPOS redefines a Kaventrix word\n");
    EXPECT_TRUE(check.conflictFound());
}

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

TEST_F(Check, ReportIsWrittenBesideTheSourceWithCrLf) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string ed2 = dir.filePath("proj.ed2").toStdString();
    QFile source(QString::fromStdString(ed2));
    ASSERT_TRUE(source.open(QIODevice::WriteOnly));
    source.write(": PICK ;\r\nVARIABLE DROP\r\n");
    source.close();

    EXPECT_EQ(check.CheckFiles({"PICK", "DROP"}, ed2), WordCheck::Outcome::Conflicts);
    QFile report(dir.filePath("conflicts.txt"));
    ASSERT_TRUE(report.open(QIODevice::ReadOnly));
    EXPECT_EQ(report.readAll(),
              QByteArray("PICK redefines a project word\r\nDROP redefines a project word\r\n"));
    report.close();

    EXPECT_EQ(check.CheckFiles({"OTHER"}, ed2), WordCheck::Outcome::NoConflicts);
    ASSERT_TRUE(report.open(QIODevice::ReadOnly));
    EXPECT_TRUE(report.readAll().isEmpty());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Check, MissingSourceIsReportedAndWritesNoReport) {
    QTemporaryDir dir;
    const std::string ed2 = dir.filePath("none.ed2").toStdString();
    EXPECT_EQ(check.CheckFiles({"PICK"}, ed2), WordCheck::Outcome::Failed);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("none.ed2 could not be opened because of this error: "), std::string::npos);
    EXPECT_FALSE(QFile::exists(dir.filePath("conflicts.txt")));
}

TEST_F(Check, ControllerWordsLoadFromTheGivenDirectory) {
    QTemporaryDir dir;
    EXPECT_FALSE(check.LoadControllerWords(dir.path()));
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(check.controllerTable().count(), 0);

    QFile list(QDir(dir.path()).filePath("KXWords.txt"));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write(QByteArray::fromStdString(Record("HOMEPAD") + Record("DUP")));
    list.close();
    EXPECT_TRUE(check.LoadControllerWords(dir.path()));
    EXPECT_EQ(check.controllerTable().count(), 2);
    EXPECT_EQ(check.CheckProject({}, ": HOMEPOS ;"), "HOMEPOS redefines a Kaventrix word\n");
}

} // namespace
