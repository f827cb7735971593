#pragma once

#include "ConsoleModel.h"
#include "ControlCommands.h"
#include "EmulatorOptions.h"
#include "OutputQueue.h"
#include "PtyDevice.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

// Serves the console on a pseudo-terminal: one poll loop reads what the PC sends, feeds the console,
// writes its answers (paced at the chosen line rate), and answers the control channel.
class EmulatorServer {
public:
    explicit EmulatorServer(const EmulatorOptions& options);
    ~EmulatorServer();

    int Run();
    static void RequestStop();

private:
    // A control command that waits for a number of bytes from the PC (control command "after").
    struct Trigger {
        int64_t remaining;
        std::string command;
    };
    struct Client {
        int fd;
        std::string input;
    };

    bool Start(std::string& error);
    bool OpenControlSocket(std::string& error);
    void NewConsole();
    std::vector<struct pollfd> PollSet(int64_t now) const;
    int64_t WaitNanoseconds(int64_t now) const;
    void ServeReady(const std::vector<struct pollfd>& fds);
    void ServeDevice();
    void FeedConsole(const char* bytes, size_t length);
    void AcceptClient();
    bool ServeClient(Client& client);
    void ServeStdin();
    void TakeLines(std::string& buffer, int replyFd);
    void RunControl(const std::string& line, int replyFd);
    void Unplug(int64_t milliseconds);
    void Replug();
    void CollectOutput();
    void FollowMove();
    void WriteOutput();
    void AnnounceDevice();

    EmulatorOptions m_options;
    std::unique_ptr<ConsoleModel> m_console;
    std::unique_ptr<ControlCommands> m_commands;
    PtyDevice m_pty;
    int m_listener = -1;
    std::vector<Client> m_clients;
    std::vector<Trigger> m_triggers;
    bool m_stdinOpen = false;
    std::string m_stdinBuffer;
    OutputQueue m_pending;
    long m_baud = 0;
    int64_t m_nextSlot = 0;  // when the next paced byte may go (steady clock, ns)
    int64_t m_replugAt = -1; // when an unplugged device comes back (steady clock, ns)
    int64_t m_moveEnd = -1;  // when the move in progress ends (steady clock, ns)
    bool m_quit = false;
    std::FILE* m_transcript = nullptr;
};
