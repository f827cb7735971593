#include "core/macros/Cmacdoc.h"
#include "core/app/CoreWiring.h"
#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"
#include "support/AppFiles.h"
#include "support/FakeController.h"
#include "support/ScriptedUi.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class FileAnsweringUi : public ScriptedUi {
public:
    std::string AskSaveFileName(const std::string&, const std::string&, const std::string&,
                                const std::string&) override {
        return savePath;
    }
    std::string savePath;
};

class MacroSet : public ::testing::Test {
protected:
    void SetUp() override {
        ResetCore();
        commLink().SetTransport(&port);
        commLink().EnsureDocument();
        protocol().ReplyState = reply::kIdle;
        ASSERT_TRUE(dir.isValid());
    }
    void TearDown() override { ResetCore(); }
    std::string Path(const char* name) const { return dir.filePath(name).toStdString(); }

    FileAnsweringUi ui;
    FakeController port{ui};
    QTemporaryDir dir;
};

TEST_F(MacroSet, EditsKeepNamesAndTextsInStep) {
    Cmacdoc& set = macroDoc();
    for (const char* n : {"M1", "M2", "M3", "M4", "M5"})
        set.Append(n, std::string("T") + n);
    EXPECT_TRUE(set.IsModified());
    set.Remove(2);
    ASSERT_EQ(set.count(), 4);
    EXPECT_EQ(set.name(2), "M4");
    EXPECT_EQ(set.text(2), "TM4");
    set.Remove(7); // out of range: nothing
    EXPECT_EQ(set.count(), 4);
}

TEST_F(MacroSet, SavedSetReopensWithEveryMacro) {
    Cmacdoc& set = macroDoc();
    ui.savePath = Path("set.mac");
    ASSERT_TRUE(set.NewFileDocument());
    EXPECT_EQ(set.count(), 0);
    set.Append("A", "1");
    set.Append("B", "2");
    ASSERT_TRUE(set.SaveFileDocument());
    EXPECT_FALSE(set.IsModified());
    ASSERT_TRUE(set.CloseFileDocument());
    EXPECT_EQ(set.count(), 0);
    EXPECT_TRUE(set.GetPathName().empty());
    ASSERT_TRUE(set.OpenFile(ui.savePath));
    ASSERT_EQ(set.count(), 2);
    EXPECT_EQ(set.name(1), "B");
    EXPECT_EQ(set.text(1), "2");
    EXPECT_EQ(set.GetPathName(), ui.savePath);
}

TEST_F(MacroSet, ClosingAModifiedSetAsksItsQuestion) {
    Cmacdoc& set = macroDoc();
    set.Append("A", "1");
    ui.answers.push_back(Answer::No);
    EXPECT_TRUE(set.CloseFileDocument());
    EXPECT_EQ(set.count(), 0);
    EXPECT_EQ(ui.questions, std::vector<std::string>{"Do you wish to save new Macros?"});
}

TEST_F(MacroSet, DamagedFileIsReportedAndLeavesNoPath) {
    ASSERT_TRUE(WriteTestFile(Path("bad.mac"), QByteArray("\x05\x00\x01", 3)));
    Cmacdoc& set = macroDoc();
    EXPECT_FALSE(set.OpenFile(Path("bad.mac")));
    EXPECT_TRUE(set.GetPathName().empty());
    ASSERT_EQ(ui.messages.size(), 1u);
}

TEST_F(MacroSet, MacroSendsEachLineAndWaitsForItsReply) {
    Cmacdoc& set = macroDoc();
    set.Append("Two", "HOME\r\nCALIBRATE");
    EXPECT_TRUE(set.RunMacro(0));
    // The CR of the text is dropped; its LF and the "\n" written after the text each send CR.
    EXPECT_EQ(port.written, "HOME\rCALIBRATE\r");
    EXPECT_TRUE(ui.events.empty());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(protocol().ControllerStream.good());
}

TEST_F(MacroSet, TextEndingInALineEndOrEmptySendsOneMoreBareCr) {
    macroDoc().Append("Home", "HOME\r\n");
    macroDoc().Append("Empty", "");
    EXPECT_TRUE(macroDoc().RunMacro(0));
    EXPECT_EQ(port.written, "HOME\r\r");
    EXPECT_TRUE(macroDoc().RunMacro(1));
    EXPECT_EQ(port.written, "HOME\r\r\r");
    EXPECT_TRUE(ui.events.empty());
}

TEST_F(MacroSet, RefusedLineEndsTheMacroAndClearsTheStream) {
    macroDoc().Append("Bad", "HOME\r\nFOO\r\nCALIBRATE\r\n");
    port.lineAnswer = [](const std::string& line) {
        return line + (line == "FOO" ? " err" : " OK") + "\r\n>";
    };
    EXPECT_FALSE(macroDoc().RunMacro(0));
    EXPECT_EQ(port.written, "HOME\rFOO\r");
    EXPECT_EQ(ui.messages, std::vector<std::string>{"OK expected"});
    EXPECT_TRUE(protocol().ControllerStream.good());

    // The next macro runs normally.
    macroDoc().Append("Good", "X");
    port.written.clear();
    EXPECT_TRUE(macroDoc().RunMacro(1));
    EXPECT_EQ(port.written, "X\r");
}

} // namespace
