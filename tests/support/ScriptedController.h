#pragma once

#include "core/link/Transport.h"
#include "support/ScriptedUi.h"

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

// A controller behind a fake port for unit tests: records every command line it is sent, echoes it
// and answers the way the console does (echo, two separators, the answer, "OK", CR LF, ">"). The
// answer arrives at the next wait, as it would over a real line. ESC ends a line like CR.
class ScriptedController : public Transport {
public:
    explicit ScriptedController(ScriptedUi& ui) : m_ui(ui) {}

    bool OpenComm(int, unsigned, const std::string&) override { return true; }
    void CloseComm() override {}
    bool IsConnected() const override { return true; }

    int CommRead(char* buffer, int maximum) override {
        const int n = std::min<int>(maximum, static_cast<int>(m_inbox.size()));
        m_inbox.copy(buffer, static_cast<size_t>(n));
        m_inbox.erase(0, static_cast<size_t>(n));
        return n;
    }

    bool CommWrite(const char* data, int length) override {
        raw.append(data, static_cast<size_t>(length));
        for (int i = 0; i < length; ++i)
            Take(data[i]);
        return true;
    }

    // Prints text as the controller would, outside any reply (a teach pad signal, for example).
    void Print(const std::string& text) {
        m_inbox += text;
        if (DataArrived)
            DataArrived();
    }

    std::vector<std::string> lines;             // command lines received, without their CR
    std::string raw;                            // every byte received
    std::map<std::string, std::string> answers; // a query's answer by command line
    std::set<std::string> refused;              // lines answered with " err" and no "OK"
    std::set<std::string> silentLines;          // lines that get no prompt at all (the modes)

private:
    void Take(char c) {
        if (c != '\r' && c != 27) {
            m_line += c;
            return;
        }
        const std::string line = m_line;
        m_line.clear();
        lines.push_back(c == 27 ? std::string(1, c) : line);
        if (silentLines.count(line)) {
            // A mode word: echoed, then the controller stays in the mode without a prompt.
            m_ui.events.push_back([this, line] { Print(line + "\r\n"); });
            return;
        }
        std::string reply = line;
        if (refused.count(line))
            reply += " err\r\n>";
        else if (answers.count(line))
            reply += "  " + answers[line] + "OK\r\n>";
        else
            reply += " OK\r\n>";
        m_ui.events.push_back([this, reply] { Print(reply); });
    }

    ScriptedUi& m_ui;
    std::string m_line;
    std::string m_inbox;
};
