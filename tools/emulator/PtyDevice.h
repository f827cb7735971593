#pragma once

#include <string>

// The pseudo-terminal the emulator serves: the master end for the emulator, the slave device for the
// program under test. The emulator keeps a slave descriptor of its own open so that the other side can
// close and reopen the device without the master seeing a hang-up. An optional symbolic link points at
// the slave device while it exists and follows it when the device is recreated.
class PtyDevice {
public:
    PtyDevice() = default;
    ~PtyDevice();
    PtyDevice(const PtyDevice&) = delete;
    PtyDevice& operator=(const PtyDevice&) = delete;

    void SetLinkPath(const std::string& path) { m_linkPath = path; }
    bool Open(std::string& error);
    // Closes both ends: the device vanishes once the other side lets go of it.
    void Close();
    void RemoveLink();

    bool IsOpen() const { return m_master >= 0; }
    int MasterFd() const { return m_master; }
    const std::string& SlavePath() const { return m_slavePath; }

private:
    bool UpdateLink(std::string& error);

    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
    std::string m_linkPath;
};
