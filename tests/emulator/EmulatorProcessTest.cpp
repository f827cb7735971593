// Runs the real emulator program and talks to it over its pseudo-terminal and control socket.
#include "EmulatorProcess.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <string>
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
} // namespace

TEST(EmulatorProcess, ServesTheConsoleOnAPseudoTerminalThroughItsLink) {
    QTemporaryDir dir;
    EmulatorProcess emulator(dir.path());
    ASSERT_TRUE(emulator.isRunning());
    ASSERT_TRUE(emulator.devicePath().startsWith("/dev/pts/")) << emulator.devicePath().toStdString();
    EXPECT_EQ(QFile::symLinkTarget(emulator.linkPath()), emulator.devicePath());

    const std::string link = emulator.linkPath().toStdString();
    int fd = OpenDevice(link);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "DECIMAL GF\r", 11), 11);
    EXPECT_EQ(ReadUntil(fd, ">"), "DECIMAL GF  0 0 0 0 0 0 OK\r\n>");
    ::close(fd);

    // The other side closes and opens the device again: the emulator keeps serving.
    fd = OpenDevice(link);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "HOME\r", 5), 5);
    EXPECT_EQ(ReadUntil(fd, ">"), "HOME OK\r\n>");
    ::close(fd);
    EXPECT_TRUE(emulator.WaitForTranscript(16));
    EXPECT_EQ(emulator.Transcript(), QByteArray("DECIMAL GF\rHOME\r"));
}

// The word list it writes is read back by the program's word check in the end-to-end WordListTest.
TEST(EmulatorProcess, RefusesABadOption) {
    QProcess process;
    process.start(MARLIX_EMULATOR_PATH, {"--baud", "fast"});
    ASSERT_TRUE(process.waitForFinished(5000));
    EXPECT_EQ(process.exitCode(), 2);
    EXPECT_TRUE(process.readAllStandardError().contains("Invalid value 'fast' for '--baud'"));
}
