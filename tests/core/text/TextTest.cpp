#include "ConsoleModel.h"
#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"
#include "core/text/BinaryBlocks.h"
#include "core/text/HexField.h"
#include "core/text/SourceDownload.h"
#include "support/CoreTest.h"

namespace {

using Lines = std::vector<std::string>;
using namespace std::string_literals;

class SourceDownload : public CoreTest {
protected:
    // Every download ends with its box closed and the link idle.
    void ExpectFinished() {
        EXPECT_TRUE(!protocol().heldBox && !ui.boxOpen && protocol().ReplyState == reply::kIdle);
    }
};

TEST_F(SourceDownload, ARefusedLineEndsTheDownloadAndIsShownWithItsFileAndNumber) {
    const std::string path = Write("bad.ed2", "1 2 +\nFOO\nNEVER\n");
    EXPECT_TRUE(DownloadSourceFile(path));
    EXPECT_EQ(ui.messages, (Lines{"OK expected",
                                  "Line 2 of " + path + " was not accepted by the controller:\n>FOO FOO ?"}));
    EXPECT_EQ(texts.calls, Lines{"line 2 of " + path});
    ExpectFinished();
}

// More than a screenful of lines shows the line in progress in the box; either way "Cancel" stops after
// the line in progress.
TEST_F(SourceDownload, CancellingStopsAfterTheLineInProgressWithoutAReport) {
    controller.Control("movetime 1000"); // HOME never ends: the operator cancels
    for (const int count : {25, 26}) {
        std::string text = "1 2 +\n3 4 +\nHOME";
        for (int i = 4; i <= count; ++i)
            text += "\n5 6 +";
        const std::string path = Write("long" + std::to_string(count), text);
        ui.waitTexts.clear();
        ui.progress.clear();
        EXPECT_TRUE(DownloadSourceFile(path));
        EXPECT_EQ(Sent(), (Lines{"1 2 +", "3 4 +", "HOME"}));
        const bool shown = count > 25;
        const std::string box = "Downloading " + path + "\nline ", of = " of " + std::to_string(count);
        EXPECT_EQ(ui.boxStyle, shown ? WaitBoxStyle::Progress : WaitBoxStyle::Plain);
        EXPECT_EQ(ui.waitTexts, (shown ? Lines{box + "1" + of, box + "2" + of, box + "3" + of} : Lines()));
        using Steps = std::vector<std::pair<int, int>>;
        EXPECT_EQ(ui.progress, (shown ? Steps{{0, count}, {1, count}, {2, count}} : Steps()));
        controller.console().FinishMove();
        controller.console().TakeOutput();
    }
    EXPECT_TRUE(ui.messages.empty() && texts.calls.empty() && !protocol().heldBox);
}

// In hide mode the lines go in prompt-only mode and the I/O flag is set again afterwards; each line goes
// whole as its text, LF and CR, and a final line end sends an empty line.
TEST_F(SourceDownload, HideModeSendsEachLineWholeInPromptOnlyModeAndSetsTheIoFlagAgain) {
    commLink().HideMode = true;
    const std::string longLine = "7" + std::string(700, ' ') + "DROP";
    const std::string path = Write("mixed.ed2", "1 2 +\r\n" + longLine + "\n5 .\r6 .\r\n");
    EXPECT_TRUE(DownloadSourceFile(path));
    EXPECT_EQ(controller.written, "|\r1 2 +\n\r" + longLine + "\n\r5 .\n\r6 .\n\r\n\rIOFLAG C0SET\r");
    EXPECT_TRUE(!controller.console().PromptOnly() && protocol().ReplyMode == 0 && ui.messages.empty());
    EXPECT_EQ(ui.boxTexts, (Lines{"Waiting for controller", "Downloading " + path}));
    ExpectFinished();
}

TEST_F(SourceDownload, UnsavedEditsAreSavedFirstAndAFailedSaveSendsNothing) {
    const std::string path = Write("edited.ed2", "OLD\n");
    texts.docs[path] = {"1 2 +", true};
    EXPECT_TRUE(DownloadSourceFile(path));
    EXPECT_EQ(texts.calls, Lines{"save " + path + " as " + path});
    EXPECT_EQ(Sent(), Lines{"1 2 +"});
    texts.docs[path].modified = true;
    texts.saveFails = true;
    EXPECT_TRUE(DownloadSourceFile(path));
    EXPECT_TRUE(Sent().empty());
}

TEST_F(SourceDownload, TheCommandAsksForTheFileAndReportsOneThatCannotBeOpened) {
    DownloadFileCommand();
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    ui.fileNames = {Write("chosen", "1 2 +"), Path("missing.ed2")};
    DownloadFileCommand();
    EXPECT_EQ(Sent(), Lines{"1 2 +"});
    EXPECT_FALSE(DownloadSourceFile(Path("missing.ed2")) || !ui.messages.empty());
    DownloadFileCommand();
    EXPECT_EQ(ui.messages, Lines{Path("missing.ed2") + " could not be opened"});
    EXPECT_TRUE(Sent().empty());
}

class BinaryFiles : public CoreTest {};

// The transfers themselves are checked in BlockTransferTest; here the files around them.
TEST_F(BinaryFiles, ABlockSavedAndLoadedBackIsTheMemoryAndAShortFileLoadsWholeBlocks) {
    uint8_t* bank2 = controller.Bank(2);
    for (int i = 0; i < 0x200; ++i)
        bank2[0x1000 + i] = static_cast<uint8_t>(i * 7);
    const QByteArray memory(reinterpret_cast<const char*>(bank2) + 0x1000, 0x200);
    EXPECT_TRUE(binblocks::SaveBinaryFile(Path("saved.ram"), 2, 0x1000, 0x200));
    EXPECT_EQ(Read("saved.ram"), memory);
    EXPECT_TRUE(ui.boxTexts.front() == "Saving " + Path("saved.ram") &&
                ui.boxStyle == WaitBoxStyle::Progress);
    EXPECT_TRUE(binblocks::LoadBinaryFile(Write("short.ram", memory.left(300)), 3, 0x2000, 0x200));
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(controller.Bank(3)) + 0x2000, 0x200),
              memory.left(300) + QByteArray(0x200 - 300, '\0'));
    EXPECT_EQ(ui.boxTexts.back(), "Loading " + Path("short.ram"));
    EXPECT_TRUE(ui.messages.empty() && !ui.boxOpen);
}

