#include "EmulatorProcess.h"

#include "core/app/WordCheck.h"
#include "support/ScriptedUi.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The controller's word list as the emulator writes it, read the way the program reads it at start-up.
class WordListTest : public ::testing::Test {
protected:
    // Runs "marlix-emulator --words" into the folder; bounded.
    static bool WriteWordList(const QString& folder) {
        QProcess emulator;
        emulator.start(EmulatorProcess::Program(), {"--words", QDir(folder).filePath("KXWords.txt")});
        return emulator.waitForFinished(10000) && emulator.exitStatus() == QProcess::NormalExit &&
               emulator.exitCode() == 0;
    }

    ScriptedUi m_ui;
    WordCheck m_check;
};

TEST_F(WordListTest, EmulatorsWordsAreTheControllerTable) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(WriteWordList(dir.path()));
    ASSERT_TRUE(m_check.LoadControllerWords(dir.path()));
    EXPECT_TRUE(m_ui.messages.empty());
    // Every record was read: 19 characters each.
    const qint64 size = QFileInfo(QDir(dir.path()).filePath("KXWords.txt")).size();
    EXPECT_EQ(m_check.controllerTable().count(), std::min<qint64>(size / 19, WordTable::kCapacity));
    for (const char* word : {"HOME", "CALIBRATE", "TRANSMIT", "RECEIVE", "VARIABLE", "BANK"})
        EXPECT_TRUE(m_check.controllerTable().Matches(word)) << word;
    EXPECT_FALSE(m_check.controllerTable().Matches("NOSUCHWORD1"));
    // A project word that redefines one of the controller's words is reported.
    EXPECT_EQ(m_check.CheckProject({"HOMES"}, ": HOME ;"), "HOME redefines a Kaventrix word\n");
}

#ifdef MARLIX_PROGRAM_DIR
TEST_F(WordListTest, WordListIsInstalledBesideTheProgram) {
    ASSERT_TRUE(m_check.LoadControllerWords(MARLIX_PROGRAM_DIR)) << m_ui.messages.front();
    EXPECT_TRUE(m_check.controllerTable().Matches("CALIBRATE"));
}
#endif
