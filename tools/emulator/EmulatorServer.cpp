#include "EmulatorServer.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
volatile std::sig_atomic_t g_stop = 0;
constexpr size_t kMaxPending = 256u * 1024 * 1024;
constexpr size_t kMaxClientLine = 65536;

int64_t Now() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::send(fd, text.data() + done, text.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == ENOTSOCK)
            n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += size_t(n);
    }
}
} // namespace

void EmulatorServer::RequestStop() {
    g_stop = 1;
}

EmulatorServer::EmulatorServer(const EmulatorOptions& options) : m_options(options), m_baud(options.baud) {
    NewConsole();
}

EmulatorServer::~EmulatorServer() {
    for (const Client& client : m_clients)
        ::close(client.fd);
    if (m_listener >= 0) {
        ::close(m_listener);
        ::unlink(m_options.controlPath.c_str());
    }
    if (m_transcript)
        std::fclose(m_transcript);
}

void EmulatorServer::NewConsole() {
    m_commands.reset();
    m_console = std::make_unique<ConsoleModel>(m_options.joints, m_options.cartesianAxes);
    m_commands = std::make_unique<ControlCommands>(*m_console);
}

bool EmulatorServer::Start(std::string& error) {
    if (!m_options.transcriptPath.empty()) {
        m_transcript = std::fopen(m_options.transcriptPath.c_str(), "ab");
        if (!m_transcript) {
            error = "cannot open " + m_options.transcriptPath + ": " + std::strerror(errno);
            return false;
        }
    }
    // The control socket is up before the device is announced: a reader of the first line can use both.
    if (!m_options.controlPath.empty() && !OpenControlSocket(error))
        return false;
    m_pty.SetLinkPath(m_options.linkPath);
    if (!m_pty.Open(error))
        return false;
    AnnounceDevice();
    m_stdinOpen = m_options.stdinControl;
    return true;
}