TEST_F(BinaryFiles, ACancelledSaveKeepsTheBlocksThatArrivedAndUnusableFilesSendNothing) {
    controller.cancelAtEnq = 2;
    EXPECT_FALSE(binblocks::SaveBinaryFile(Path("cut.ram"), 0, 0, 0x400));
    EXPECT_EQ(Read("cut.ram"), QByteArray(256, '\0'));
    const size_t sent = controller.written.size();
    const std::string missing = Path("none.ram"), unwritable = Path("no/such/folder/x.ram");
    EXPECT_FALSE(binblocks::LoadBinaryFile(missing, 0, 0, 0x100));
    EXPECT_FALSE(binblocks::SaveBinaryFile(unwritable, 0, 0, 0x100));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].rfind(missing + " could not be opened because of this error: ", 0), 0u);
    EXPECT_EQ(ui.messages[1].rfind(unwritable + " could not be opened because of this error: ", 0), 0u);
    EXPECT_EQ(controller.written.size(), sent);
}

TEST(HexField, TextsUpToFfffAreReadAndValuesShowInLowerCase) {
    // Only the first 63 characters of a field count.
    const std::pair<std::string, unsigned> accepted[] = {
        {" 1f00 ", 0x1F00}, {"\t1F00\t", 0x1F00}, {"000", 0},         {"0x100", 0x100},
        {"0X1a", 0x1A},     {"+10", 0x10},        {"00ffff", 0xFFFF}, {std::string(62, ' ') + "1zzz", 1}};
    for (const auto& [text, expected] : accepted) {
        unsigned value = 12345;
        EXPECT_TRUE(hexfield::ParseHex(text, value) && value == expected) << text;
        EXPECT_EQ(hexfield::FormatHex(expected), QString::number(expected, 16).toStdString());
    }
    for (const std::string& text : {"x"s, "g12"s, "10000"s, ""s, "12 34"s, "1f00h"s, "-1"s, "-0"s, "+0"s,
                                    "0x"s, "99999999999999999999999"s, std::string(61, ' ') + "1z"}) {
        unsigned value = 7;
        EXPECT_FALSE(hexfield::ParseHex(text, value) || value != 7u) << '"' << text << '"';
    }
}

} // namespace
