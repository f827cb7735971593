#include "core/app/CoreWiring.h"
#include "core/base/ProfileStore.h"
#include "core/link/Ccom1doc.h"
#include "core/link/CommLink.h"
#include "core/link/Transport.h"
#include "core/protocol/Protocol.h"
#include "support/CoreTest.h"

namespace {

void Put(Ccom1doc& doc, const std::string& text) {
    for (char c : text)
        doc.PutChar(c);
}

TEST(ScreenBuffer, BackspaceAndCarriageReturnOverwriteLinesWrapAtTheWidthAndTheOldestGoesAfter200) {
    Ccom1doc doc;
    Put(doc, "AB");
    doc.BackSpace();
    Put(doc, "X");
    doc.CarriageReturn();
    doc.BackSpace();
    Put(doc, "Q");
    EXPECT_EQ(doc.SavedText(), "QX");
    doc.CarriageReturn();
    for (int i = 0; i < 79; ++i)
        EXPECT_TRUE(doc.PutChar('a'));
    EXPECT_FALSE(doc.PutChar('z')); // the character that fills the last column wraps
    EXPECT_EQ(doc.GetColumn(), 0);
    doc.CarriageReturn();
    doc.NewLine();
    EXPECT_EQ(doc.SavedText(), std::string(79, 'a') + "z\r\n\r\n");
    for (int i = 0; i < 201; ++i) {
        Put(doc, "line" + std::to_string(i));
        doc.NewLine();
    }
    EXPECT_EQ(doc.GetLineCount(), 200);
    EXPECT_EQ(doc.GetLastLine(), "line200");
    EXPECT_EQ(doc.SavedText().substr(0, 7), "line2\r\n");
    doc.SetLineWidth(40); // the width is clamped
    EXPECT_EQ(doc.GetWidth(), 80);
    doc.SetLineWidth(200);
    EXPECT_EQ(doc.GetWidth(), 132);
}

class Link : public CoreTest {};

// The link reads until no bytes are left; bytes above 127 are not shown.
TEST_F(Link, ReceivedTextIsReadWholeAndBytesAbove127AreDropped) {
    controller.Print(std::string(100, 'a') + "\x80\xff" + std::string(98, 'b'));
    ui.RunEvents();
    EXPECT_EQ(Terminal(), std::string(80, 'a') + "\r\n" + std::string(20, 'a') + std::string(60, 'b') +
                              "\r\n" + std::string(38, 'b'));
}

// A port that opens the device of a port number ("") and /dev/ttyUSB1, the adaptor plugged in.
struct PluggedPort : Transport {
    bool OpenComm(int, unsigned, const std::string& device) override {
        opened = device;
        return connected = device.empty() || device == "/dev/ttyUSB1";
    }
    void CloseComm() override { connected = false; }
    int CommRead(char*, int) override { return 0; }
    bool CommWrite(const char*, int) override { return true; }
    bool IsConnected() const override { return connected; }