bool EmulatorServer::OpenControlSocket(std::string& error) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (m_options.controlPath.size() >= sizeof address.sun_path) {
        error = "control socket path too long: " + m_options.controlPath;
        return false;
    }
    std::strcpy(address.sun_path, m_options.controlPath.c_str());
    ::unlink(m_options.controlPath.c_str());
    m_listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_listener, 8) != 0) {
        error = "cannot serve " + m_options.controlPath + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

void EmulatorServer::AnnounceDevice() {
    std::printf("%s\n", m_pty.SlavePath().c_str());
    std::fflush(stdout);
}

int EmulatorServer::Run() {
    std::string error;
    if (!Start(error)) {
        std::fprintf(stderr, "marlix-emulator: %s\n", error.c_str());
        return 1;
    }
    while (!g_stop && !m_quit) {
        // One reading of the clock for both: a due byte asks for POLLOUT, a later one sets the timer.
        int64_t now = Now();
        std::vector<pollfd> fds = PollSet(now);
        int64_t wait = WaitNanoseconds(now);
        timespec timeout{time_t(wait / 1000000000), long(wait % 1000000000)};
        int ready = ::ppoll(fds.data(), fds.size(), wait < 0 ? nullptr : &timeout, nullptr);
        if (ready < 0 && errno != EINTR) {
            std::fprintf(stderr, "marlix-emulator: poll: %s\n", std::strerror(errno));
            return 1;
        }
        if (m_replugAt >= 0 && Now() >= m_replugAt)
            Replug();
        FollowMove();
        if (ready > 0)
            ServeReady(fds);
        FollowMove();
        CollectOutput();
        WriteOutput();
    }
    return 0;
}

void EmulatorServer::ServeReady(const std::vector<pollfd>& fds) {
    std::vector<int> readyClients;
    for (const pollfd& fd : fds) {
        if (fd.revents == 0)
            continue;
        if (fd.fd == m_pty.MasterFd())
            ServeDevice();
        else if (fd.fd == m_listener)
            AcceptClient();
        else if (fd.fd == STDIN_FILENO && m_stdinOpen)
            ServeStdin();
        else
            readyClients.push_back(fd.fd);
    }
    // A client that closed, or sent a line too long to be a command, is let go.
    for (int fd : readyClients) {
        auto client =
            std::find_if(m_clients.begin(), m_clients.end(), [fd](const Client& c) { return c.fd == fd; });
        if (client != m_clients.end() && !ServeClient(*client)) {
            ::close(client->fd);
            m_clients.erase(client);
        }
    }
}

std::vector<pollfd> EmulatorServer::PollSet(int64_t now) const {
    std::vector<pollfd> fds;
    if (m_pty.IsOpen()) {
        short events = POLLIN;
        if (!m_pending.Empty() && (m_baud == 0 || now >= m_nextSlot))
            events |= POLLOUT;
        fds.push_back({m_pty.MasterFd(), events, 0});
    }
    if (m_listener >= 0)
        fds.push_back({m_listener, POLLIN, 0});
    for (const Client& client : m_clients)
        fds.push_back({client.fd, POLLIN, 0});
    if (m_stdinOpen)
        fds.push_back({STDIN_FILENO, POLLIN, 0});
    return fds;
}

// How long the loop may sleep: until the next paced byte is due or the device comes back; -1 for ever.
int64_t EmulatorServer::WaitNanoseconds(int64_t now) const {
    int64_t wait = -1;
    // A byte already due waits for the device to take it (POLLOUT), not for a timer.
    if (m_pty.IsOpen() && !m_pending.Empty() && m_baud > 0 && m_nextSlot > now)
        wait = m_nextSlot - now;
    if (m_moveEnd >= 0) {
        int64_t move = std::max<int64_t>(0, m_moveEnd - now);
        wait = wait < 0 ? move : std::min(wait, move);
    }
    if (m_replugAt >= 0) {
        int64_t replug = std::max<int64_t>(0, m_replugAt - now);
        wait = wait < 0 ? replug : std::min(wait, replug);
    }
    return wait;
}

void EmulatorServer::ServeDevice() {
    char buffer[4096];
    for (;;) {
        ssize_t n = ::read(m_pty.MasterFd(), buffer, sizeof buffer);
        if (n <= 0)
            return;
        if (m_transcript) {
            std::fwrite(buffer, 1, size_t(n), m_transcript);
            std::fflush(m_transcript);
        }
        FeedConsole(buffer, size_t(n));
        FollowMove();
        CollectOutput();
    }
}

// Feeds the console up to each armed trigger's byte, runs the triggers that are due, then goes on;
// what arrives after an unplug is lost with the device.
void EmulatorServer::FeedConsole(const char* bytes, size_t length) {
    size_t done = 0;
    while (done < length && m_pty.IsOpen()) {
        size_t piece = length - done;
        for (const Trigger& trigger : m_triggers)
            piece = std::min(piece, size_t(trigger.remaining));
        m_console->Feed(bytes + done, piece);
        done += piece;
        std::vector<std::string> due;
        for (auto t = m_triggers.begin(); t != m_triggers.end();) {
            t->remaining -= int64_t(piece);
            if (t->remaining > 0) {
                ++t;
                continue;
            }
            due.push_back(t->command);
            t = m_triggers.erase(t);
        }
        for (const std::string& command : due)
            RunControl(command, -1);
    }
}

void EmulatorServer::AcceptClient() {
    int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd >= 0)
        m_clients.push_back({fd, {}});
}

bool EmulatorServer::ServeClient(Client& client) {
    char buffer[4096];
    ssize_t n = ::read(client.fd, buffer, sizeof buffer);
    if (n <= 0)
        return false;
    client.input.append(buffer, size_t(n));
    TakeLines(client.input, client.fd);
    return client.input.size() < kMaxClientLine;
}

