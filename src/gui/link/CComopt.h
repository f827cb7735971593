#pragma once

#include "core/link/PortList.h"

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// "Communication Configuration": the port number (1 to 19), the baud rate from the link's table and,
// optionally, a device named directly (a USB adaptor, a pseudo-terminal). The serial ports present
// are listed with their description, maker and serial number ("Refresh" lists them again); choosing
// one names its device, and its serial number is kept with it so that the adaptor is found again
// under another name. OK with a value out of range keeps the dialog open with a message.
class CComopt : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMinPort = 1;
    static constexpr int kMaxPort = 19;

    explicit CComopt(QWidget* parent = nullptr);

    void SetValues(int port, int baudIndex, const std::string& device, const std::string& serialNumber = {});
    int port() const { return m_port; }
    int baudIndex() const { return m_baudIndex; }
    std::string device() const { return m_device; }
    std::string serialNumber() const { return m_serialNumber; }

    QLineEdit* portEdit() const { return m_portEdit; }
    QComboBox* baudList() const { return m_baudList; }
    QComboBox* deviceList() const { return m_deviceList; }
    QTreeWidget* portTable() const { return m_portTable; }
    QPushButton* refreshButton() const { return m_refresh; }

public slots:
    void accept() override;
    // Asks the link for the ports present and lists them again.
    void RefreshPorts();

private:
    // Reads the controls; shows the message and returns false when a value is not acceptable.
    bool ValidateInput();
    // Selects the table row of the device in the device field, if it is listed.
    void MarkListedDevice();

    QLineEdit* m_portEdit;
    QComboBox* m_baudList;
    QComboBox* m_deviceList;
    QTreeWidget* m_portTable;
    QPushButton* m_refresh;
    std::vector<PortInfo> m_ports;
    int m_port = 1;
    int m_baudIndex = 8;
    std::string m_device;
    std::string m_serialNumber;
};
