#include "macros/Cmacdoc.h"
#include "link/CommLink.h"
#include "link/Transport.h"
#include "protocol/Protocol.h"
#include "support/ScriptedUi.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Records what is sent; the controller's answers are played by the scripted seam's events.
class RecordingPort : public Transport {
public:
    bool OpenComm(int, unsigned, const std::string&) override { return true; }
    void CloseComm() override {}
    int CommRead(char*, int) override { return 0; }
    bool CommWrite(const char* data, int length) override {
        sent.append(data, static_cast<size_t>(length));
        return true;
    }
    bool IsConnected() const override { return true; }
    std::string sent;
};

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
        ResetProtocol();
        ResetCommLink();
        ResetMacroDoc();
        commLink().SetTransport(&port);
        commLink().EnsureDocument();
        protocol().ReplyState = reply::kIdle;
        ASSERT_TRUE(dir.isValid());
    }
    void TearDown() override {
        ResetMacroDoc();
        ResetCommLink();
        ResetProtocol();
    }
    // One controller answer per wait: the echo was sent by the port, the reply completes the line.
    void Replies(std::initializer_list<std::string> chunks) {
        for (const std::string& chunk : chunks)
            ui.events.push_back(
                [chunk] { protocol().ReceiveBytes(chunk.data(), static_cast<int>(chunk.size())); });
    }
    std::string Path(const char* name) const { return dir.filePath(name).toStdString(); }

    FileAnsweringUi ui;
    RecordingPort port;
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
    EXPECT_EQ(set.name(3), "M5");
    set.Replace(0, "First", "HOME");
    EXPECT_EQ(set.name(0), "First");
    EXPECT_EQ(set.text(0), "HOME");
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

    QFile file(QString::fromStdString(ui.savePath));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("\x02\x00\x01"
                                         "A\x01"
                                         "B\x02\x00\x01"
                                         "1\x01"
                                         "2",
                                         12));

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
    ui.answers.push_back(Answer::Cancel);
    EXPECT_FALSE(set.CloseFileDocument());
    EXPECT_EQ(set.count(), 1);
    ui.answers.push_back(Answer::No);
    EXPECT_TRUE(set.CloseFileDocument());
    EXPECT_EQ(set.count(), 0);
    EXPECT_EQ(ui.questions, (std::vector<std::string>{"Do you wish to save new Macros?",
                                                      "Do you wish to save new Macros?"}));
}

TEST_F(MacroSet, DamagedFileIsReportedAndLeavesNoPath) {
    QFile file(QString::fromStdString(Path("bad.mac")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("\x05\x00\x01", 3));
    file.close();
    Cmacdoc& set = macroDoc();
    EXPECT_FALSE(set.OpenFile(Path("bad.mac")));
    EXPECT_TRUE(set.GetPathName().empty());
    ASSERT_EQ(ui.messages.size(), 1u);
}

TEST_F(MacroSet, MacroSendsEachLineAndWaitsForItsReply) {
    Cmacdoc& set = macroDoc();
    set.Append("Two", "HOME\r\nCALIBRATE");
    Replies({"HOME OK\r\n>", "CALIBRATE OK\r\n>"});
    EXPECT_TRUE(set.RunMacro(0));
    // The CR of the text is dropped; its LF and the "\n" written after the text each send CR.
    EXPECT_EQ(port.sent, "HOME\rCALIBRATE\r");
    EXPECT_TRUE(ui.events.empty());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(protocol().ControllerStream.good());
}

TEST_F(MacroSet, TextEndingInALineEndSendsOneMoreBareCr) {
    macroDoc().Append("Home", "HOME\r\n");
    Replies({"HOME OK\r\n>", " OK\r\n>"});
    EXPECT_TRUE(macroDoc().RunMacro(0));
    EXPECT_EQ(port.sent, "HOME\r\r");
    EXPECT_TRUE(ui.events.empty());
}

TEST_F(MacroSet, EmptyMacroSendsOneBareCr) {
    macroDoc().Append("Empty", "");
    Replies({" OK\r\n>"});
    EXPECT_TRUE(macroDoc().RunMacro(0));
    EXPECT_EQ(port.sent, "\r");
}

TEST_F(MacroSet, RefusedLineEndsTheMacroAndClearsTheStream) {
    macroDoc().Append("Bad", "HOME\r\nFOO\r\nCALIBRATE\r\n");
    Replies({"HOME OK\r\n>", "FOO err\r\n>", "never used"});
    EXPECT_FALSE(macroDoc().RunMacro(0));
    EXPECT_EQ(port.sent, "HOME\rFOO\r");
    EXPECT_EQ(ui.messages, std::vector<std::string>{"OK expected"});
    EXPECT_TRUE(protocol().ControllerStream.good());

    // The next macro runs normally.
    macroDoc().Append("Good", "X");
    ui.events.clear();
    Replies({"X OK\r\n>"});
    port.sent.clear();
    EXPECT_TRUE(macroDoc().RunMacro(1));
    EXPECT_EQ(port.sent, "X\r");
}

} // namespace
