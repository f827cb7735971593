#include "core/project/ProjectPair.h"
#include "support/ProjectTestSupport.h"

#include <QFileDevice>
#include <QFileInfo>

using namespace runlist;

namespace {

const QByteArray kOldRun("old run bytes");
const QByteArray kOldEd1("KAVENTRIX\nSTARTOVER\nPLACE OLD\n");

} // namespace

TEST_F(ProjectTest, SaveAsWritesTheSourceUnderTheNewName) {
    WriteEmptyProject("a");
    WriteFile(QPath("a.ED2"), ": TWICE 2 * ;\n");
    ASSERT_TRUE(doc.OpenFile(Path("a.run")));
    texts.docs[Path("a.ED2")].text = ": TWICE 3 * ;\n";
    texts.docs[Path("a.ED2")].modified = true;
    EXPECT_TRUE(doc.IsModified()); // unsaved source edits count

    ui.savePath = Path("b.run");
    ASSERT_TRUE(doc.SaveFileDocumentAs());
    EXPECT_EQ(ReadFile(QPath("b.run")).size(), 18);
    EXPECT_EQ(ReadFile(QPath("b.ED1")), QByteArray("KAVENTRIX\nSTARTOVER\n"));
    EXPECT_EQ(ReadFile(QPath("b.ED2")), QByteArray(": TWICE 3 * ;\n"));
    EXPECT_EQ(ReadFile(QPath("a.ED2")), QByteArray(": TWICE 2 * ;\n"));
    EXPECT_EQ(doc.GetPathName(), Path("b.run"));
    EXPECT_EQ(doc.Ed2Path(), Path("b.ED2"));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(ui.boxTexts.back(), "Saving " + Path("b.ED2"));
}

TEST_F(ProjectTest, SaveAsWithoutTextEditorCopiesTheSource) {
    InstallScreen({&ui});
    WriteEmptyProject("a");
    WriteFile(QPath("a.ed2"), "SOURCE\n");
    ASSERT_TRUE(doc.OpenFile(Path("a.run")));
    ui.savePath = Path("c.run");
    ASSERT_TRUE(doc.SaveFileDocumentAs());
    EXPECT_EQ(ReadFile(QPath("c.ED2")), QByteArray("SOURCE\n"));
}

TEST_F(ProjectTest, FailedSaveLeavesTheOldFiles) {
    WriteFile(QPath("p.run"), kOldRun);
    WriteFile(QPath("p.ED1"), kOldEd1);
    AddPlace("NEW");
    doc.SetModifiedFlag();

    // The declarations cannot be written (a folder stands where the file would go): nothing changes.
    ASSERT_TRUE(QDir(dir.path()).mkdir("q.ED1"));
    WriteFile(QPath("q.run"), kOldRun);
    ui.savePath = Path("q.run");
    EXPECT_FALSE(doc.SaveFileDocumentAs());
    EXPECT_EQ(ui.messages, std::vector<std::string>{Path("q.ED1") + " could not be opened"});
    EXPECT_EQ(ReadFile(QPath("q.run")), kOldRun);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.GetPathName().empty());
    EXPECT_FALSE(ui.boxOpen);
}

