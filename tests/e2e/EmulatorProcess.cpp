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
    : m_link(QDir(folder).filePath("controller")), m_socket(QDir(folder).filePath("control")),
      m_transcript(QDir(folder).filePath("transcript")) {
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(Program(),
                    QStringList{"--link", m_link, "--control", m_socket, "--transcript", m_transcript} +
                        extraArguments);
    // The first line names the device; the link exists by then, the control socket may take a moment.
    const QDeadlineTimer deadline(kStartMs);
    while (!m_process.canReadLine() && !deadline.hasExpired() && m_process.state() != QProcess::NotRunning)
        m_process.waitForReadyRead(int(deadline.remainingTime()));
    m_device = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    while (!m_running && !m_device.isEmpty() && !deadline.hasExpired() &&
           m_process.state() == QProcess::Running) {
        m_control.connectToServer(m_socket);
        m_running = m_control.waitForConnected(int(deadline.remainingTime()));
        if (!m_running)
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
    if (!m_running || m_control.write(command.toUtf8() + '\n') < 0 ||
        !m_control.waitForBytesWritten(kAnswerMs))
        return false;
    // Each line of the answer comes within the time; "ok" or "error ..." ends it.
    QDeadlineTimer deadline(kAnswerMs);
    while (m_control.canReadLine() || m_control.waitForReadyRead(int(deadline.remainingTime()))) {
        if (!m_control.canReadLine())
            continue;
        const QByteArray line = m_control.readLine().trimmed();
        if (line == "ok" || line.startsWith("error"))
            return line == "ok";
        if (lines)
            lines->append(QString::fromUtf8(line));
        deadline.setRemainingTime(kAnswerMs);
    }
    return false;
}

QByteArray EmulatorProcess::Transcript() const {
    QFile file(m_transcript);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
