#include "core/link/ConsoleLog.h"
#include "core/app/CoreWiring.h"
#include "core/base/ProfileStore.h"
#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"
#include "support/ScriptedUi.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

namespace {

std::string FileText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("(missing)");
}

TEST(ConsoleLog, EachLineIsStampedWhenItStartsAndIsOnDiskAsSoonAsItPasses) {
    QTemporaryDir dir;
    const QString path = dir.filePath("console.log");
    using D = ConsoleLog::Direction;
    struct Step {
        D direction;
        std::string bytes;
        std::string added; // to the file, before the log is closed
    } steps[] = {
        {D::Sent, "HOME\r", "t1 TX HOME\n"},
        {D::Received, "HOME sim", "t2 RX HOME sim"},
        {D::Received, "OK\r", "OK\n"},
        {D::Received, "\n>", "t3 RX >"},             // the LF of a CR LF split over two reads
        {D::Sent, "L\n\r\r", "\nt4 TX L\nt5 TX \n"}, // a downloaded line's LF CR, then an empty line
        {D::Received, "\x02\\\n\n", "t6 RX \\x02\\\\\nt7 RX \n"},
        {D::Received, "x", "t8 RX x"},
    };
    int ticks = 0;
    ConsoleLog log;
    log.Clock = [&] { return "t" + std::to_string(++ticks); };
    ASSERT_TRUE(log.Open(path.toStdString()));
    std::string expected;
    for (const Step& step : steps) {
        log.Record(step.direction, step.bytes.data(), static_cast<int>(step.bytes.size()));
        expected += step.added;
        EXPECT_EQ(FileText(path), expected) << step.bytes;
    }
    // Closing ends the open line; a log opened again goes on at the end.
    log.Close();
    ASSERT_TRUE(log.Open(path.toStdString()));
    log.Record(D::Sent, "A\r", 2);
    EXPECT_EQ(FileText(path), expected + "\nt9 TX A\n");
}

TEST(ConsoleLog, TheLinkLogsBothWaysAndRemembersTheLogForTheNextRun) {
    QTemporaryDir dir;
    UseProfileFile(dir.filePath("profile.ini").toStdString());
    ScriptedUi ui;
    ResetCore();
    const std::string path = dir.filePath("link.log").toStdString();
    commLink().Simulate = true;
    commLink().OpenCommunication();
    ASSERT_TRUE(commLink().StartLog(path));
    commLink().consoleLog().Clock = [] { return std::string("T"); };
    ASSERT_TRUE(protocol().SendCommand("HOME"));
    EXPECT_EQ(FileText(QString::fromStdString(path)), "T TX HOME\nT RX HOME simOK\nT RX >");

    for (const bool stopped : {false, true}) {
        if (stopped)
            commLink().StopLog();
        ResetCore();
        commLink().RestoreLog();
        EXPECT_EQ(commLink().IsLogging(), !stopped);
        EXPECT_EQ(commLink().logPath, path);
    }
    const std::string bad = dir.filePath("no/such/folder.log").toStdString();
    EXPECT_FALSE(commLink().StartLog(bad));
    EXPECT_FALSE(commLink().IsLogging());
    EXPECT_EQ(ui.messages.back(), "The log file " + bad + " could not be opened");
    ResetCore();
    UseProfileFile(std::string());
}

} // namespace
