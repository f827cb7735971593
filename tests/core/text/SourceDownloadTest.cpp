#include "core/text/SourceDownload.h"
#include "core/base/TextDocuments.h"
#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"
#include "support/FakeController.h"
#include "support/ProtocolFakeLink.h"
#include "support/ScriptedUi.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// Text documents as the editor would offer them: one file may be open with unsaved edits.
class FakeDocuments : public TextDocuments {
public:
    bool IsOpen(const std::string& path) const override { return path == openPath; }
    bool IsModified(const std::string& path) const override { return path == openPath && modified; }
    bool SaveAs(const std::string& path, const std::string& newPath) override {
        saves.emplace_back(path, newPath);
        if (!saveSucceeds)
            return false;
        QFile file(QString::fromStdString(newPath));
        if (!file.open(QIODevice::WriteOnly))
            return false;
        file.write(editedText.data(), static_cast<qint64>(editedText.size()));
        modified = false;
        return true;
    }
    void ShowLine(const std::string& path, int line) override { shown.emplace_back(path, line); }

    std::string openPath;
    bool modified = false;
    bool saveSucceeds = true;
    std::string editedText;
    std::vector<std::pair<std::string, std::string>> saves;
    std::vector<std::pair<std::string, int>> shown;
};

class DialogUi : public ScriptedUi {
public:
    std::string AskOpenFileName(const std::string& title, const std::string& filter, const std::string&,
                                const std::string&) override {
        dialogs.push_back(title + "|" + filter);
        return chosen;
    }
    std::string chosen;
    std::vector<std::string> dialogs;
};

class SourceDownloadTest : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = dir.filePath(QString::fromStdString(name)).toStdString();
        QFile file(QString::fromStdString(path));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        return path;
    }

    // Every download ends with its box closed and the link idle.
    void ExpectFinished() {
        EXPECT_FALSE(protocol().heldBox);
        EXPECT_FALSE(ui.boxOpen);
        EXPECT_EQ(protocol().ReplyState, reply::kIdle);
    }

    DialogUi ui;
    FakeController fake{ui};
    FakeLinkScope link{fake};
    FakeDocuments documents;
    ScreenScope screen{{&ui, nullptr, &documents}};
    QTemporaryDir dir;
};

using Lines = std::vector<std::string>;

TEST_F(SourceDownloadTest, EveryLineGoesAsTextLfCrAndAFinalLineEndAddsAnEmptyLine) {
    const std::string path = Write("three.ed2", "1 2 +\n: SQ DUP * ;\n5 SQ .\n");
    EXPECT_TRUE(DownloadSourceFile(path));
    EXPECT_EQ(fake.written, "1 2 +\n\r: SQ DUP * ;\n\r5 SQ .\n\r\n\r");
    EXPECT_EQ(fake.lines.size(), 4u);
    EXPECT_EQ(ui.boxTexts, Lines{"Downloading " + path});
    EXPECT_TRUE(ui.messages.empty());
    ExpectFinished();
}

TEST_F(SourceDownloadTest, LineEndsOfAnyKindAndLongLinesArriveWhole) {
    const std::string longLine(700, 'x');
    const std::string path = Write("mixed.txt", "A\r\n" + longLine + "\r\nB");
    EXPECT_TRUE(DownloadSourceFile(path));
    EXPECT_EQ(fake.lines, (Lines{"A\n", longLine + "\n", "B\n"}));
    EXPECT_TRUE(ui.messages.empty());
    ExpectFinished();
}

TEST_F(SourceDownloadTest, ARefusedLineStopsTheDownloadAndIsShownWithItsFileAndNumber) {
    const std::string path = Write("bad.ed2", "GOOD\nFOO\nNEVER\n");
    fake.lineAnswer = [](const std::string& line) {
        return line == "FOO\n" ? line + " FOO ?\r\n>" : line + " OK\r\n>";
    };
    EXPECT_TRUE(DownloadSourceFile(path));
    EXPECT_EQ(fake.lines, (Lines{"GOOD\n", "FOO\n"}));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0], "OK expected");
    EXPECT_EQ(ui.messages[1].rfind("Line 2 of " + path + " was not accepted by the controller", 0), 0u);
    EXPECT_NE(ui.messages[1].find("FOO ?"), std::string::npos);
    EXPECT_EQ(documents.shown, (std::vector<std::pair<std::string, int>>{{path, 2}}));
}

