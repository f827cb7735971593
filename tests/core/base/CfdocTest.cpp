#include "core/base/Cfdoc.h"
#include "core/app/FileFilter.h"
#include "core/base/ProfileStore.h"
#include "support/AppFiles.h"
#include "support/ScriptedUi.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <deque>
#include <gtest/gtest.h>

namespace {

// Answers file dialogs from a queue (empty: cancelled) and records how they were asked.
class FileDialogUi : public ScriptedUi {
public:
    struct Request {
        std::string kind, title, startPath;
    };
    std::string AskOpenFileName(const std::string& title, const std::string&, const std::string&,
                                const std::string& start) override {
        return Next({"open", title, start});
    }
    std::string AskSaveFileName(const std::string& title, const std::string&, const std::string&,
                                const std::string& start) override {
        return Next({"save", title, start});
    }
    std::deque<std::string> fileNames;
    std::vector<Request> requests;

private:
    std::string Next(Request request) {
        requests.push_back(std::move(request));
        if (fileNames.empty())
            return std::string();
        std::string name = fileNames.front();
        fileNames.pop_front();
        return name;
    }
};

// A document whose contents are one text, saved and loaded as the file's bytes.
class TextDoc : public Cfdoc {
public:
    TextDoc()
        : Cfdoc("Settings Files (*.cfg)|*.cfg||", "cfg", "*.cfg", "Config", "filename",
                "Do you wish to save new settings?") {}
    std::string text;
    int newSteps = 0;
    int deletes = 0;

protected:
    bool OnNewDocument() override {
        ++newSteps;
        return Cfdoc::OnNewDocument();
    }
    bool OnOpenDocument(const std::string& path) override {
        QByteArray bytes;
        if (!ReadWholeFile(path, bytes))
            return false;
        text = bytes.toStdString();
        SetModifiedFlag(false);
        return true;
    }
    bool OnSaveDocument(const std::string& path) override {
        return WriteWholeFile(path, QByteArray::fromStdString(text));
    }
    void DeleteContents() override { ++deletes; }
};

class CfdocTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        UseProfileFile(Path("profile.ini"));
    }
    void TearDown() override { UseProfileFile(std::string()); }

    std::string Path(const char* name) const { return QDir(dir.path()).filePath(name).toStdString(); }

    QTemporaryDir dir;
    FileDialogUi ui;
    TextDoc doc;
};

TEST_F(CfdocTest, SaveQuestionOnlyWhenModifiedCancelKeepsNoDiscardsYesSaves) {
    ASSERT_TRUE(WriteTestFile(Path("a.cfg"), "alpha"));
    ASSERT_TRUE(doc.OpenFile(Path("a.cfg")));
    EXPECT_TRUE(doc.CloseFileDocument());
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_TRUE(doc.GetPathName().empty());
    EXPECT_TRUE(doc.GetTitle().empty());

    ASSERT_TRUE(doc.OpenFile(Path("a.cfg")));
    doc.SetModifiedFlag();
    ui.answers.push_back(Answer::Cancel);
    EXPECT_FALSE(doc.CloseFileDocument());
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0], "Do you wish to save new settings?");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), Path("a.cfg"));
    EXPECT_EQ(doc.GetTitle(), "a.cfg");

    // No discards without asking again; Yes saves first.
    doc.text = "changed";
    ui.answers.push_back(Answer::No);
    EXPECT_TRUE(doc.SaveModified());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(doc.CloseFileDocument());
    EXPECT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(ReadTestFile(Path("a.cfg")), "alpha");

    ASSERT_TRUE(doc.OpenFile(Path("a.cfg")));
    doc.text = "beta";
    doc.SetModifiedFlag();
    ui.answers.push_back(Answer::Yes);
    EXPECT_TRUE(doc.CloseFileDocument());
    EXPECT_EQ(ReadTestFile(Path("a.cfg")), "beta");
    EXPECT_TRUE(ui.requests.empty()) << "a document with a path saves without a dialog";
}

TEST_F(CfdocTest, YesWithoutPathAsksNameAndCancelThereStopsTheClose) {
    doc.text = "unsaved";
    doc.SetModifiedFlag();
    ui.answers = {Answer::Yes, Answer::Yes};
    EXPECT_FALSE(doc.CloseFileDocument());
    ASSERT_EQ(ui.requests.size(), 1u);
    EXPECT_EQ(ui.requests[0].kind, "save");
    EXPECT_EQ(ui.requests[0].title, "Save As");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.deletes, 0);

    ui.fileNames.push_back(Path("new.cfg"));
    EXPECT_TRUE(doc.CloseFileDocument());
    EXPECT_EQ(ReadTestFile(Path("new.cfg")), "unsaved");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.deletes, 1);
    EXPECT_TRUE(doc.GetPathName().empty()) << "closing clears the path";
    EXPECT_EQ(doc.fileName(), Path("new.cfg")) << "the dialogs start from the last name";
}

