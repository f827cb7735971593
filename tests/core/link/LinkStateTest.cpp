#include "core/app/CoreWiring.h"
#include "core/base/ProfileStore.h"
#include "core/link/CommLink.h"
#include "core/link/Transport.h"
#include "support/ScriptedUi.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

// A port that opens the devices that are plugged in and can be unplugged.
class PluggedPort : public Transport {
public:
    bool OpenComm(int port, unsigned, const std::string& device) override {
        opened.push_back(device.empty() ? "port " + std::to_string(port) : device);
        connected = plugged.count(device) != 0;
        return connected;
    }
    void CloseComm() override { connected = false; }
    int CommRead(char*, int) override { return 0; }
    bool CommWrite(const char*, int) override { return true; }
    bool IsConnected() const override { return connected; }
    void Unplug() {
        connected = false;
        Lost();
    }

    std::set<std::string> plugged;
    std::vector<std::string> opened;
    bool connected = false;
};

class LinkStateTest : public ::testing::Test {
protected:
    LinkStateTest() {
        UseProfileFile(dir.filePath("profile.ini").toStdString());
        ResetCore();
        commLink().SetTransport(&port);
    }
    ~LinkStateTest() override {
        ResetCore();
        UseProfileFile(std::string());
    }
    void Store(const std::string& device, const std::string& serial) {
        WriteProfileString("Communication", "device", device);
        WriteProfileString("Communication", "serial", serial);
    }

    QTemporaryDir dir;
    ScriptedUi ui;
    PluggedPort port;
};

TEST_F(LinkStateTest, ThePaneFollowsOpenUnplugReOpenAndClose) {
    CommLink& link = commLink();
    WriteProfileInt("Communication", "baudindex", 6);
    WriteProfileInt("Communication", "port", 3);
    port.plugged = {"", "/dev/ttyUSB0"};
    link.OpenCommunication();
    EXPECT_EQ(link.StatusText(), "/dev/ttyS2 9600");
    Store("/dev/ttyUSB0", "");
    link.ReOpen();
    EXPECT_EQ(link.StatusText(), "/dev/ttyUSB0 9600");
    port.Unplug();
    EXPECT_EQ(link.StatusText(), "Not open");
    link.ReOpen();
    EXPECT_EQ(link.StatusText(), "/dev/ttyUSB0 9600");
    const int kicks = ui.kicks;
    link.CloseComm();
    EXPECT_EQ(link.StatusText(), "Not open");
    EXPECT_GT(ui.kicks, kicks); // the pane is redrawn
    link.Simulate = true;
    link.OpenCommunication();
    EXPECT_EQ(link.StatusText(), "Simulated");
}

TEST_F(LinkStateTest, AGoneAdaptorIsFoundAgainByItsSerialNumberOnly) {
    CommLink& link = commLink();
    const std::string present = dir.filePath("ttyACM0").toStdString();
    QFile(QString::fromStdString(present)).open(QIODevice::WriteOnly);
    link.ListPorts = [&] {
        return std::vector<PortInfo>{{"/dev/ttyUSB7", "other", "", "B2"},
                                     {"/dev/ttyUSB1", "adaptor", "maker", "A1"},
                                     {"/dev/ttyS0", "built-in", "", ""}};
    };
    port.plugged = {"/dev/ttyUSB1", present};
    struct Case {
        std::string device, serial, opened;
    } cases[] = {
        {"/dev/ttyUSB0", "A1", "/dev/ttyUSB1"}, // came back under another name
        {"/dev/ttyUSB0", "C3", "/dev/ttyUSB0"}, // not plugged in again
        {"/dev/ttyUSB0", "", "/dev/ttyUSB0"},   // no number: never taken for another adaptor
        {present, "A1", present},               // still there: kept
    };
    for (const Case& c : cases) {
        Store(c.device, c.serial);
        link.ReOpen();
        EXPECT_EQ(port.opened.back(), c.opened) << c.device << " " << c.serial;
        EXPECT_EQ(GetProfileString("Communication", "device"), c.opened);
        EXPECT_EQ(link.IsOpen(), c.opened != "/dev/ttyUSB0");
    }
}

} // namespace
