#include "core/link/SerialPort.h"

#include "core/base/UiSeam.h"
#include "core/link/CommLink.h"
#include "core/link/PortList.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QPointer>

#include <algorithm>

#include <sys/file.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcSerial, "marlix.serial")

namespace {
constexpr int kSystemTextLimit = 100;
} // namespace

SerialPort::SerialPort(QObject* parent) : QObject(parent) {
    connect(&m_port, &QSerialPort::readyRead, this, &SerialPort::OnReadyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialPort::OnErrorOccurred);
}

SerialPort::~SerialPort() {
    CloseComm();
    // The link keeps a pointer to its transport: it must not outlive this object.
    if (commLink().transport() == this)
        commLink().SetTransport(nullptr);
}

QString SerialPort::DeviceForPort(int port) {
    return QString::fromStdString(NumberedPortDevice(port));
}

bool SerialPort::OpenComm(int port, unsigned baudRate, const std::string& device) {
    CloseComm();
    m_label = device.empty() ? QString::number(port) : QString::fromStdString(device);
    m_baudRate = baudRate;
    const QFileInfo info(device.empty() ? DeviceForPort(port) : QString::fromStdString(device));
    if (!info.exists()) {
        ShowPortMessage(" is not available");
        return false;
    }
    // A link to a pseudo-terminal opens and locks the device it points at, so that two programs that
    // name the same device differently still exclude each other.
    const QString path = info.canonicalFilePath();
    m_port.setPortName(path);
    if (!m_port.open(QIODevice::ReadWrite)) {
        ReportOpenFailure(path);
        return false;
    }
    if (!LockDevice()) {
        m_port.close();
        ShowPortMessage(" is in use by another application");
        return false;
    }
    m_port.clear();
    if (!SetCommParameters()) {
        m_port.close();
        return false;
    }
    RaiseControlLines();
    m_connected = true;
    return true;
}

bool SerialPort::SetCommParameters() {
    return m_port.setBaudRate(static_cast<qint32>(m_baudRate)) && m_port.setDataBits(QSerialPort::Data8) &&
           m_port.setParity(QSerialPort::NoParity) && m_port.setStopBits(QSerialPort::OneStop) &&
           m_port.setFlowControl(QSerialPort::NoFlowControl);
}

// DTR and RTS are held on for the controller; a pseudo-terminal has no such lines and refuses them,
// which is no reason to refuse the device.
void SerialPort::RaiseControlLines() {
    m_port.setDataTerminalReady(true);
    m_port.setRequestToSend(true);
    m_port.clearError();
}

// Besides the lock file and the exclusive mode the serial library takes, an advisory lock on the
// device itself: it holds even for a privileged user, whom the exclusive mode does not stop.
bool SerialPort::LockDevice() {
    return ::flock(static_cast<int>(m_port.handle()), LOCK_EX | LOCK_NB) == 0;
}

void SerialPort::ReportOpenFailure(const QString& path) {
    const QSerialPort::SerialPortError error = m_port.error();
    const QString systemText = m_port.errorString().left(kSystemTextLimit);
    m_port.clearError();
    if (error == QSerialPort::DeviceNotFoundError || error == QSerialPort::ResourceError) {
        // No such device, or a device node with nothing behind it.
        ShowPortMessage(" is not available");
        return;
    }
    // Refused although this user may use the device: someone else holds it.
    if (error == QSerialPort::PermissionError && ::access(path.toLocal8Bit().constData(), R_OK | W_OK) == 0) {
        ShowPortMessage(" is in use by another application");
        return;
    }
    ui().ShowMessage(systemText.toStdString());
}

void SerialPort::ShowPortMessage(const char* suffix) {
    ui().ShowMessage(QStringLiteral("Port %1%2").arg(m_label, QLatin1String(suffix)).toStdString());
}

void SerialPort::CloseComm() {
    m_lostPending = false;
    if (!m_port.isOpen()) {
        m_connected = false;
        return;
    }
    m_connected = false;
    m_port.setDataTerminalReady(false);
    m_port.clear();
    m_port.close(); // also releases the locks
    m_port.clearError();
}

int SerialPort::CommRead(char* buffer, int maximum) {
    if (!m_connected || maximum <= 0)
        return 0;
    // Only what has already arrived: a read never waits for the line.
    const qint64 count = std::min<qint64>(maximum, m_port.bytesAvailable());
    if (count <= 0)
        return 0;
    const qint64 got = m_port.read(buffer, count);
    return got > 0 ? static_cast<int>(got) : 0;
}

bool SerialPort::CommWrite(const char* data, int length) {
    if (!m_connected)
        return false;
    if (length <= 0)
        return true;
    if (m_port.write(data, length) != length)
        return false;
    QDeadlineTimer deadline(m_writeTimeoutBase + static_cast<qint64>(m_writeTimeoutPerByte) * length);
    while (m_connected && m_port.bytesToWrite() > 0 && !deadline.hasExpired()) {
        if (!m_port.waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
            break;
    }
    const qint64 left = m_connected ? m_port.bytesToWrite() : 0;
    if (left > 0) {
        // The rest stays queued and leaves as the line allows; the caller goes on as if it had.
        const qint64 sent = std::max<qint64>(0, length - left);
        qCWarning(lcSerial, "Probable Write Timeout: Total of %lld bytes sent", static_cast<long long>(sent));
    }
    return true;
}

void SerialPort::OnReadyRead() {
    if (m_connected && DataArrived)
        DataArrived();
}

void SerialPort::OnErrorOccurred(QSerialPort::SerialPortError error) {
    if (!m_connected || m_lostPending)
        return;
    switch (error) {
    case QSerialPort::NoError:
    case QSerialPort::TimeoutError: // a late write, logged by CommWrite
    case QSerialPort::NotOpenError:
    case QSerialPort::UnsupportedOperationError:
        return;
    default:
        break;
    }
    if (error == QSerialPort::ResourceError || !QFileInfo::exists(m_port.portName())) {
        // Handled once the serial library has left its own code: closing the port under it is unsafe.
        m_lostPending = true;
        QMetaObject::invokeMethod(this, &SerialPort::OnDeviceLost, Qt::QueuedConnection);
        return;
    }
    m_port.clearError();
    if (m_showLineErrors && CommError)
        CommError(static_cast<unsigned>(error));
}

void SerialPort::OnDeviceLost() {
    if (!m_lostPending)
        return; // the port was closed (and maybe opened again) since the loss was noticed
    m_lostPending = false;
    if (!m_connected)
        return;
    CloseComm();
    if (Lost)
        Lost();
    ShowPortMessage(" is no longer available");
}

Transport& DefaultSerialPort() {
    static QPointer<SerialPort> port;
    if (!port)
        port = new SerialPort(QCoreApplication::instance());
    return *port;
}
