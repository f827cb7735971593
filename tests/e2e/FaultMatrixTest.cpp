// Every operation that talks to the controller against every fault the line can show, each fault put
// by the emulator in the middle of the operation (after half of the bytes the operation sends when all
// goes well; uploads, which send little, just before their last blocks). For every cell: the operation
// returns, by itself or after the operator's "Cancel" (pressed by the scripted screen when a wait box
// has seen no progress for a while); a lost line is reported once, first, and leaves the link not
// open, and "Re-Open" works once the device is back; otherwise the link stays open and answers again;
// every file is still there, whole; a failure the operator did not cause is explained by a message.
// The matrix of outcomes is printed.
#include "EmulatorProcess.h"

#include "core/app/CoreWiring.h"
#include "core/app/EventLoopUi.h"
#include "core/base/ProfileStore.h"
#include "core/base/Screen.h"
#include "core/link/CommLink.h"
#include "core/link/SerialPort.h"
#include "core/macros/Cmacdoc.h"
#include "core/project/CPosDat.h"
#include "core/project/ProjectFiles.h"
#include "core/project/ProjectModel.h"
#include "core/protocol/Protocol.h"
#include "core/protocol/RobotExchange.h"
#include "core/text/BinaryBlocks.h"
#include "core/text/SourceDownload.h"
#include "support/TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <gtest/gtest.h>
#include <iomanip>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>

using namespace runlist;

namespace {

constexpr int kCancelAfterMs = 250; // a wait box without progress for this long is cancelled
constexpr unsigned kBlockStart = 0x4000, kBlockLength = 0x800;

// The event-loop screen with an operator who presses "Cancel" on a wait that makes no progress.
class CancellingUi : public EventLoopUi {
public:
    CancellingUi() {
        m_timer.setSingleShot(true);
        m_timer.setInterval(kCancelAfterMs);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (!waitBoxOpen)
                return;
            ++cancels;
            protocol().WaitBoxClosed();
        });
    }
    void OpenWaitBox(const std::string& text, WaitBoxStyle style) override {
        EventLoopUi::OpenWaitBox(text, style);
        m_timer.start();
    }
    void SetProgress(int done, int total) override {
        EventLoopUi::SetProgress(done, total);
        m_timer.start();
    }
    int cancels = 0;

private:
    QTimer m_timer;
};

enum Fault { kNone, kSilence, kError, kGarbage, kUnplug, kReplug, kReset, kFaults };
const char* const kFaultNames[kFaults] = {"none", "silence", "error", "garbage", "unplug", "replug", "reset"};

// The control commands that put the fault after `at` more bytes from the PC.
QStringList FaultCommands(Fault fault, qsizetype at) {
    const QString after = QString("after %1 ").arg(at);
    switch (fault) {
    case kSilence:
        return {after + "silent on"};
    case kError:
        return {after + "errors 1"};
    case kGarbage:
        return {after + "garbage 300"};
    case kUnplug:
        return {after + "unplug"};
    case kReplug:
        return {after + "unplug 150"};
    case kReset: // the controller starts again and greets
        return {after + "reset", after + "send \\r\\n\\r\\nKAVENTRIX READY\\r\\n>"};
    default:
        return {};
    }
}

// The files of the operations, without the emulator's own and the profile.
const QStringList kOwnFiles{"controller", "control", "transcript", "profile.ini"};

std::string Path(const QDir& dir, const char* name) {
    return dir.filePath(name).toStdString();
}

// The project the data operations work on: thirty places, six blocks of run-list.
void WriteProject(const QDir& dir) {
    ResetCore();
    ProjectModel& model = projectModel();
    for (int i = 0; i < 30; ++i)
        model.SetWord(model.AllocateEntry(kPlaceParagraphs, "P" + std::to_string(i)) + kKind, kPlace);
    std::ostringstream ed1;
    WriteDeclarations(ed1, model);
    WriteTestFile(Path(dir, "proj.run"), RunFileBytes(model));
    WriteTestFile(Path(dir, "proj.ed1"), QByteArray::fromStdString(ed1.str()));
    WriteTestFile(Path(dir, "proj.ed2"), ": TWICE 2 * ;\nVARIABLE V1\n: THRICE 3 * ;\n");
}

struct Operation {
    const char* name;
    bool upload;       // sends little: the fault goes before its last blocks
    bool needsProject; // runs on the open project
    std::function<bool(const QDir&)> run;
};