TEST_F(ProjectTest, SaveIntoAnUnwritableFolderLeavesTheOldFiles) {
    WriteFile(QPath("p.run"), kOldRun);
    WriteFile(QPath("p.ED1"), kOldEd1);
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QFile probe(QPath("probe"));
    if (probe.open(QIODevice::WriteOnly)) {
        probe.remove();
        QFile::setPermissions(dir.path(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        GTEST_SKIP() << "permissions do not apply to this user";
    }
    AddPlace("NEW");
    ui.savePath = Path("p.run");
    EXPECT_FALSE(doc.SaveFileDocumentAs());
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find(Path("p.run")), std::string::npos);
    EXPECT_EQ(ReadFile(QPath("p.run")), kOldRun);
    EXPECT_EQ(ReadFile(QPath("p.ED1")), kOldEd1);
}

// What an interrupted save of the pair left behind, and what opening the project makes of it.
TEST_F(ProjectTest, InterruptedPairSaveIsFinishedOrUndoneAtOpening) {
    const QByteArray kNewRun("new run bytes");
    const QByteArray kNewEd1("KAVENTRIX\nSTARTOVER\n");
    const QByteArray whole("p.run\np.ED1\nend\n");
    struct Case {
        const char* left;
        QByteArray marker; // empty: none
        bool runTemp, ed1Temp, newPair;
    } cases[] = {
        {"both files written, no marker", "", true, true, false},
        {"marker cut short", "p.run\np.E", true, true, false},
        {"marker without its end", "p.run\np.ED1\n", true, true, false},
        {"marker, nothing renamed", whole, true, true, true},
        {"marker, .run renamed", whole, false, true, true},
        {"marker, both renamed", whole, false, false, true},
    };
    for (const Case& c : cases) {
        WriteFile(QPath("p.run"), c.marker == whole && !c.runTemp ? kNewRun : kOldRun);
        WriteFile(QPath("p.ED1"), c.marker == whole && !c.ed1Temp ? kNewEd1 : kOldEd1);
        if (c.runTemp)
            WriteFile(QPath("p.run.new"), kNewRun);
        if (c.ed1Temp)
            WriteFile(QPath("p.ED1.new"), kNewEd1);
        if (!c.marker.isEmpty())
            WriteFile(QPath("p.run.pair"), c.marker);
        RecoverProjectPair(Path("p.run"), Path("p.ED1"));
        EXPECT_EQ(ReadFile(QPath("p.run")), c.newPair ? kNewRun : kOldRun) << c.left;
        EXPECT_EQ(ReadFile(QPath("p.ED1")), c.newPair ? kNewEd1 : kOldEd1) << c.left;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"p.ED1", "p.run"})) << c.left;
    }
}

TEST_F(ProjectTest, NewStartsTheControllerOverAndEmptiesTheSource) {
    WriteFile(QPath("n.ED2"), "OLD SOURCE\n");
    ui.savePath = Path("n.run");
    ASSERT_TRUE(doc.NewFileDocument());
    EXPECT_EQ(controller.lines, (std::vector<std::string>{"KAVENTRIX", "STARTOVER", "NEW"}));
    EXPECT_EQ(ReadFile(QPath("n.ED2")), QByteArray());
    EXPECT_TRUE(texts.IsOpen(Path("n.ED2")));
    EXPECT_EQ(doc.GetPathName(), Path("n.run"));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(QFileInfo::exists(QPath("n.run"))); // written on the first save
    EXPECT_EQ(announced.back(), "opened");
}

TEST_F(ProjectTest, CloseAsksAndEmptiesTheProject) {
    WriteEmptyProject("a");
    WriteFile(QPath("a.ed2"), "X\n");
    ASSERT_TRUE(doc.OpenFile(Path("a.run")));
    AddPlace("P1");
    doc.SetModifiedFlag();

    ui.answers.push_back(Answer::Cancel);
    EXPECT_FALSE(doc.CloseFileDocument());
    EXPECT_EQ(model.EntryNames.size(), 1u);

    ui.answers.push_back(Answer::No);
    EXPECT_TRUE(doc.CloseFileDocument());
    EXPECT_EQ(ui.questions.back(), "The Project has been modified, do you wish to save it?");
    EXPECT_TRUE(model.EntryNames.empty());
    EXPECT_EQ(model.FirstEntry(), kNoEntry);
    EXPECT_FALSE(texts.IsOpen(Path("a.ed2")));
    EXPECT_TRUE(doc.GetPathName().empty());
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(ProjectTest, RefusedDeclarationClosesTheOpenedProject) {
    WriteEmptyProject("a");
    controller.lineAnswer = [this](const std::string& line) {
        return line == "STARTOVER" ? line + " ?\r\n>" : Answer(line);
    };
    EXPECT_FALSE(doc.OpenFile(Path("a.run")));
    EXPECT_TRUE(doc.GetPathName().empty());
    EXPECT_EQ(std::count(controller.lines.begin(), controller.lines.end(), "IOFLAG C0SET"), 1);
}
