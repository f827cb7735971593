// Runs the real emulator program and talks to it over its pseudo-terminal and control socket.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <termios.h>
#include <unistd.h>

namespace {
using Clock = std::chrono::steady_clock;

// Reads from fd until `until` is in what was read or the time is up.
std::string ReadUntil(int fd, const std::string& until, int milliseconds = 3000) {
    std::string got;
    auto end = Clock::now() + std::chrono::milliseconds(milliseconds);
    while (got.find(until) == std::string::npos && Clock::now() < end) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0)
            continue;
        char buffer[512];
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        got.append(buffer, size_t(n));
    }
    return got;
}

int OpenDevice(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd >= 0) {
        termios settings{};
        tcgetattr(fd, &settings);
        cfmakeraw(&settings);
        tcsetattr(fd, TCSANOW, &settings);
    }
    return fd;
}

int ConnectControl(const std::string& path) {
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
            return fd;
        ::usleep(20000);
    }
    ::close(fd);
    return -1;
}

std::string Control(int fd, const std::string& command) {
    std::string line = command + "\n";
    EXPECT_EQ(::write(fd, line.data(), line.size()), ssize_t(line.size()));
    return ReadUntil(fd, "ok\n");
}

struct Emulator {
    QTemporaryDir dir;
    QProcess process;
    std::string device, link, socket, transcript;

    explicit Emulator(QStringList extra = {}) {
        link = QDir(dir.path()).filePath("robot").toStdString();
        socket = QDir(dir.path()).filePath("control").toStdString();
        transcript = QDir(dir.path()).filePath("transcript").toStdString();
        QStringList arguments{"--link",       QString::fromStdString(link),
                              "--control",    QString::fromStdString(socket),
                              "--transcript", QString::fromStdString(transcript)};
        process.start(MARLIX_EMULATOR_PATH, arguments + extra);
        if (process.waitForStarted(5000) && process.waitForReadyRead(5000))
            device = process.readLine().trimmed().toStdString();
    }
    ~Emulator() {
        process.terminate();
        if (!process.waitForFinished(3000))
            process.kill();
        process.waitForFinished(3000);
    }
};
} // namespace

TEST(EmulatorProcess, ServesTheConsoleOnAPseudoTerminalThroughItsLink) {
    Emulator emulator;
    ASSERT_EQ(emulator.device.rfind("/dev/pts/", 0), 0u) << emulator.device;
    char target[256] = {};
    ASSERT_GT(::readlink(emulator.link.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(std::string(target), emulator.device);

    int fd = OpenDevice(emulator.link);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "DECIMAL GF\r", 11), 11);
    EXPECT_EQ(ReadUntil(fd, ">"), "DECIMAL GF  0 0 0 0 0 0 OK\r\n>");
    ::close(fd);

    // The other side closes and opens the device again: the emulator keeps serving.
    fd = OpenDevice(emulator.link);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "HOME\r", 5), 5);
    EXPECT_EQ(ReadUntil(fd, ">"), "HOME OK\r\n>");
    ::close(fd);

    QFile transcript(QString::fromStdString(emulator.transcript));
    ASSERT_TRUE(transcript.open(QIODevice::ReadOnly));
    EXPECT_EQ(transcript.readAll(), QByteArray("DECIMAL GF\rHOME\r"));
}

TEST(EmulatorProcess, WritesItsWordListAndEnds) {
    QTemporaryDir dir;
    QString path = QDir(dir.path()).filePath("KXWords.txt");
    QProcess process;
    process.start(MARLIX_EMULATOR_PATH, {"--words", path});
    ASSERT_TRUE(process.waitForFinished(5000));
    EXPECT_EQ(process.exitCode(), 0);
    QFile list(path);
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    QByteArray text = list.readAll();
    EXPECT_EQ(text.size() % 19, 0);
    EXPECT_TRUE(text.contains(" 4 HOME      \r\n"));

    process.start(MARLIX_EMULATOR_PATH, {"--baud", "fast"});
    ASSERT_TRUE(process.waitForFinished(5000));
    EXPECT_EQ(process.exitCode(), 2) << "a bad option is refused";
    EXPECT_TRUE(process.readAllStandardError().contains("usage:"));
}

TEST(EmulatorProcess, ControlChannelSignalsAndUnplugs) {
    Emulator emulator;
    ASSERT_FALSE(emulator.device.empty());
    int fd = OpenDevice(emulator.device);
    ASSERT_GE(fd, 0);
    int control = ConnectControl(emulator.socket);
    ASSERT_GE(control, 0);
    EXPECT_EQ(Control(control, "signal learn"), "ok\n");
    EXPECT_EQ(ReadUntil(fd, "$"), "$");

    EXPECT_EQ(Control(control, "unplug 200"), "ok\n");
    char buffer[16];
    pollfd p{fd, POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 2000), 1);
    EXPECT_NE(p.revents & (POLLHUP | POLLERR), 0) << "the device is gone for the reader";
    EXPECT_LE(::read(fd, buffer, sizeof buffer), 0);
    ::close(fd);

    // It comes back under the link, and says where.
    ASSERT_TRUE(emulator.process.waitForReadyRead(3000));
    std::string device = emulator.process.readLine().trimmed().toStdString();
    fd = OpenDevice(emulator.link);
    ASSERT_GE(fd, 0) << device;
    ASSERT_EQ(::write(fd, "HOME\r", 5), 5);
    EXPECT_EQ(ReadUntil(fd, ">"), "HOME OK\r\n>");
    ::close(fd);
    ::close(control);
}

TEST(EmulatorProcess, PacesItsAnswersAtTheBaudRate) {
    Emulator emulator({"--baud", "9600"});
    int fd = OpenDevice(emulator.device);
    ASSERT_GE(fd, 0);
    int control = ConnectControl(emulator.socket);
    ASSERT_GE(control, 0);
    auto start = Clock::now();
    Control(control, "garbage 479");
    Control(control, "send >");
    std::string got = ReadUntil(fd, ">", 5000);
    auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    // 480 bytes at 960 bytes a second take half a second.
    EXPECT_GE(got.size(), 480u);
    EXPECT_GE(elapsed, 450);
    ::close(fd);
    ::close(control);
}
