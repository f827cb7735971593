// Every operation that talks to the controller against every fault the line can show, each fault put
// by the emulator in the middle of the operation (after half of the bytes the operation sends when all
// goes well; uploads, which send little, just before their last blocks). For every cell: the operation
// returns, by itself or after the operator's "Cancel" (pressed by the scripted screen when a wait box
// has seen no progress for a while); a lost line is reported once, first, and leaves the link not
// open, and "Re-Open" works once the device is back; otherwise the link stays open and answers again;
// every file is still there, whole; a failure the operator did not cause is explained by a message.
// The matrix of outcomes is printed.
#include "EmulatorSession.h"

#include "core/macros/Cmacdoc.h"
#include "core/project/CPosDat.h"
#include "core/project/ProjectFiles.h"
#include "core/project/ProjectModel.h"
#include "core/protocol/RobotExchange.h"
#include "core/text/BinaryBlocks.h"
#include "core/text/SourceDownload.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFileInfo>

#include <functional>
#include <gtest/gtest.h>
#include <iomanip>
#include <iostream>
#include <map>
#include <sstream>

using namespace runlist;

namespace {

constexpr int kCancelAfterMs = 250; // a wait box without progress for this long is cancelled
constexpr unsigned kBlockStart = 0x4000, kBlockLength = 0x800;

enum Fault { kNone, kSilence, kError, kGarbage, kUnplug, kReplug, kReset, kFaults };
const char* const kFaultNames[kFaults] = {"none", "silence", "error", "garbage", "unplug", "replug", "reset"};
// What the emulator is told to do when the fault comes; a controller that starts again greets.
const QString kGreeting = "send \\r\\n\\r\\nKAVENTRIX READY\\r\\n>";
const QStringList kFaultCommands[kFaults] = {{},         {"silent on"},  {"errors 1"},        {"garbage 300"},
                                             {"unplug"}, {"unplug 150"}, {"reset", kGreeting}};

// The files the operations work on: a project of thirty places (six blocks of run-list), a source
// file, a memory image to load and one that a save replaces.
void WriteFiles(const EmulatorSession& s) {
    ResetCore();
    ProjectModel& model = projectModel();
    for (int i = 0; i < 30; ++i)
        model.SetWord(model.AllocateEntry(kPlaceParagraphs, "P" + std::to_string(i)) + kKind, kPlace);
    std::ostringstream ed1;
    WriteDeclarations(ed1, model);
    WriteTestFile(s.Path("proj.run"), RunFileBytes(model));
    WriteTestFile(s.Path("proj.ed1"), QByteArray::fromStdString(ed1.str()));
    WriteTestFile(s.Path("proj.ed2"), ": TWICE 2 * ;\nVARIABLE V1\n: THRICE 3 * ;\n");
    WriteTestFile(s.Path("src.txt"), "DECIMAL 1 INCR !\nHOME\nDECIMAL 2 INCR !\nDECIMAL 3 INCR !\nHOME\n");
    QByteArray image;
    for (unsigned i = 0; i < kBlockLength; ++i)
        image.append(static_cast<char>(i * 7 + i / 256));
    WriteTestFile(s.Path("image.ram"), image);
    WriteTestFile(s.Path("saved.ram"), QByteArray(256, 'o'));
}

// The folder and link an operation runs with.
using Cell = const EmulatorSession&;

struct Operation {
    const char* name;
    bool upload;       // sends little: the fault goes before its last blocks
    bool needsProject; // runs on the open project
    std::function<bool(Cell)> run;
};

const Operation kOperations[] = {
    {"command", false, false, [](Cell) { return protocol().SendCommand("DECIMAL 60 50 40 30 20 10 JMA"); }},
    {"query", false, false,
     [](Cell) {
         int value = 0;
         return QueryVariable("CREEP-FACTOR", value) && value == 10;
     }},
    {"source download", false, false, [](Cell s) { return DownloadSourceFile(s.Path("src.txt")); }},
    {"Update data", true, true,
     [](Cell) {
         projectDocument().UpdateData();
         return projectModel().EntryNames.size() == 30;
     }},
    {"Download data", false, true,
     [](Cell) {
         projectDocument().DownloadData();
         return true;
     }},
    {"Save Binary", true, false,
     [](Cell s) { return binblocks::SaveBinaryFile(s.Path("saved.ram"), 2, kBlockStart, kBlockLength); }},
    {"Load Binary", false, false,
     [](Cell s) { return binblocks::LoadBinaryFile(s.Path("image.ram"), 2, kBlockStart, kBlockLength); }},
    {"macro", false, false,
     [](Cell) {
         macroDoc().Append("Three", "HOME\r\nDECIMAL 7 INCR !\r\nDECIMAL GF");
         return macroDoc().RunMacro(0);
     }},
    {"project Open", false, false, [](Cell s) { return projectDocument().OpenFile(s.Path("proj.run")); }},
};

// The files of the operations by name, without the emulator's own and the profile.
using Files = std::map<std::string, std::string>;

Files ReadFiles(Cell s) {
    const QDir dir(s.dir.path());
    Files files;
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
        if (!QStringList{"controller", "control", "transcript", "profile.ini"}.contains(name))
            files[name.toStdString()] = ReadTestFile(dir.filePath(name).toStdString()).toStdString();
    }
    return files;
}