TEST_F(CfdocTest, NewStartsFromThePatternAndTakesTheChosenPath) {
    ui.fileNames.push_back(Path("fresh.cfg"));
    ASSERT_TRUE(doc.NewFileDocument());
    ASSERT_EQ(ui.requests.size(), 1u);
    EXPECT_EQ(ui.requests[0].kind, "save");
    EXPECT_EQ(ui.requests[0].title, "New File");
    EXPECT_EQ(ui.requests[0].startPath, "*.cfg");
    EXPECT_EQ(doc.GetPathName(), Path("fresh.cfg"));
    EXPECT_EQ(doc.newSteps, 1);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Path("fresh.cfg")))) << "New writes nothing yet";

    // Cancel in the dialog: the new-document step does not run.
    EXPECT_FALSE(doc.NewFileDocument());
    EXPECT_EQ(doc.newSteps, 1);
}

TEST_F(CfdocTest, FailedOpenLeavesNoPathAndFailedSaveKeepsTheOldOne) {
    ui.fileNames.push_back(Path("missing.cfg"));
    EXPECT_FALSE(doc.OpenFileDocument());
    EXPECT_TRUE(doc.GetPathName().empty());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("missing.cfg"), std::string::npos);

    ASSERT_TRUE(WriteTestFile(Path("good.cfg"), "gamma"));
    ui.fileNames.push_back(Path("good.cfg"));
    ASSERT_TRUE(doc.OpenFileDocument());
    EXPECT_EQ(ui.requests.back().kind, "open");
    EXPECT_EQ(ui.requests.back().startPath, Path("missing.cfg"));
    EXPECT_EQ(doc.text, "gamma");
    EXPECT_EQ(doc.GetPathName(), Path("good.cfg"));

    // A save that fails keeps the document modified under its old path.
    doc.SetModifiedFlag();
    ui.fileNames.push_back(Path("no-such-folder/b.cfg"));
    EXPECT_FALSE(doc.SaveFileDocumentAs());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), Path("good.cfg"));
    EXPECT_EQ(ui.messages.size(), 2u);
}

TEST_F(CfdocTest, RememberedNameRoundTrip) {
    // Nothing remembered: nothing opens and the dialogs keep the pattern.
    EXPECT_FALSE(doc.ReopenRememberedFile());
    EXPECT_EQ(doc.fileName(), "*.cfg");
    doc.RememberFileName();
    EXPECT_EQ(GetProfileString("Config", "filename", "absent"), "");

    ASSERT_TRUE(WriteTestFile(Path("kept.cfg"), "delta"));
    ASSERT_TRUE(doc.OpenFile(Path("kept.cfg")));
    doc.RememberFileName();

    TextDoc next;
    EXPECT_TRUE(next.ReopenRememberedFile());
    EXPECT_EQ(next.text, "delta");
    EXPECT_EQ(next.GetPathName(), Path("kept.cfg"));

    TextDoc preset;
    preset.LoadRememberedName();
    EXPECT_EQ(preset.fileName(), Path("kept.cfg"));
    EXPECT_TRUE(preset.GetPathName().empty()) << "loading the name opens nothing";
}

TEST(FileFilterTest, DialogFiltersAndStartPaths) {
    const auto entries = [](const std::string& filter) {
        std::vector<std::string> list;
        for (const DialogFilter& entry : DialogFiltersFromFilter(filter))
            list.push_back(entry.nameFilter + (entry.withoutExtension ? " without extension" : ""));
        return list;
    };
    EXPECT_EQ(entries("Settings Files (*.cfg)|*.cfg||"), std::vector<std::string>{"Settings Files (*.cfg)"});
    EXPECT_EQ(
        entries("Text|*.txt;*.log|All Files (*.*)|*.*|Source (*.)|*.||"),
        (std::vector<std::string>{"Text (*.txt *.log)", "All Files (*)", "Source (*) without extension"}));
    EXPECT_TRUE(entries("").empty());

    EXPECT_EQ(StartFolderOf("*.cfg"), "");
    EXPECT_EQ(StartFileOf("*.cfg"), "");
    EXPECT_EQ(StartFileOf("/home/op/arm.cfg"), "arm.cfg");
    EXPECT_EQ(StartFolderOf("/arm.cfg"), "/");
    EXPECT_EQ(StartFileOf("/data/*.run"), "");
}

} // namespace
