// Saves that survive a kill: a child process saves a project (.run and .ed1), a macro set, a settings
// profile and a memory image over and over through the program's own save commands, switching between
// two versions, and is killed (SIGKILL) at a random moment. Every file on disk must then be the whole
// old or the whole new version, and once the project's interrupted save is finished as opening it does,
// its .run and .ed1 files are of one version. MARLIX_KILL_ROUNDS sets the number of kills (default 300),
// MARLIX_KILL_DIR the folder to save in (default: in memory where the system offers it, so that the test
// takes seconds).
#include "core/app/CoreWiring.h"
#include "core/link/CommLink.h"
#include "core/macros/Cmacdoc.h"
#include "core/project/CPosDat.h"
#include "core/project/ProjectModel.h"
#include "core/project/ProjectPair.h"
#include "core/protocol/Protocol.h"
#include "core/robot/CSettings.h"
#include "core/text/BinaryBlocks.h"
#include "support/EmulatedController.h"
#include "support/ScriptedUi.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace runlist;

namespace {

const char* const kFiles[] = {"p.run", "p.ED1", "m.mac", "s.cfg", "b.ram"};
constexpr int kFileCount = std::size(kFiles);

// Writes every file of version `v` (0 or 1) into the folder `path`, made when missing, from a fresh
// core; the versions differ in size and content.
QDir SaveVersion(const QString& path, int v, ScriptedUi& ui, EmulatedController& controller) {
    const QDir dir(path);
    dir.mkpath(".");
    const auto save = [&](Cfdoc& doc, const char* name) {
        ui.fileNames = {dir.filePath(name).toStdString()};
        doc.SaveFileDocumentAs();
    };
    ResetCore();
    commLink().SetTransport(&controller);
    commLink().EnsureDocument();
    protocol().ReplyState = reply::kIdle;
    for (int i = 0; i <= 2 * v; ++i)
        projectModel().SetWord(
            projectModel().AllocateEntry(kPlaceParagraphs, "P" + std::to_string(i)) + kKind, kPlace);
    save(projectDocument(), "p.run");
    macroDoc().Append("M" + std::to_string(v), std::string(v ? 300 : 3, 'x'));
    save(macroDoc(), "m.mac");
    settings().SetJointNames(v ? 3 : 6, {"Base", std::string(v ? 200 : 2, 'j')});
    save(settings(), "s.cfg");
    std::fill_n(controller.Bank(0) + 0x4000, 0x300, static_cast<uint8_t>('a' + v));
    binblocks::SaveBinaryFile(dir.filePath("b.ram").toStdString(), 0, 0x4000, 0x300);
    ui.events.clear();
    return dir;
}

// Every file's bytes, in the order of kFiles.
std::vector<QByteArray> ReadAll(const QDir& dir) {
    std::vector<QByteArray> files;
    for (const char* name : kFiles)
        files.push_back(ReadTestFile(dir.filePath(name).toStdString()));
    return files;
}

class KilledSave : public ::testing::Test {
protected:
    static QString RootTemplate() {
        const char* dir = std::getenv("MARLIX_KILL_DIR");
        const QString folder = dir ? dir : QDir("/dev/shm").exists() ? "/dev/shm" : QDir::tempPath();
        return QDir(folder).filePath("marlix-killed-save-XXXXXX");
    }

    ~KilledSave() override { ResetCore(); }

    QTemporaryDir root{RootTemplate()};
    ScriptedUi ui;
    EmulatedController controller{&ui};
};

TEST_F(KilledSave, EveryFileIsTheWholeOldOrTheWholeNewVersion) {
    const char* roundsSetting = std::getenv("MARLIX_KILL_ROUNDS");
    const int rounds = roundsSetting ? std::atoi(roundsSetting) : 300;
    const auto started = std::chrono::steady_clock::now();
    const std::vector<QByteArray> versions[2] = {
        ReadAll(SaveVersion(root.filePath("old"), 0, ui, controller)),
        ReadAll(SaveVersion(root.filePath("new"), 1, ui, controller))};
    // Kills fall anywhere in the child's first three saves of a version.
    const auto twoSaves = std::chrono::steady_clock::now() - started;
    for (int f = 0; f < kFileCount; ++f)
        ASSERT_NE(versions[0][f], versions[1][f]) << kFiles[f];
    const QDir work = SaveVersion(root.filePath("work"), 0, ui, controller);

    std::mt19937 random(14);
    int seen[kFileCount][2] = {};
    // A child slowed by a busy machine may not reach a single rename inside the window measured above;
    // rounds that change nothing widen the window, so kills keep landing inside saves.
    double stretch = 1.0;
    std::string before;
    for (int round = 0; round < rounds && !HasFailure(); ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            for (int v = 1;; v ^= 1)
                SaveVersion(work.path(), v, ui, controller);
        std::this_thread::sleep_for(twoSaves * (stretch * std::uniform_real_distribution<>(0, 1.5)(random)));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the saving child ended by itself";

        RecoverProjectPair(work.filePath(kFiles[0]).toStdString(), work.filePath(kFiles[1]).toStdString());
        // The version of each file: 0 old, 1 new, ? neither.
        const std::vector<QByteArray> files = ReadAll(work);
        std::string version;
        for (int f = 0; f < kFileCount; ++f) {
            version += files[f] == versions[0][f] ? '0' : files[f] == versions[1][f] ? '1' : '?';
            seen[f][version[f] == '1'] += version[f] != '?';
        }
        ASSERT_EQ(version.find('?'), std::string::npos) << version << " after kill " << round;
        ASSERT_EQ(version[0], version[1])
            << "the project's files are of different versions after kill " << round;
        stretch = version == before ? std::min(stretch * 1.1, 20.0) : stretch;
        before = version;
    }
    // What interrupted saves left behind is gone after the next save of each file.
    SaveVersion(work.path(), 1, ui, controller);
    EXPECT_EQ(work.entryList(QDir::Files), QStringList({"b.ram", "m.mac", "p.ED1", "p.run", "s.cfg"}));
    for (int f = 0; f < kFileCount; ++f)
        EXPECT_TRUE(rounds < 50 || (seen[f][0] > 0 && seen[f][1] > 0))
            << kFiles[f] << " never changed: old/new " << seen[f][0] << "/" << seen[f][1];
}

} // namespace