// The controller answers again once the faults are cleared (a cancelled exchange may cost a try).
// A controller that fell silent in the middle of a block it was receiving waits for the rest of it:
// its operator restarts it.
bool Answers(EmulatorProcess& emulator, Fault fault) {
    emulator.Control(fault == kSilence ? "reset" : "silent off");
    emulator.Control("errors 0");
    for (int attempt = 0; attempt < 3; ++attempt)
        if (protocol().SendCommand("HOME"))
            return true;
    return false;
}

// Runs one cell on a fresh emulator and core and checks it; returns its short outcome.
std::string RunCell(const Operation& op, Fault fault, qsizetype& bytes) {
    EmulatorSession s(kCancelAfterMs);
    WriteFiles(s);
    std::string problem = s.Start();
    if (problem.empty() && op.needsProject && !projectDocument().OpenFile(s.Path("proj.run")))
        problem = "the project did not open";
    const std::string where = std::string(op.name) + " x " + kFaultNames[fault];
    if (!problem.empty() || !s.screen.messages.empty())
        return ADD_FAILURE() << where << ": the cell could not be set up: " << problem, "setup?";
    const Files before = ReadFiles(s);
    const qsizetype sent = s.emulator.Transcript().size();
    const QString after = QString("after %1 ").arg(op.upload ? bytes - 2 : bytes / 2);
    for (const QString& command : kFaultCommands[fault])
        EXPECT_TRUE(s.emulator.Control(after + command)) << command.toStdString();
    const bool result = op.run(s);
    if (fault == kNone)
        bytes = s.emulator.Transcript().size() - sent;

    const std::vector<std::string> messages = s.screen.messages;
    const std::string lost = "Port " + s.emulator.linkPath().toStdString() + " is no longer available";
    const bool unplugged = fault == kUnplug || fault == kReplug;
    std::string outcome = unplugged           ? "lost"
                          : !messages.empty() ? messages.front().substr(0, 13)
                          : result            ? "ok"
                                              : "";
    if (s.screen.cancels && !unplugged)
        outcome += outcome.empty() ? "cancelled" : " +cancel";
    EXPECT_NE(outcome, "") << where << ": failed silently";
    EXPECT_FALSE(s.screen.waitBoxOpen) << where;
    EXPECT_EQ(protocol().receiveMode, ReceiveMode::Text) << where;
    EXPECT_EQ(s.port.IsConnected(), !unplugged) << where;
    if (fault == kNone) {
        EXPECT_EQ(outcome, "ok") << where;
    }
    // A lost line is told first and once (no "Communication is not open" after it) and leaves the link
    // not open; the name of a device that is gone goes with it.
    const auto told = [&messages](const std::string& text) {
        return std::count(messages.begin(), messages.end(), text);
    };
    if (unplugged) {
        EXPECT_EQ(std::make_tuple(messages.empty() ? "" : messages.front(), told(lost),
                                  told("Communication is not open"), protocol().ReplyState),
                  std::make_tuple(lost, 1, 0, reply::kNotOpen))
            << where;
    } else {
        EXPECT_EQ(told(lost), 0) << where;
        EXPECT_TRUE(Answers(s.emulator, fault)) << where << ": the controller does not answer again";
    }
    if (fault == kUnplug) {
        EXPECT_FALSE(QFileInfo(s.emulator.linkPath()).isSymLink()) << where;
    }
    if (fault == kReplug) {
        EXPECT_TRUE(PumpUntil([&s] { return QFileInfo(s.emulator.linkPath()).exists(); }, 2000));
        commLink().ReOpen();
        EXPECT_TRUE(Answers(s.emulator, fault)) << where << ": Re-Open does not bring the link back";
        outcome += ", reopened";
    }
    // Nothing is lost, nothing half-written is left: every file is as it was, except the memory image
    // saved, which may hold whole blocks instead.
    Files now = ReadFiles(s);
    if (now.count("saved.ram") && now["saved.ram"].size() % 256 == 0 &&
        now["saved.ram"].size() <= kBlockLength)
        now["saved.ram"] = before.at("saved.ram");
    EXPECT_EQ(now, before) << where << ": a file changed, was left behind or lost";
    return outcome;
}

TEST(FaultMatrix, EveryOperationSurvivesEveryFault) {
    std::ostringstream table;
    table << std::left << std::setw(16) << "";
    for (const char* fault : kFaultNames)
        table << " | " << std::setw(16) << fault;
    for (const Operation& op : kOperations) {
        table << "\n" << std::setw(16) << op.name;
        qsizetype bytes = 0;
        for (int fault = 0; fault < kFaults; ++fault)
            table << " | " << std::setw(16) << RunCell(op, static_cast<Fault>(fault), bytes).substr(0, 16);
    }
    std::cout << table.str() << "\n";
}

} // namespace
