#pragma once

#include "core/link/Transport.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class ConsoleModel;
class ControlCommands;
class ScriptedUi;

// The controller behind a fake port, in the test process: the emulator's console model takes every
// byte the PC writes, and what it answers reaches the PC as one scripted event of the ScriptedUi (or,
// without one, through the Qt event loop), so the core reads it only while it waits, as from a real
// port. Faults at the PC's ENQs (counted from 1) change what the PC gets back.
class EmulatedController : public Transport {
public:
    explicit EmulatedController(ScriptedUi* ui, int joints = 6, int axes = 6);
    ~EmulatedController() override;

    bool OpenComm(int, unsigned, const std::string&) override { return ++opens, true; }
    void CloseComm() override { ++closes; }
    int CommRead(char* buffer, int maximum) override;
    bool CommWrite(const char* data, int length) override;
    bool IsConnected() const override { return true; }

    // Bytes the controller sends, its answers or what it prints on its own (a teach pad signal): they
    // arrive together at the next wait.
    void Print(const std::string& bytes);
    // The console (include "ConsoleModel.h"; its AxisValues are not the core's).
    ConsoleModel& console() { return *m_console; }
    // A fresh console for an arm with other counts of joints and Cartesian axes.
    void NewConsole(int joints, int axes);
    // The command lines the console ran, in order.
    const std::vector<std::string>& Lines() const;
    // Runs a line on the console directly, as an operator at the controller would; its answer.
    std::string Run(const std::string& line);
    // A command of the emulator's control channel ("errors 1", "var INCR", ...); its text.
    std::string Control(const std::string& command);
    // The controller's memory bank (64 KB).
    uint8_t* Bank(int bank);

    std::string written;    // every byte the PC sent
    std::vector<int> reads; // the size of every read the link made
    int opens = 0;
    int closes = 0;
    int enqs = 0; // ENQs and ETXs the PC sent as framing bytes
    int etxs = 0;

    // "Cancel" is pressed while the answer to this ENQ is on its way; the answer then still arrives
    // when `answerAfterCancel` is set, else the ENQ is lost.
    int cancelAtEnq = 0;
    bool answerAfterCancel = false;
    // The answer to an ENQ replaced by these bytes (the console never sees that ENQ).
    std::map<int, std::string> enqAnswers;
    // Line noise that arrives just before the console's own answer to this ENQ.
    std::map<int, std::string> enqNoise;
    // The link goes away instead of the answer to this ENQ.
    int lostAtEnq = 0;
    // The controller answers this command line with an error, every time.
    std::string refusedLine;

private:
    void Later(const std::function<void()>& event);

    std::unique_ptr<ConsoleModel> m_console;
    std::unique_ptr<ControlCommands> m_control;
    ScriptedUi* m_ui;
    std::string m_inbox;
    std::string m_typed; // the command line being sent
};