    std::string opened;
    bool connected = false;
};

TEST_F(Link, TheStatusFollowsOpenUnplugReOpenAndCloseAndAGoneAdaptorIsFoundByItsSerialNumber) {
    PluggedPort port;
    CommLink& link = commLink();
    link.SetTransport(&port);
    link.ListPorts = [] {
        return std::vector<PortInfo>{{"/dev/ttyS0", "", "", ""}, {"/dev/ttyUSB1", "", "", "A1"}};
    };
    WriteProfileInt("Communication", "port", 3);
    WriteProfileInt("Communication", "baudindex", 6);
    // Stored device and serial number -> the device opened and the status shown.
    const struct {
        const char *device, *serial, *opened, *status;
    } cases[] = {
        {"", "", "", "/dev/ttyS2 9600"},
        {"/dev/ttyUSB0", "C3", "/dev/ttyUSB0", "Not open"},          // not back
        {"/dev/ttyUSB0", "", "/dev/ttyUSB0", "Not open"},            // no number, never taken for another
        {"/dev/null", "A1", "/dev/null", "Not open"},                // still there: kept
        {"/dev/ttyUSB0", "A1", "/dev/ttyUSB1", "/dev/ttyUSB1 9600"}, // back under another name
    };
    for (const auto& c : cases) {
        WriteProfileString("Communication", "device", c.device);
        WriteProfileString("Communication", "serial", c.serial);
        link.ReOpen();
        EXPECT_EQ(port.opened, c.opened) << c.device << c.serial;
        EXPECT_EQ(GetProfileString("Communication", "device"), c.opened);
        EXPECT_EQ(link.StatusText(), c.status) << c.device << c.serial;
    }
    port.connected = false;
    port.Lost(); // unplugged
    EXPECT_EQ(link.StatusText(), "Not open");
    for (const int index : {-1, 99}) { // only a hand-edited profile holds such an index: 19200
        WriteProfileInt("Communication", "baudindex", index);
        link.ReOpen();
        EXPECT_EQ(link.StatusText(), "/dev/ttyUSB1 19200") << index;
    }
    const int kicks = ui.kicks;
    link.CloseComm(); // the pane is redrawn
    EXPECT_EQ(std::make_pair(link.StatusText(), ui.kicks),
              std::make_pair(std::string("Not open"), kicks + 1));
    link.Simulate = true;
    link.OpenCommunication();
    EXPECT_EQ(link.StatusText(), "Simulated");
    link.SetTransport(&controller); // the port goes first
}

TEST_F(Link, EachConsoleLogLineIsStampedWhenItStartsAndIsOnDiskAsSoonAsItPasses) {
    const std::string path = Path("console.log");
    using D = ConsoleLog::Direction;
    const struct {
        D direction;
        std::string bytes, added; // added to the file, before the log is closed
    } steps[] = {
        {D::Sent, "HOME\r", "t1 TX HOME\n"},
        {D::Received, "HOME sim", "t2 RX HOME sim"},
        {D::Received, "OK\r", "OK\n"},
        {D::Received, "\n>", "t3 RX >"},             // the LF of a CR LF split over two reads
        {D::Sent, "L\n\r\r", "\nt4 TX L\nt5 TX \n"}, // a downloaded line's LF CR, then an empty line
        {D::Received, "\x02\\\n\n", "t6 RX \\x02\\\\\nt7 RX \n"},
        {D::Received, "x", "t8 RX x"},
    };
    int ticks = 0;
    ConsoleLog log;
    log.Clock = [&] { return "t" + std::to_string(++ticks); };
    ASSERT_TRUE(log.Open(path));
    std::string expected;
    for (const auto& step : steps) {
        log.Record(step.direction, step.bytes.data(), static_cast<int>(step.bytes.size()));
        EXPECT_EQ(ReadTestFile(path).toStdString(), expected += step.added) << step.bytes;
    }
    log.Close(); // ends the open line; opened again, the log goes on at the end
    ASSERT_TRUE(log.Open(path));
    log.Record(D::Sent, "A\r", 2);
    EXPECT_EQ(ReadTestFile(path).toStdString(), expected + "\nt9 TX A\n");
}

TEST_F(Link, TheConsoleLogRecordsBothWaysAndStartsAgainAtTheNextRunUntilStopped) {
    const std::string path = Path("link.log");
    commLink().Simulate = true;
    commLink().OpenCommunication();
    ASSERT_TRUE(commLink().StartLog(path));
    commLink().consoleLog().Clock = [] { return std::string("T"); };
    ASSERT_TRUE(protocol().SendCommand("HOME"));
    EXPECT_EQ(ReadTestFile(path).toStdString(), "T TX HOME\nT RX HOME simOK\nT RX >");
    for (const bool stopped : {false, true}) {
        if (stopped)
            commLink().StopLog();
        ResetCore();
        commLink().RestoreLog();
        EXPECT_EQ(commLink().IsLogging(), !stopped);
    }
}

} // namespace
