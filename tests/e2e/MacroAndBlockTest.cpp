#include "EmulatorFixture.h"

#include "core/macros/Cmacdoc.h"
#include "core/protocol/Protocol.h"
#include "core/text/BinaryBlocks.h"

// Macros and memory image files against the controller emulator, over its pseudo-terminal.
class MacroAndBlockTest : public EmulatorFixture {
protected:
    std::string Joints() {
        std::string answer;
        protocol().QueryCommand("DECIMAL GF", answer);
        return answer;
    }
};

TEST_F(MacroAndBlockTest, MacroOfTwoLinesSendsBothAndWaitsForEachMove) {
    // Moves take a while: a reply arrives only when the move has ended.
    ASSERT_TRUE(m_emulator->Control("movetime 100"));
    macroDoc().Append("Two", "HOME\r\nDECIMAL 60 50 40 30 20 10 JMA");
    EXPECT_TRUE(macroDoc().RunMacro(0));
    EXPECT_EQ(protocol().ReplyState, reply::kIdle);
    EXPECT_EQ(m_emulator->Transcript(), QByteArray("\rHOME\rDECIMAL 60 50 40 30 20 10 JMA\r"));
    // The macro returned after the second move's reply: the arm is there already.
    EXPECT_NE(protocol().LastReplyLine.find("JMA"), std::string::npos);
    EXPECT_NE(Joints().find("10 20 30 40 50 60"), std::string::npos);
    EXPECT_TRUE(m_ui.messages.empty());
}

TEST_F(MacroAndBlockTest, SavedBlockEqualsTheControllersMemory) {
    const std::string image = WriteFile("pattern.ram", Pattern(0x100, 5));
    ASSERT_TRUE(binblocks::LoadBinaryFile(image, 2, 0x1000, 0x100));
    const QByteArray memory = Memory(2, 0x1000, 0x100);
    ASSERT_EQ(memory, Pattern(0x100, 5));

    const std::string saved = Path("saved.ram");
    EXPECT_TRUE(binblocks::SaveBinaryFile(saved, 2, 0x1000, 0x100));
    EXPECT_EQ(ReadFile("saved.ram"), memory);
    EXPECT_EQ(protocol().ReplyState, reply::kIdle);
    EXPECT_EQ(protocol().receiveMode, ReceiveMode::Text);
    EXPECT_TRUE(m_ui.messages.empty());
    EXPECT_FALSE(m_ui.waitBoxOpen);
}

TEST_F(MacroAndBlockTest, ShortFileStillLoadsWholeBlocks) {
    const std::string full = WriteFile("full.ram", QByteArray(0x200, '\xff'));
    ASSERT_TRUE(binblocks::LoadBinaryFile(full, 0, 0x3000, 0x200));
    ASSERT_EQ(Memory(0, 0x3000, 0x200), QByteArray(0x200, '\xff'));

    // 300 bytes for a length of 0x200: two whole blocks go out, the second filled with zeros.
    const std::string shortFile = WriteFile("short.ram", Pattern(300, 9));
    EXPECT_TRUE(binblocks::LoadBinaryFile(shortFile, 0, 0x3000, 0x200));
    EXPECT_EQ(Memory(0, 0x3000, 0x200), Pattern(300, 9) + QByteArray(0x200 - 300, '\0'));
    EXPECT_EQ(protocol().ReplyState, reply::kIdle);
    EXPECT_TRUE(m_ui.messages.empty());
}
