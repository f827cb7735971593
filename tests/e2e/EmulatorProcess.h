#pragma once

#include <QLocalSocket>
#include <QProcess>

#include <functional>

// Runs the event loop until the condition holds (true) or the time is up (false).
bool PumpUntil(const std::function<bool()>& condition, int milliseconds = 3000);

// The controller emulator run as its own process for a test or a benchmark: its device is reached
// through a link in the given folder, its control channel through a socket beside it, and everything
// it receives is kept in a transcript there too. Every wait on it is bounded.
class EmulatorProcess {
public:
    explicit EmulatorProcess(const QString& folder, const QStringList& extraArguments = {});
    ~EmulatorProcess();
    EmulatorProcess(const EmulatorProcess&) = delete;
    EmulatorProcess& operator=(const EmulatorProcess&) = delete;

    // The program built beside the tests.
    static QString Program();

    bool isRunning() const { return m_running; }
    QString devicePath() const { return m_device; }
    // The symbolic link that follows the device (also after an unplug and replug).
    QString linkPath() const { return m_link; }

    // Sends one control command; true when it answered "ok". `lines` receives the lines before it.
    bool Control(const QString& command, QStringList* lines = nullptr);
    // Every byte the emulator has received so far.
    QByteArray Transcript() const;

private:
    QProcess m_process;
    QLocalSocket m_control;
    QString m_link;
    QString m_socket;
    QString m_transcript;
    QString m_device;
    bool m_running = false;
};
