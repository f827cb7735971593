#pragma once

#include "EmulatorProcess.h"
#include "LoopRobotUi.h"

#include "core/app/EventLoopUi.h"
#include "core/project/RouteEditorActions.h"
#include "support/ScriptedUi.h"

#include <QByteArray>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <vector>

class SerialPort;

// The screen of a mirror run: the event loop pumped as the program does, scripted dialog answers,
// the file dialogs answered with the project's path.
class MirrorUi : public EventLoopUi, public DialogAnswers {
public:
    bool AskName(std::string& name, const std::string& title) override { return AnswerName(name, title); }
    bool AskRouteFunction(std::string& word, int& parameter) override {
        return AnswerFunction(word, parameter);
    }
    bool AskContourFunction(int& code, double& a, double& b) override { return AnswerContour(code, a, b); }
    std::string AskSaveFileName(const std::string&, const std::string&, const std::string&,
                                const std::string&) override {
        return projectPath;
    }
    void KickIdle() override { ++replies; }

    std::string projectPath;
    int replies = 0; // replies completed (each one kicks the command states)
};

// Mirror fidelity: random editing operations, chosen as an operator would from the buttons that are
// enabled, run through the core against the controller emulator; after each one the emulator's
// RUN-LIST must equal the project's image (name-index words aside), the link must be idle and no
// message may have appeared that the operation does not expect. The arm moves between operations so
// that learned positions differ. The same seed runs the same operations.
class MirrorFuzz {
public:
    explicit MirrorFuzz(unsigned seed);
    ~MirrorFuzz();
    MirrorFuzz(const MirrorFuzz&) = delete;
    MirrorFuzz& operator=(const MirrorFuzz&) = delete;

    // Starts the emulator, opens the link and creates an empty project. False with `error` set.
    bool Start(std::string& error);
    // Runs up to `count` operations and stops at the first failure, which `failure` then describes
    // (seed, operation number and text, first differing offset). Each operation is written to `log`
    // when one is given.
    bool Run(int count, std::string& failure, std::ostream* log = nullptr);

    int operationsRun() const { return m_run; }
    // How often each kind of operation ran.
    const std::map<std::string, int>& kinds() const { return m_kinds; }

private:
    struct Operation {
        const char* kind;
        int weight;
        // Runs the operation and describes it; false when it does not apply now (nothing was done).
        std::function<bool(std::string& text)> run;
    };

    void DefineOperations();
    bool RunOne(std::string& text, std::string& problem);
    std::string Compare();
    void MoveArm();

    // Random choices.
    int Uniform(int low, int high);
    bool Chance(int percent) { return Uniform(1, 100) <= percent; }
    std::string NewName(const char* prefix);
    int AnyEntry();
    int AnyRoute(const std::function<bool(int)>& accept = {});
    int AnyPlace();
    void QueueRecordEdit(int low, int high);
    void QueueRouteFunction(bool allowUnknown);
    void QueueContour();

    // Operations that need more than one call.
    bool NewRoute(std::string& text, bool large);
    bool PressEditorButton(std::string& text, EditorButton button);
    bool Teach(std::string& text, bool learn);

    unsigned m_seed;
    std::mt19937 m_random;
    QTemporaryDir m_dir;
    MirrorUi m_ui;
    LoopRobotUi m_robot;
    std::unique_ptr<SerialPort> m_port;
    std::unique_ptr<EmulatorProcess> m_emulator;
    QTimer m_watchdog;
    int m_watchdogFired = 0;
    std::vector<Operation> m_operations;
    std::vector<std::string> m_allowedMessages; // message prefixes the running operation may show
    std::map<std::string, int> m_kinds;
    int m_run = 0;
    int m_nameCounter = 0;
};
