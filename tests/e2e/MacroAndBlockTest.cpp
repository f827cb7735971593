#include "EmulatorProcess.h"
#include "LinkFixture.h"

#include "macros/Cmacdoc.h"
#include "protocol/Protocol.h"
#include "text/BinaryBlocks.h"

#include <QFile>

// Macros and memory image files against the controller emulator, over its pseudo-terminal.
class MacroAndBlockTest : public LinkFixture {
protected:
    void SetUp() override {
        LinkFixture::SetUp();
        ResetMacroDoc();
        m_emulator = std::make_unique<EmulatorProcess>(m_dir.path());
        ASSERT_TRUE(m_emulator->isRunning()) << "cannot start " << EmulatorProcess::Program().toStdString();
        ASSERT_TRUE(OpenLink(m_emulator->linkPath()));
    }
    void TearDown() override {
        LinkFixture::TearDown();
        m_emulator.reset();
        ResetMacroDoc();
    }

    // The emulator's memory, as bytes.
    QByteArray Memory(int bank, int start, int length) {
        QStringList lines;
        if (!m_emulator->Control(QString("dump %1 %2 %3").arg(bank).arg(start).arg(length), &lines) ||
            lines.isEmpty())
            return "<no dump>";
        return QByteArray::fromHex(lines.first().toLatin1());
    }
    std::string Path(const char* name) const { return m_dir.filePath(name).toStdString(); }
    static void WriteFile(const std::string& path, const QByteArray& bytes) {
        QFile file(QString::fromStdString(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QByteArray ReadFile(const std::string& path) {
        QFile file(QString::fromStdString(path));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    static QByteArray Pattern(int length, int seed) {
        QByteArray bytes;
        for (int i = 0; i < length; ++i)
            bytes.append(static_cast<char>((i * 31 + seed) & 0xff));
        return bytes;
    }
    std::string Joints() {
        std::string answer;
        protocol().QueryCommand("DECIMAL GF", answer);
        return answer;
    }

    std::unique_ptr<EmulatorProcess> m_emulator;
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

TEST_F(MacroAndBlockTest, MacroStopsAtTheFirstRefusedLine) {
    ASSERT_TRUE(m_emulator->Control("errors 1"));
    macroDoc().Append("Bad", "HOME\r\nCALIBRATE");
    EXPECT_FALSE(macroDoc().RunMacro(0));
    EXPECT_EQ(m_ui.messages, std::vector<std::string>{"OK expected"});
    EXPECT_EQ(m_emulator->Transcript(), QByteArray("\rHOME\r"));
    // The stream is usable again for the next macro.
    macroDoc().Append("Home", "HOME");
    EXPECT_TRUE(macroDoc().RunMacro(1));
}

TEST_F(MacroAndBlockTest, SavedBlockEqualsTheControllersMemory) {
    const std::string image = Path("pattern.ram");
    WriteFile(image, Pattern(0x100, 5));
    ASSERT_TRUE(binblocks::LoadBinaryFile(image, 2, 0x1000, 0x100));
    const QByteArray memory = Memory(2, 0x1000, 0x100);
    ASSERT_EQ(memory, Pattern(0x100, 5));

    const std::string saved = Path("saved.ram");
    EXPECT_TRUE(binblocks::SaveBinaryFile(saved, 2, 0x1000, 0x100));
    EXPECT_EQ(ReadFile(saved), memory);
    EXPECT_EQ(protocol().ReplyState, reply::kIdle);
    EXPECT_EQ(protocol().receiveMode, 0);
    EXPECT_TRUE(m_ui.messages.empty());
    EXPECT_FALSE(m_ui.waitBoxOpen);
}

TEST_F(MacroAndBlockTest, ShortFileStillLoadsWholeBlocks) {
    const std::string full = Path("full.ram");
    WriteFile(full, QByteArray(0x200, '\xff'));
    ASSERT_TRUE(binblocks::LoadBinaryFile(full, 0, 0x3000, 0x200));
    ASSERT_EQ(Memory(0, 0x3000, 0x200), QByteArray(0x200, '\xff'));

    // 300 bytes for a length of 0x200: two whole blocks go out, the second filled with zeros.
    const std::string shortFile = Path("short.ram");
    WriteFile(shortFile, Pattern(300, 9));
    EXPECT_TRUE(binblocks::LoadBinaryFile(shortFile, 0, 0x3000, 0x200));
    EXPECT_EQ(Memory(0, 0x3000, 0x200), Pattern(300, 9) + QByteArray(0x200 - 300, '\0'));
    EXPECT_EQ(protocol().ReplyState, reply::kIdle);
    EXPECT_TRUE(m_ui.messages.empty());
}