void EmulatorServer::ServeStdin() {
    char buffer[4096];
    ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0) {
        m_stdinOpen = false;
        return;
    }
    m_stdinBuffer.append(buffer, size_t(n));
    TakeLines(m_stdinBuffer, STDOUT_FILENO);
}

void EmulatorServer::TakeLines(std::string& buffer, int replyFd) {
    size_t end;
    while ((end = buffer.find('\n')) != std::string::npos) {
        std::string line = buffer.substr(0, end);
        buffer.erase(0, end + 1);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        RunControl(line, replyFd);
    }
}

void EmulatorServer::RunControl(const std::string& line, int replyFd) {
    ControlResult result = m_commands->Run(line);
    switch (result.action) {
    case ControlResult::Action::Unplug:
        Unplug(result.value);
        break;
    case ControlResult::Action::Replug:
        Replug();
        break;
    case ControlResult::Action::SetBaud:
        m_baud = long(result.value);
        m_nextSlot = Now();
        break;
    case ControlResult::Action::Reset:
        NewConsole();
        m_moveEnd = -1;
        break;
    case ControlResult::Action::Quit:
        m_quit = true;
        break;
    case ControlResult::Action::After:
        m_triggers.push_back({result.value, result.command});
        break;
    case ControlResult::Action::None:
        break;
    }
    CollectOutput();
    if (replyFd >= 0)
        WriteAll(replyFd, result.text);
}

// The device and its link go together, as an adaptor's device node does: a link left pointing at the
// closed device would name whichever pseudo-terminal the system hands out next under that number. The
// link goes first, so that the other side, which notices the loss at once, never finds it.
void EmulatorServer::Unplug(int64_t milliseconds) {
    m_pty.RemoveLink();
    m_pty.Close();
    m_pending.Clear();
    m_console->DropLink();
    m_replugAt = milliseconds > 0 ? Now() + milliseconds * 1000000 : -1;
}

void EmulatorServer::Replug() {
    m_replugAt = -1;
    if (m_pty.IsOpen())
        return;
    std::string error;
    if (!m_pty.Open(error)) {
        std::fprintf(stderr, "marlix-emulator: %s\n", error.c_str());
        return;
    }
    m_nextSlot = Now();
    AnnounceDevice();
}

// A move answers when its time is up; the line after it may start another.
void EmulatorServer::FollowMove() {
    for (int moves = 0; moves < 1000 && m_console->Moving(); ++moves) {
        if (m_moveEnd < 0)
            m_moveEnd = Now() + int64_t(m_console->MoveTime()) * 1000000;
        if (Now() < m_moveEnd)
            return;
        m_moveEnd = -1;
        m_console->FinishMove();
    }
}

void EmulatorServer::CollectOutput() {
    std::string out = m_console->TakeOutput();
    if (out.empty() || !m_pty.IsOpen())
        return;
    if (m_pending.Empty())
        m_nextSlot = std::max(m_nextSlot, Now());
    if (m_pending.Size() + out.size() <= kMaxPending)
        m_pending.Append(out);
}

// Sends what is due: everything at once without pacing, otherwise one byte per 10 bit times, catching
// up in a burst after a late wake-up so that the average rate is the line's.
void EmulatorServer::WriteOutput() {
    if (!m_pty.IsOpen() || m_pending.Empty())
        return;
    size_t allowed = m_pending.Size();
    int64_t byteTime = m_baud > 0 ? 10000000000LL / m_baud : 0;
    int64_t now = Now();
    if (byteTime > 0) {
        if (now < m_nextSlot)
            return;
        allowed = std::min(allowed, size_t((now - m_nextSlot) / byteTime + 1));
    }
    ssize_t n = ::write(m_pty.MasterFd(), m_pending.Data(), allowed);
    if (n <= 0)
        return;
    m_pending.Consume(size_t(n));
    m_nextSlot += int64_t(n) * byteTime;
}