TEST_F(SourceDownloadTest, CancellingStopsAfterTheLineInProgressWithoutAReport) {
    const std::string path = Write("long.ed2", "ONE\nTWO\nTHREE\nFOUR\n");
    // The reply to TWO never comes, or it completes in the same turn as the cancel.
    for (const bool replyWithCancel : {false, true}) {
        fake.lines.clear();
        fake.lineAnswer = [this, replyWithCancel](const std::string& line) {
            if (line == "TWO\n") {
                ui.events.push_back([this, replyWithCancel] {
                    protocol().WaitBoxClosed();
                    if (replyWithCancel) {
                        auto reply = std::move(ui.events.front());
                        ui.events.pop_front();
                        reply();
                    }
                });
                return replyWithCancel ? line + " OK\r\n>" : std::string();
            }
            return line + " OK\r\n>";
        };
        EXPECT_TRUE(DownloadSourceFile(path));
        EXPECT_EQ(fake.lines, (Lines{"ONE\n", "TWO\n"})) << replyWithCancel;
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_TRUE(documents.shown.empty());
        EXPECT_FALSE(protocol().heldBox);
        ui.events.clear();
    }
}

TEST_F(SourceDownloadTest, MoreThanAScreenfulShowsTheLineInProgressAndCancelStillStopsAfterIt) {
    for (const int count : {25, 26}) {
        std::string text = "L1\nL2\nL3";
        for (int i = 4; i <= count; ++i)
            text += "\nL";
        const std::string path = Write("lines" + std::to_string(count), text);
        ui.waitTexts.clear();
        ui.progress.clear();
        fake.lines.clear();
        fake.lineAnswer = [this](const std::string& line) {
            if (line != "L3\n")
                return line + " OK\r\n>";
            ui.events.push_back([] { protocol().WaitBoxClosed(); }); // "Cancel" during line 3
            return std::string();
        };
        EXPECT_TRUE(DownloadSourceFile(path));
        EXPECT_EQ(fake.lines, (Lines{"L1\n", "L2\n", "L3\n"}));
        const std::string of = " of " + std::to_string(count), box = "Downloading " + path + "\nline ";
        const bool shown = count > 25;
        EXPECT_EQ(ui.boxStyle, shown ? WaitBoxStyle::Progress : WaitBoxStyle::Plain);
        EXPECT_EQ(ui.waitTexts, (shown ? Lines{box + "1" + of, box + "2" + of, box + "3" + of} : Lines()));
        using Steps = std::vector<std::pair<int, int>>;
        EXPECT_EQ(ui.progress, (shown ? Steps{{0, count}, {1, count}, {2, count}} : Steps()));
        ui.events.clear();
    }
}

TEST_F(SourceDownloadTest, HideModeWrapsTheLinesInPromptOnlyModeAndRestoresTheIoFlag) {
    commLink().HideMode = true;
    const std::string path = Write("hidden.ed2", "X\nY");
    fake.lineAnswer = [](const std::string& line) {
        return line == "IOFLAG C0SET" ? line + " OK\r\n>" : std::string(" >");
    };
    EXPECT_TRUE(DownloadSourceFile(path));
    EXPECT_EQ(fake.lines, (Lines{"|", "X\n", "Y\n", "IOFLAG C0SET"}));
    EXPECT_EQ(protocol().ReplyMode, 0);
    EXPECT_TRUE(ui.messages.empty());
    ExpectFinished();
}

TEST_F(SourceDownloadTest, UnsavedEditsAreSavedBeforeTheFileIsSent) {
    const std::string path = Write("edited.ed2", "OLD\n");
    documents.openPath = path;
    documents.modified = true;
    documents.editedText = "NEW";
    EXPECT_TRUE(DownloadSourceFile(path));
    EXPECT_EQ(documents.saves, (std::vector<std::pair<std::string, std::string>>{{path, path}}));
    EXPECT_EQ(fake.lines, Lines{"NEW\n"});

    // A save that fails sends nothing: the controller never gets text the operator did not keep.
    fake.lines.clear();
    documents.modified = true;
    documents.saveSucceeds = false;
    EXPECT_TRUE(DownloadSourceFile(path));
    EXPECT_TRUE(fake.lines.empty());
}

TEST_F(SourceDownloadTest, AMissingFileIsSilentHereAndReportedByTheCommands) {
    const std::string path = dir.filePath("missing.ed2").toStdString();
    EXPECT_FALSE(DownloadSourceFile(path));
    EXPECT_TRUE(ui.messages.empty());
    DownloadFileWithReport(path);
    EXPECT_EQ(ui.messages, Lines{path + " could not be opened"});
    EXPECT_TRUE(fake.written.empty());
    EXPECT_TRUE(ui.boxTexts.empty());
}

TEST_F(SourceDownloadTest, DownloadFileAsksForTheFileAndSendsIt) {
    DownloadFileCommand();
    EXPECT_TRUE(fake.written.empty());
    ASSERT_EQ(ui.dialogs.size(), 1u);
    ui.chosen = Write("chosen", "HOME");
    DownloadFileCommand();
    EXPECT_EQ(fake.lines, Lines{"HOME\n"});
}

} // namespace
