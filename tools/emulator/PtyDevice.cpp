#include "PtyDevice.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

PtyDevice::~PtyDevice() {
    Close();
    RemoveLink();
}

bool PtyDevice::Open(std::string& error) {
    Close();
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        Close();
        return false;
    }
    const char* name = ptsname(m_master);
    m_slavePath = name ? name : "";
    m_slave = ::open(m_slavePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_slave < 0) {
        error = "cannot open " + m_slavePath + ": " + std::strerror(errno);
        Close();
        return false;
    }
    // Raw bytes both ways: no echo, no line editing, no CR/LF translation by the terminal driver.
    termios settings{};
    if (tcgetattr(m_slave, &settings) == 0) {
        cfmakeraw(&settings);
        tcsetattr(m_slave, TCSANOW, &settings);
    }
    return UpdateLink(error);
}

void PtyDevice::Close() {
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_slave = m_master = -1;
}

bool PtyDevice::UpdateLink(std::string& error) {
    if (m_linkPath.empty())
        return true;
    // A new link is made beside the old one and renamed over it, so the path is never missing.
    std::string temporary = m_linkPath + ".new";
    ::unlink(temporary.c_str());
    if (::symlink(m_slavePath.c_str(), temporary.c_str()) != 0 ||
        ::rename(temporary.c_str(), m_linkPath.c_str()) != 0) {
        error = "cannot link " + m_linkPath + " to " + m_slavePath + ": " + std::strerror(errno);
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

void PtyDevice::RemoveLink() {
    if (m_linkPath.empty())
        return;
    char target[4096];
    ssize_t n = ::readlink(m_linkPath.c_str(), target, sizeof target - 1);
    if (n > 0 && std::string(target, size_t(n)) == m_slavePath)
        ::unlink(m_linkPath.c_str());
}
