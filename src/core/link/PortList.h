#pragma once

#include <string>
#include <vector>

// A serial port the system knows: its device path and what the adaptor tells about itself.
struct PortInfo {
    std::string device; // the path to open, "/dev/ttyUSB0"
    std::string description;
    std::string maker;
    std::string serialNumber; // empty when the adaptor gives none
};

// The device that port number n stands for when no device is named: "/dev/ttyS" n-1.
std::string NumberedPortDevice(int port);

// The serial ports present now.
std::vector<PortInfo> SystemPorts();

// The port whose adaptor has the serial number `serialNumber`; null when none has it or the number
// is empty (adaptors without a number are never taken for each other).
const PortInfo* FindPortBySerial(const std::vector<PortInfo>& ports, const std::string& serialNumber);
