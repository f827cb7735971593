#include "core/app/WordCheck.h"
#include "core/app/DataFolder.h"
#include "core/app/SourceTokenizer.h"
#include "core/app/WordCheckCommand.h"
#include "core/app/WordTable.h"
#include "core/base/CommandIds.h"
#include "core/base/CommandRegistry.h"
#include "core/base/ProfileStore.h"
#include "core/project/CPosDat.h"
#include "core/project/ProjectModel.h"
#include "support/CoreTest.h"

#include <QDir>

namespace {

using Strings = std::vector<std::string>;

// One word-list record: 19 characters with the length digit at offset 5 and the name at offset 7.
std::string Record(const std::string& name) {
    std::string r = "0A3F " + std::string(1, "0123456789ABCDEF"[name.size() % 16]) + " " + name;
    r.resize(17, ' ');
    return r + "\r\n";
}

// Two words clash when they have the same length and the same first five characters.
TEST(WordTable, SameLengthAndFirstFiveCharactersMatch) {
    WordTable table;
    for (const char* w : {"HOMEPAD", "HOME1", "PLACE1", "HOME", ""})
        table.Add(w);
    table.Add(std::string("ABCDE") + std::string(256, 'z')); // 261 characters: the length wraps to 5
    const std::pair<std::string, bool> rows[] = {
        {"HOMEPOS", true}, {"HOMEPAD", true}, {"HOME2", false}, {"HOMEPADS", false}, {"PLACE2", true},
        {"place1", false}, {"HOME", true},    {"HOMX", false},  {"ABCDE", true},     {"", true}};
    for (const auto& [word, matches] : rows)
        EXPECT_EQ(table.Matches(word), matches) << word;
    for (int i = 0; i < 1000; ++i)
        table.Add("W" + std::to_string(i));
    EXPECT_EQ(table.count(), 1000) << "additions beyond a thousand are ignored";
    EXPECT_FALSE(table.Matches("W999"));
}

TEST(WordTable, RecordsGiveLengthAndNameWithOrWithoutSeparators) {
    WordTable table;
    // Records follow each other every 19 characters, also when their last two are not blanks; a record
    // cut before its length digit adds nothing.
    WordCheck::ParseWordList(QByteArray::fromStdString(Record("HOMEPAD") + Record("CALIBRATE") + "\r\n  " +
                                                       Record("X") + Record("AAA").substr(0, 17) + ".." +
                                                       Record("BBBB").substr(0, 17) +
                                                       "..0A3F C TWELVELETTRS  0A3F"),
                             table);
    EXPECT_EQ(table.count(), 6);
    for (const char* w : {"HOMEPOS", "CALIBxxxx", "X", "AAA", "BBBB", "TWELVxxxxxxx"})
        EXPECT_TRUE(table.Matches(w)) << w;
    EXPECT_FALSE(table.Matches("TWELVxxxxxx"));
}

TEST(SourceWords, CommentsRunToTheClosingWordOrTheLineEndAndNest) {
    const std::pair<std::string, Strings> rows[] = {
        {": A ( VARIABLE X ) B ;", {":", "A", "B", ";"}},
        {"( note\r\nVARIABLE X", {"VARIABLE", "X"}},
        {"(\nVARIABLE X", {"VARIABLE", "X"}},
        {"(TEACH) VARIABLE X ) Y", {"Y"}},
        {"A )B C", {"A", ")B", "C"}},
        {"A ( x ( y ) z ) B", {"A", "B"}},
        {"A ( ( y ) z B", {"A"}},
        {"( ( (\r\nB C", {"B", "C"}},
        {" \t\r\n", {}},
        {std::string(150, 'L') + " NEXT", {std::string(99, 'L'), "NEXT"}},
    };
    for (const auto& [text, words] : rows) {
        SourceTokenizer tokens(text);
        Strings found;
        for (std::string w; tokens.NextSignificantWord(w);)
            found.push_back(w);
        EXPECT_EQ(found, words) << text;
    }
}

TEST(WordCheckReport, ProjectNamesDefinedWordsAndControllerWordsAreCheckedAgainstEachOther) {
    WordCheck check;
    EXPECT_EQ(
        check.CheckProject({"PICK", "DROP", "PLACE1"},
                           "VARIABLE PICK\r\n10 CONSTANT PLACE2 USER U1 USARRAY U2 "
                           "CODE C1 : U1 ;\r\n( VARIABLE DROP )\r\nVARIABLE"),
        "PICK redefines a project word\nPLACE2 redefines a project word\nU1 redefines a project word\n");
    EXPECT_EQ(check.CheckProject({"PICK"}, ""), "") << "each check starts with an empty project table";
    EXPECT_FALSE(check.conflictFound());
    check.controllerTable().Add("HOME");
    EXPECT_EQ(
        check.CheckProject({"HOME"}, ": HOME ;"),
        "HOME redefines a Kaventrix word\nHOME redefines a Kaventrix word\nHOME redefines a project word\n");
}

class Validate : public CoreTest {
protected:
    // A project proj.run in the test folder with these entry names and source.
    void OpenProject(const Strings& names, const char* source) {
        BindWordCheckCommands(commands());
        Write("proj.ed2", source);
        WriteProfileString("Project", "filename", Path("proj.run"));
        projectDocument().LoadRememberedName();
        projectDocument().MarkOpened();
        projectModel().EntryNames = names;
    }
    void Run() { EXPECT_TRUE(commands().Run(ID_EDIT_VALIDATE)); }
    const std::string report = Path("conflicts.txt");
};

// The word list lies beside the program, or for an installed one in ../share/marlix.
TEST_F(Validate, TheControllerWordsAreReadFromTheProgramsDataFolder) {
    const QDir root(dir.path());
    ASSERT_TRUE(root.mkpath("bin") && root.mkpath("share/marlix"));
    const QString bin = root.filePath("bin"), share = root.filePath("share/marlix");
    EXPECT_EQ(DataFolder(bin, "KXWords.txt"), bin);
    WordCheck check;
    EXPECT_FALSE(check.LoadControllerWords(bin));
    EXPECT_EQ(ui.messages.size(), 1u);
    Write("share/marlix/KXWords.txt", Record("HOMEPAD") + Record("HOME1"));
    EXPECT_EQ(DataFolder(bin, "KXWords.txt"), share);
    EXPECT_TRUE(check.LoadControllerWords(share));
    EXPECT_EQ(check.CheckProject({}, ": HOMEPOS 1 2 ;\r\n: HOME2 ;"), "HOMEPOS redefines a Kaventrix word\n");
    Write("bin/KXWords.txt", "x");
    EXPECT_EQ(DataFolder(bin, "KXWords.txt"), bin);
}

TEST_F(Validate, ConflictsAreWrittenBesideTheSourceAndShownInAFreshWindow) {
    OpenProject({"", "PICK", "DROP", ""}, ": OTHER ;\r\n"); // every name counts, empty ones too
    texts.docs[report] = {"old report", false};
    texts.docs[Path("proj.ed2")] = {"VARIABLE PICK\r\n", true}; // unsaved source edits are saved first
    Run();
    EXPECT_EQ(Read("conflicts.txt"), " redefines a project word\r\nPICK redefines a project word\r\n");
    EXPECT_EQ(texts.calls, (Strings{"save " + Path("proj.ed2") + " as " + Path("proj.ed2"), "close " + report,
                                    "show " + report}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Validate, ACleanProjectSaysSoAndAMissingSourceWritesNoReport) {
    OpenProject({"PICK", "", "DROP"}, "( VARIABLE PICK )\r\n: GO PICK DROP ;\r\n");
    Run();
    EXPECT_EQ(ui.messages, Strings{"No conflicts found"});
    EXPECT_EQ(Read("conflicts.txt"), "");
    EXPECT_TRUE(texts.calls.empty());
    QFile::remove(QString::fromStdString(Path("proj.ed2")));
    QFile::remove(QString::fromStdString(report));
    Run();
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_NE(ui.messages[1].find(" could not be opened because of this error: "), std::string::npos);
    EXPECT_FALSE(TestFileExists(report));
}

} // namespace
