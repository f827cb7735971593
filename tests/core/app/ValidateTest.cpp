#include "core/app/CoreWiring.h"
#include "core/app/WordCheck.h"
#include "core/app/WordCheckCommand.h"
#include "core/base/CommandIds.h"
#include "core/base/CommandRegistry.h"
#include "core/base/ProfileStore.h"
#include "core/base/TextDocuments.h"
#include "core/project/CPosDat.h"
#include "core/project/ProjectModel.h"
#include "core/protocol/Protocol.h"
#include "support/AppFiles.h"
#include "support/ScriptedUi.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

namespace {

// Text windows as the check sees them: which files are open or edited, and what it asked of them.
class RecordingDocuments : public TextDocuments {
public:
    bool IsOpen(const std::string& path) const override { return open.count(path) != 0; }
    bool IsModified(const std::string& path) const override { return modified.count(path) != 0; }
    bool SaveAs(const std::string& path, const std::string& newPath) override {
        saved.push_back(path);
        if (!WriteTestFile(newPath, editedText.c_str()))
            return false;
        modified.erase(path);
        return true;
    }
    void Close(const std::string& path) override {
        closed.push_back(path);
        open.erase(path);
    }
    bool OpenOrActivate(const std::string& path) override {
        opened.push_back(path);
        open.insert(path);
        return true;
    }

    std::set<std::string> open;
    std::set<std::string> modified;
    std::string editedText;
    std::vector<std::string> saved, closed, opened;
};

class ValidateTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        UseProfileFile(m_dir.filePath("profile.ini").toStdString());
        ResetCore();
        InstallScreen({&m_ui, nullptr, &m_docs});
        BindWordCheckCommands(commands());
        m_ed2 = m_dir.filePath("proj.ed2").toStdString();
        m_report = m_dir.filePath("conflicts.txt").toStdString();
    }
    void TearDown() override {
        InstallScreen({});
        ResetCore();
        UseProfileFile(std::string());
    }
    // A project whose file is proj.run in the test folder, with the given entry names and source.
    void OpenProject(const std::vector<std::string>& names, const char* source) {
        if (source) {
            ASSERT_TRUE(WriteTestFile(m_ed2, source));
        }
        WriteProfileString("Project", "filename", m_dir.filePath("proj.run").toStdString());
        projectDocument().LoadRememberedName();
        projectDocument().MarkOpened();
        projectModel().EntryNames = names;
    }
    static std::string Read(const std::string& path) { return ReadTestFile(path).toStdString(); }

    QTemporaryDir m_dir;
    ScriptedUi m_ui;
    RecordingDocuments m_docs;
    std::string m_ed2, m_report;
};

TEST_F(ValidateTest, EnabledWithAProjectFileAndAReadyLink) {
    EXPECT_FALSE(commands().IsEnabled(ID_EDIT_VALIDATE));
    protocol().ReplyState = reply::kIdle;
    EXPECT_FALSE(commands().IsEnabled(ID_EDIT_VALIDATE));
    OpenProject({}, "");
    EXPECT_TRUE(commands().IsEnabled(ID_PROJECT_VALIDATE));
    protocol().ReplyState = reply::kCollecting;
    EXPECT_FALSE(commands().IsEnabled(ID_EDIT_VALIDATE));
}

TEST_F(ValidateTest, ConflictsReplaceAnOpenReportWindow) {
    // Every name is checked, empty ones too.
    OpenProject({"", "PICK", "DROP", ""}, "VARIABLE PICK\r\n");
    m_docs.open.insert(m_report);
    Validate();
    EXPECT_EQ(Read(m_report), " redefines a project word\r\nPICK redefines a project word\r\n");
    EXPECT_EQ(m_docs.closed, std::vector<std::string>{m_report});
    EXPECT_EQ(m_docs.opened, std::vector<std::string>{m_report});
    EXPECT_TRUE(m_ui.messages.empty());
}

TEST_F(ValidateTest, UnsavedSourceIsSavedBeforeTheCheck) {
    OpenProject({"PICK"}, ": OTHER ;\r\n");
    m_docs.modified.insert(m_ed2);
    m_docs.editedText = ": PICK ;\r\n";
    Validate();
    EXPECT_EQ(m_docs.saved, std::vector<std::string>{m_ed2});
    EXPECT_EQ(Read(m_report), "PICK redefines a project word\r\n");
}

TEST_F(ValidateTest, CleanProjectSaysSoAndLeavesAnEmptyReport) {
    OpenProject({"PICK", "", "DROP"}, "( VARIABLE PICK )\r\n: GO PICK DROP ;\r\n");
    Validate();
    EXPECT_EQ(m_ui.messages, std::vector<std::string>{"No conflicts found"});
    EXPECT_EQ(Read(m_report), "");
    EXPECT_TRUE(m_docs.opened.empty());
}

TEST_F(ValidateTest, MissingSourceWritesNoReport) {
    OpenProject({"PICK"}, nullptr);
    Validate();
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_NE(m_ui.messages[0].find(" could not be opened because of this error: "), std::string::npos);
    EXPECT_EQ(Read(m_report), "<missing>");
    EXPECT_TRUE(m_docs.opened.empty());
}

} // namespace