const Operation kOperations[] = {
    {"command", false, false,
     [](const QDir&) { return protocol().SendCommand("DECIMAL 60 50 40 30 20 10 JMA"); }},
    {"query", false, false,
     [](const QDir&) {
         int value = 0;
         return QueryVariable("CREEP-FACTOR", value) && value == 10;
     }},
    {"source download", false, false,
     [](const QDir& dir) { return DownloadSourceFile(Path(dir, "src.txt")); }},
    {"Update data", true, true,
     [](const QDir&) {
         projectDocument().UpdateData();
         return projectModel().EntryNames.size() == 30;
     }},
    {"Download data", false, true,
     [](const QDir&) {
         projectDocument().DownloadData();
         return true;
     }},
    {"Save Binary", true, false,
     [](const QDir& dir) {
         return binblocks::SaveBinaryFile(Path(dir, "saved.ram"), 2, kBlockStart, kBlockLength);
     }},
    {"Load Binary", false, false,
     [](const QDir& dir) {
         return binblocks::LoadBinaryFile(Path(dir, "image.ram"), 2, kBlockStart, kBlockLength);
     }},
    {"macro", false, false, [](const QDir&) { return macroDoc().RunMacro(0); }},
    {"project Open", false, false,
     [](const QDir& dir) { return projectDocument().OpenFile(Path(dir, "proj.run")); }},
};

// A message as short as a cell.
std::string Short(const std::string& message) {
    if (message.rfind("expecting STX", 0) == 0)
        return "STX expected";
    if (message.rfind("Upload failed", 0) == 0)
        return "upload failed";
    return message.substr(0, 13);
}

using Files = std::map<QString, QByteArray>;

Files ReadFiles(const QDir& dir) {
    Files files;
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
        if (kOwnFiles.contains(name))
            continue;
        files[name] = ReadTestFile(dir.filePath(name).toStdString());
    }
    return files;
}

class FaultMatrix : public ::testing::Test {
protected:
    void TearDown() override {
        commLink().CloseComm();
        ResetCore();
        InstallScreen({});
        UseProfileFile(std::string());
    }

    // A fresh emulator and core for one cell, the files the operations use, the link open.
    bool StartCell(const QDir& dir, const Operation& op) {
        m_emulator.reset();
        WriteProject(dir);
        WriteTestFile(Path(dir, "src.txt"),
                      "DECIMAL 1 INCR !\nHOME\nDECIMAL 2 INCR !\nDECIMAL 3 INCR !\nHOME\n");
        QByteArray image;
        for (unsigned i = 0; i < kBlockLength; ++i)
            image.append(static_cast<char>(i * 7 + i / 256));
        WriteTestFile(Path(dir, "image.ram"), image);
        WriteTestFile(Path(dir, "saved.ram"), QByteArray(256, 'o'));

        commLink().CloseComm();
        ResetCore();
        m_ui = std::make_unique<CancellingUi>();
        InstallScreen({m_ui.get()});
        UseProfileFile(Path(dir, "profile.ini"));
        m_port = std::make_unique<SerialPort>();
        commLink().SetTransport(m_port.get());
        m_emulator = std::make_unique<EmulatorProcess>(dir.path());
        if (!m_emulator->isRunning())
            return false;
        macroDoc().Append("Three", "HOME\r\nDECIMAL 7 INCR !\r\nDECIMAL GF");
        WriteProfileString("Communication", "device", m_emulator->linkPath().toStdString());
        commLink().OpenCommunication();
        if (protocol().ReplyState != reply::kIdle)
            return false;
        if (op.needsProject && !projectDocument().OpenFile(Path(dir, "proj.run")))
            return false;
        return m_ui->messages.empty();
    }

    // The controller answers again once the faults are cleared (a cancelled exchange may cost a try).
    // A controller that fell silent in the middle of a block it was receiving waits for the rest of it:
    // its operator restarts it.
    bool Answers(Fault fault) {
        m_emulator->Control(fault == kSilence ? "reset" : "silent off");
        m_emulator->Control("errors 0");
        for (int attempt = 0; attempt < 3; ++attempt)
            if (protocol().SendCommand("HOME"))
                return true;
        return false;
    }

