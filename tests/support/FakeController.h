#pragma once

#include "core/link/Transport.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

class ScriptedUi;

// A transport that plays a controller for unit tests: it answers command lines and the block
// handshake. Its answers arrive as scripted events of the ScriptedUi, so they are read only while the
// core waits, as they would be from a real port.
class FakeController : public Transport {
public:
    explicit FakeController(ScriptedUi& ui) : m_ui(ui) {}

    bool OpenComm(int, unsigned, const std::string&) override { return true; }
    void CloseComm() override {}
    int CommRead(char* buffer, int maximum) override;
    bool CommWrite(const char* data, int length) override;
    bool IsConnected() const override { return true; }

    // Queues bytes for the PC and an event that tells the link they are there.
    void Deliver(const std::string& bytes);

    // The answer to a command line (given without its CR). Unset: the echo, then " OK", CR LF and ">"
    // (the echo alone for a line that starts a TRANSMIT).
    std::function<std::string(const std::string& line)> lineAnswer;
    // Answers to the ENQs, in turn. When none is left: STX during a RECEIVE, ETX otherwise.
    std::deque<std::string> enqAnswers;
    // Instead of answering this ENQ (counted from 1) the operator presses "Cancel".
    int cancelAtEnq = 0;
    // The answer to that ENQ still comes, right after the cancel.
    bool answerAfterCancel = false;

    std::string written;            // every byte the PC sent
    std::vector<std::string> lines; // command lines, without their CR
    std::string downloaded;         // data of the blocks the PC sent
    int enqCount = 0;
    int etxCount = 0;

private:
    void Take(char c);
    void AnswerEnq();
    void AnswerLine();

    ScriptedUi& m_ui;
    std::string m_inbox;
    std::string m_line;
    bool m_receiving = false; // between a RECEIVE line and the PC's ETX
    int m_blockBytesDue = 0;
};
