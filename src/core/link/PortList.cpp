#include "core/link/PortList.h"

#include <QSerialPortInfo>

std::string NumberedPortDevice(int port) {
    return "/dev/ttyS" + std::to_string(port - 1);
}

std::vector<PortInfo> SystemPorts() {
    std::vector<PortInfo> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        ports.push_back({info.systemLocation().toStdString(), info.description().toStdString(),
                         info.manufacturer().toStdString(), info.serialNumber().toStdString()});
    }
    return ports;
}

const PortInfo* FindPortBySerial(const std::vector<PortInfo>& ports, const std::string& serialNumber) {
    if (serialNumber.empty())
        return nullptr;
    for (const PortInfo& port : ports) {
        if (port.serialNumber == serialNumber)
            return &port;
    }
    return nullptr;
}
