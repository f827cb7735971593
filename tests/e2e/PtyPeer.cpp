#include "PtyPeer.h"

#include <QDeadlineTimer>
#include <QSocketNotifier>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

PtyPeer::PtyPeer() {
    termios raw{};
    cfmakeraw(&raw);
    char name[128] = {};
    if (::openpty(&m_master, &m_slave, name, &raw, nullptr) != 0) {
        m_master = m_slave = -1;
        return;
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_path = QString::fromLocal8Bit(name);
    m_notifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &PtyPeer::OnReadable);
}

PtyPeer::~PtyPeer() {
    Drop();
}

void PtyPeer::Drop() {
    m_notifier.reset();
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
    m_master = m_slave = -1;
}

void PtyPeer::SetReading(bool reading) {
    if (m_notifier)
        m_notifier->setEnabled(reading);
}

bool PtyPeer::Push(const QByteArray& bytes) {
    Send(bytes);
    // The terminal layer moves the bytes across in the background: wait (bounded) until all are there,
    // so that the program finds them together at its next read.
    QDeadlineTimer deadline(2000);
    int waiting = 0;
    while (!deadline.hasExpired()) {
        if (::ioctl(m_slave, FIONREAD, &waiting) == 0 && waiting >= bytes.size())
            return true;
        QThread::usleep(500);
    }
    return false;
}

void PtyPeer::Send(const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::write(m_master, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n <= 0)
            return;
        done += n;
    }
}

void PtyPeer::OnReadable() {
    char buffer[256];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0)
            return;
        received.append(buffer, n);
        for (ssize_t i = 0; i < n; ++i)
            Answer(buffer[i]);
    }
}

void PtyPeer::Answer(char c) {
    if (m_silent)
        return;
    if (c != '\r') {
        m_line += c;
        Send(QByteArray(1, c));
        return;
    }
    const auto found = m_answers.find(m_line);
    const std::string answer = found != m_answers.end() ? found->second : std::string(" ");
    m_line.clear();
    Send(QByteArray::fromStdString(answer + "OK\r\n>"));
}