    // Runs one cell and checks it; returns its short outcome.
    std::string RunCell(const Operation& op, Fault fault, qsizetype& bytes) {
        QTemporaryDir folder;
        const QDir dir(folder.path());
        if (!StartCell(dir, op))
            return ADD_FAILURE() << op.name << ": the cell could not be set up", "setup?";
        const Files before = ReadFiles(dir);
        const qsizetype sent = m_emulator->Transcript().size();
        for (const QString& command : FaultCommands(fault, op.upload ? bytes - 2 : bytes / 2))
            EXPECT_TRUE(m_emulator->Control(command)) << command.toStdString();
        const bool result = op.run(dir);
        if (fault == kNone)
            bytes = m_emulator->Transcript().size() - sent;

        const std::vector<std::string> messages = m_ui->messages;
        const std::string lost = "Port " + m_emulator->linkPath().toStdString() + " is no longer available";
        const auto losses = std::count(messages.begin(), messages.end(), lost);
        const std::string where = std::string(op.name) + " x " + kFaultNames[fault];
        std::string outcome = losses              ? "lost"
                              : !messages.empty() ? Short(messages.front())
                              : result            ? "ok"
                                                  : "";
        if (m_ui->cancels && !losses)
            outcome += outcome.empty() ? "cancelled" : " +cancel";
        if (outcome.empty())
            outcome = "FAILED SILENTLY";
        EXPECT_FALSE(m_ui->waitBoxOpen) << where;
        EXPECT_EQ(protocol().receiveMode, ReceiveMode::Text) << where;
        EXPECT_NE(outcome, "FAILED SILENTLY") << where;
        if (fault == kNone) {
            EXPECT_EQ(outcome, "ok") << where << ": " << (messages.empty() ? "" : messages.front());
        }
        if (fault == kUnplug || fault == kReplug) {
            EXPECT_EQ(losses, 1) << where;
            EXPECT_EQ(std::count(messages.begin(), messages.end(), "Communication is not open"), 0)
                << where << ": the loss was told already";
            EXPECT_EQ(messages.empty() ? "" : messages.front(), lost) << where << ": the loss is told first";
            EXPECT_EQ(protocol().ReplyState, reply::kNotOpen) << where;
            EXPECT_FALSE(m_port->IsConnected()) << where;
            if (fault == kUnplug) {
                EXPECT_FALSE(QFileInfo(m_emulator->linkPath()).isSymLink())
                    << where << ": the name outlived the device";
            }
        } else {
            EXPECT_EQ(losses, 0) << where;
            EXPECT_TRUE(m_port->IsConnected()) << where;
            EXPECT_TRUE(Answers(fault)) << where << ": the controller does not answer again";
        }
        if (fault == kReplug) {
            EXPECT_TRUE(PumpUntil([this] { return QFileInfo(m_emulator->linkPath()).exists(); }, 2000));
            commLink().ReOpen();
            EXPECT_EQ(protocol().ReplyState, reply::kIdle) << where;
            EXPECT_TRUE(Answers(fault)) << where << ": Re-Open does not bring the link back";
            outcome += ", reopened";
        }
        CheckFiles(where, before, ReadFiles(dir));
        m_emulator.reset();
        return outcome;
    }

    // Nothing is lost, nothing half-written is left: every file is as it was, except the memory image
    // saved, which holds whole blocks.
    static void CheckFiles(const std::string& where, const Files& before, const Files& after) {
        EXPECT_EQ(after.size(), before.size()) << where << ": files left behind or lost";
        for (const auto& [name, bytes] : before) {
            ASSERT_TRUE(after.count(name)) << where << ": " << name.toStdString() << " is gone";
            if (name == "saved.ram")
                EXPECT_TRUE(after.at(name) == bytes || (after.at(name).size() % 256 == 0 &&
                                                        after.at(name).size() <= qsizetype(kBlockLength)))
                    << where << ": saved.ram holds " << after.at(name).size() << " bytes";
            else
                EXPECT_EQ(after.at(name), bytes) << where << ": " << name.toStdString() << " changed";
        }
    }

    std::unique_ptr<CancellingUi> m_ui;
    std::unique_ptr<SerialPort> m_port;
    std::unique_ptr<EmulatorProcess> m_emulator;
};

TEST_F(FaultMatrix, EveryOperationSurvivesEveryFault) {
    std::vector<std::vector<std::string>> cells;
    for (const Operation& op : kOperations) {
        qsizetype bytes = 0;
        cells.emplace_back();
        for (int fault = 0; fault < kFaults; ++fault)
            cells.back().push_back(RunCell(op, static_cast<Fault>(fault), bytes));
    }
    std::ostringstream table;
    table << std::left << std::setw(16) << "";
    for (const char* fault : kFaultNames)
        table << " | " << std::setw(16) << fault;
    table << "\n";
    for (size_t row = 0; row < cells.size(); ++row) {
        table << std::setw(16) << kOperations[row].name;
        for (const std::string& cell : cells[row])
            table << " | " << std::setw(16) << cell.substr(0, 16);
        table << "\n";
    }
    std::cout << table.str();
}

} // namespace
