#pragma once

#include "core/link/Transport.h"

#include <QObject>
#include <QSerialPort>
#include <QString>

// The controller's serial line, on the UI thread. Bytes that arrive are announced through DataArrived
// (the link then reads them at most 80 at a time); writes wait until the bytes have left or the write
// time-out of 5000 ms plus 20 ms per byte has passed. The device is held exclusively: a second program
// (or a second Marlix) that tries to open it is told the port is in use.
class SerialPort : public QObject, public Transport {
    Q_OBJECT
public:
    explicit SerialPort(QObject* parent = nullptr);
    ~SerialPort() override;

    bool OpenComm(int port, unsigned baudRate, const std::string& device) override;
    void CloseComm() override;
    int CommRead(char* buffer, int maximum) override;
    bool CommWrite(const char* data, int length) override;
    bool IsConnected() const override { return m_connected; }

    // Applies baud rate, 8N1 and no flow control to the open device; false when the device refuses.
    bool SetCommParameters();

    // The device that port number n stands for when no device is named ("/dev/ttyS" n-1).
    static QString DeviceForPort(int port);
    // The write time-out is base + perByte × n milliseconds (5000 + 20 × n unless changed).
    void SetWriteTimeout(int baseMs, int perByteMs) {
        m_writeTimeoutBase = baseMs;
        m_writeTimeoutPerByte = perByteMs;
    }
    // Where the device currently open lives (its real path, links resolved); empty when closed.
    QString devicePath() const { return m_connected ? m_port.portName() : QString(); }

private:
    void OnReadyRead();
    void OnErrorOccurred(QSerialPort::SerialPortError error);
    void OnDeviceLost();
    void ReportOpenFailure(const QString& path);
    void ShowPortMessage(const char* suffix);
    bool LockDevice();
    void RaiseControlLines();

    QSerialPort m_port;
    bool m_connected = false;
    bool m_lostPending = false;
    bool m_showLineErrors = true;
    unsigned m_baudRate = 19200;
    int m_writeTimeoutBase = 5000;  // ms for every write
    int m_writeTimeoutPerByte = 20; // ms more for each byte
    QString m_label; // how messages name the port: its number, or the device path when one is named
};

// The program's one serial port, made on first use and destroyed with the application object.
Transport& DefaultSerialPort();
