#pragma once

#include <QDialog>
#include <string>

class QComboBox;
class QLineEdit;

// "Communication Configuration": the port number (1 to 19), the baud rate from the link's table and,
// optionally, a device named directly (a USB adaptor, a pseudo-terminal); the ports the system knows
// are offered in the device list. OK with a value out of range keeps the dialog open with a message.
class CComopt : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMinPort = 1;
    static constexpr int kMaxPort = 19;

    explicit CComopt(QWidget* parent = nullptr);

    void SetValues(int port, int baudIndex, const std::string& device);
    int port() const { return m_port; }
    int baudIndex() const { return m_baudIndex; }
    std::string device() const { return m_device; }

    QLineEdit* portEdit() const { return m_portEdit; }
    QComboBox* baudList() const { return m_baudList; }
    QComboBox* deviceList() const { return m_deviceList; }

public slots:
    void accept() override;

private:
    // Reads the controls; shows the message and returns false when a value is not acceptable.
    bool ValidateInput();

    QLineEdit* m_portEdit;
    QComboBox* m_baudList;
    QComboBox* m_deviceList;
    int m_port = 1;
    int m_baudIndex = 8;
    std::string m_device;
};
