// What every file document does (save question, New, Open, Save As, the remembered name); the macro
// set stands for all of them.
#include "core/base/ProfileStore.h"
#include "core/macros/Cmacdoc.h"
#include "support/CoreTest.h"

namespace {

using Lines = std::vector<std::string>;
const QByteArray kOneMacro("\x01\x00\x01"
                           "A\x01\x00\x01"
                           "1",
                           8);

class Document : public CoreTest {
protected:
    Cmacdoc& doc = macroDoc();
};

TEST_F(Document, TheSaveQuestionComesOnlyWhenModifiedAndItsAnswerDecides) {
    ASSERT_TRUE(doc.OpenFile(Write("a.mac", kOneMacro)));
    EXPECT_EQ(doc.GetTitle(), "a.mac");
    EXPECT_TRUE(doc.CloseFileDocument());
    EXPECT_TRUE(ui.questions.empty() && doc.GetPathName().empty() && doc.count() == 0);

    ASSERT_TRUE(doc.OpenFile(Path("a.mac")));
    doc.Append("B", "2");
    ui.answers = {Answer::Cancel, Answer::No};
    EXPECT_FALSE(doc.CloseFileDocument());
    EXPECT_EQ(ui.questions, Lines{"Do you wish to save new Macros?"});
    EXPECT_TRUE(doc.IsModified() && doc.GetPathName() == Path("a.mac"));
    EXPECT_TRUE(doc.CloseFileDocument()); // No: discarded
    EXPECT_EQ(Read("a.mac"), kOneMacro);

    ASSERT_TRUE(doc.OpenFile(Path("a.mac")));
    doc.Remove(0);
    ui.answers = {Answer::Yes};
    EXPECT_TRUE(doc.CloseFileDocument());
    EXPECT_EQ(Read("a.mac"), QByteArray(4, '\0'));
    EXPECT_TRUE(ui.fileDialogs.empty()) << "a document with a path saves without a dialog";
}

TEST_F(Document, YesWithoutAPathAsksForANameAndCancelThereStopsTheClose) {
    doc.Append("A", "1");
    ui.answers = {Answer::Yes, Answer::Yes};
    EXPECT_FALSE(doc.CloseFileDocument());
    EXPECT_EQ(ui.fileDialogs, Lines{"Save As|Macro Files (*.mac)|*.mac|||mac|*.mac"});
    EXPECT_EQ(doc.count(), 1);
    ui.fileNames = {Path("new.mac")};
    EXPECT_TRUE(doc.CloseFileDocument());
    EXPECT_EQ(Read("new.mac"), kOneMacro);
    // The dialogs start from the last name.
    EXPECT_TRUE(doc.count() == 0 && doc.fileName() == Path("new.mac"));
}

TEST_F(Document, NewAndOpenTakeTheChosenFileAndFailuresKeepTheOldPath) {
    ui.fileNames = {Path("fresh.mac")};
    ASSERT_TRUE(doc.NewFileDocument());
    EXPECT_EQ(ui.fileDialogs.back(), "New File|Macro Files (*.mac)|*.mac|||mac|*.mac");
    EXPECT_TRUE(doc.GetPathName() == Path("fresh.mac") &&
                !TestFileExists(Path("fresh.mac"))); // nothing written yet
    doc.Append("A", "1");
    ui.answers = {Answer::No};
    EXPECT_FALSE(doc.NewFileDocument()); // the file dialog is cancelled
    EXPECT_EQ(doc.count(), 0);

    ui.fileNames = {Path("missing.mac")};
    EXPECT_FALSE(doc.OpenFileDocument() || !doc.GetPathName().empty());
    EXPECT_EQ(ui.messages, Lines{"Cannot open file " + Path("missing.mac")});
    ui.fileNames = {Write("good.mac", kOneMacro)};
    ASSERT_TRUE(doc.OpenFileDocument());
    EXPECT_EQ(ui.fileDialogs.back(), "Open|Macro Files (*.mac)|*.mac|||mac|" + Path("missing.mac"));
    doc.Append("B", "2");
    ui.fileNames = {Path("no-such-folder/b.mac")};
    EXPECT_FALSE(doc.SaveFileDocumentAs());
    EXPECT_TRUE(doc.IsModified() && doc.GetPathName() == Path("good.mac"));
    EXPECT_EQ(ui.messages.back(), "Cannot save file " + Path("no-such-folder/b.mac"));
}

TEST_F(Document, TheRememberedNameReopensTheFileOrPresetsTheDialogs) {
    EXPECT_FALSE(doc.ReopenRememberedFile() || doc.fileName() != "*.mac");
    doc.RememberFileName();
    EXPECT_EQ(GetProfileString("Macro", "filename", "absent"), "");
    ASSERT_TRUE(doc.OpenFile(Write("kept.mac", kOneMacro)));
    doc.RememberFileName();
    ASSERT_TRUE(doc.CloseFileDocument());
    EXPECT_TRUE(doc.ReopenRememberedFile() && doc.name(0) == "A");
    ASSERT_TRUE(doc.CloseFileDocument());
    doc.LoadRememberedName();
    EXPECT_TRUE(doc.fileName() == Path("kept.mac") && doc.GetPathName().empty()); // nothing opened
}

} // namespace
