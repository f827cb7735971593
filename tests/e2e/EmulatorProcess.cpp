#include "EmulatorProcess.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>
#include <QTimer>

namespace {
constexpr int kStartMs = 5000;
constexpr int kAnswerMs = 3000;
} // namespace

EmulatorProcess::EmulatorProcess(const QString& folder, const QStringList& extraArguments)
    : m_link(QDir(folder).filePath(QStringLiteral("controller"))),
      m_socket(QDir(folder).filePath(QStringLiteral("control"))),
      m_transcript(QDir(folder).filePath(QStringLiteral("transcript"))) {
    QStringList arguments{QStringLiteral("--link"),       m_link,      QStringLiteral("--control"), m_socket,
                          QStringLiteral("--transcript"), m_transcript};
    arguments += extraArguments;
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(Program(), arguments);
    if (!m_process.waitForStarted(kStartMs))
        return;
    // The first line names the device; the link and the control socket exist by then.
    QDeadlineTimer deadline(kStartMs);
    while (!m_process.canReadLine() && !deadline.hasExpired())
        m_process.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
    m_device = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    m_running = !m_device.isEmpty() && ConnectControl(deadline);
}

// The control socket may appear a moment after the device is announced.
bool EmulatorProcess::ConnectControl(const QDeadlineTimer& deadline) {
    for (;;) {
        m_control.connectToServer(m_socket);
        if (m_control.waitForConnected(static_cast<int>(deadline.remainingTime())))
            return true;
        if (deadline.hasExpired() || m_process.state() == QProcess::NotRunning)
            return false;
        QThread::msleep(10);
    }
}

EmulatorProcess::~EmulatorProcess() {
    if (m_process.state() == QProcess::NotRunning)
        return;
    if (m_control.state() == QLocalSocket::ConnectedState) {
        m_control.write("quit\n");
        m_control.waitForBytesWritten(kAnswerMs);
    }
    if (!m_process.waitForFinished(kStartMs)) {
        m_process.kill();
        m_process.waitForFinished(kStartMs);
    }
}

bool PumpUntil(const std::function<bool()>& condition, int milliseconds) {
    // Conditions change only through events; the timer makes sure one comes when the time is up.
    QTimer timer;
    timer.setSingleShot(true);
    timer.start(milliseconds);
    while (!condition() && timer.isActive())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return condition();
}

QString EmulatorProcess::Program() {
    return QStringLiteral(MARLIX_EMULATOR_PATH);
}

bool EmulatorProcess::Control(const QString& command, QStringList* lines) {
    if (!m_running)
        return false;
    m_control.write(command.toUtf8() + '\n');
    if (!m_control.waitForBytesWritten(kAnswerMs))
        return false;
    QByteArray line;
    while (ReadLine(line, kAnswerMs)) {
        if (line == "ok")
            return true;
        if (line.startsWith("error"))
            return false;
        if (lines)
            lines->append(QString::fromUtf8(line));
    }
    return false;
}

bool EmulatorProcess::ReadLine(QByteArray& line, int milliseconds) {
    QDeadlineTimer deadline(milliseconds);
    while (!m_control.canReadLine()) {
        if (deadline.hasExpired() || !m_control.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            return false;
    }
    line = m_control.readLine().trimmed();
    return true;
}

QByteArray EmulatorProcess::Transcript() const {
    QFile file(m_transcript);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool EmulatorProcess::WaitForTranscript(qsizetype size, int milliseconds) const {
    QDeadlineTimer deadline(milliseconds);
    while (Transcript().size() < size) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(5);
    }
    return true;
}
