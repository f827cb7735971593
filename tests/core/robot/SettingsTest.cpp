#include "core/app/CoreWiring.h"
#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"
#include "core/robot/CSettings.h"
#include "core/robot/SettingsCodec.h"
#include "support/FileFormatCheck.h"

namespace {

// The bytes of a fresh profile, written out by hand: twenty words (the version, f2, f3, the counts of
// Cartesian axes and of joints, simulate, six axis words, f13, the new routes' coordinates, f15 to f19,
// hide), then the joint and the axis names, each array a word count and each name a length byte and text.
QByteArray DefaultProfileBytes() {
    QByteArray bytes;
    for (const int word : {8, 0, 1, 6, 6, 0, 100, 100, 100, 100, 100, 100, 0, 0, 1, 1000, 1000, 0, 0, 1})
        bytes.append(static_cast<char>(word & 0xFF)).append(static_cast<char>(word >> 8));
    return bytes +
           QByteArray("\x07\x00\x05Waist\x08Shoulder\x05"
                      "Elbow\x04Hand\x05Wrist\x03Yaw\x00\x07\x00\x01X\x01Y\x01Z\x05pitch\x04roll\x03yaw\x00",
                      63);
}

class Settings : public CoreTest {
protected:
    bool SaveAs(const std::string& path) {
        ui.fileNames = {path};
        return settings().SaveFileDocumentAs();
    }
};

TEST_F(Settings, AFreshProfileIsSavedByteForByteAndDamageIsRefused) {
    ASSERT_TRUE(SaveAs(Path("default.cfg")));
    EXPECT_EQ(Read("default.cfg"), DefaultProfileBytes());
    SettingsValues sample;
    sample.jointNames = {"Waist", std::string(300, 'n')}; // a name in the long length form
    sample.axisNames = {"X", "Y", "Z"};
    sample.cartesianAxes = 3;
    CheckFileFormat(dir.path().toStdString(), ui,
                    {EncodeSettings(sample), [](const std::string& p) { return settings().OpenFile(p); },
                     [this](const std::string& p) { return SaveAs(p); },
                     [] { return EncodeSettings(settings().CurrentValues()).toStdString(); }});
}

// Words are zero-extended, a short name array reads as empty names, and the hide flag reaches the link.
TEST_F(Settings, LoadingTakesTheFilesValues) {
    SettingsValues file;
    file.joints = 4;
    file.axisWords = {1, 2, 3, 4, 5, 65535};
    file.hideMode = 0;
    file.jointNames = {"a", "b", "c", "d"};
    ASSERT_TRUE(settings().OpenFile(Write("p.cfg", EncodeSettings(file))));
    EXPECT_EQ(std::make_tuple(settings().JointCount(), settings().CurrentValues().axisWords[5],
                              settings().JointName(3) + settings().JointName(4) + settings().JointName(-1)),
              std::make_tuple(4, 65535, std::string("d")));
    EXPECT_FALSE(commLink().HideMode || settings().IsModified());
}

TEST_F(Settings, TheSimulateFlagSwitchesTheLinkAndTheHideFlagIsOnlyStored) {
    settings().ApplyConfiguration(false, true);
    EXPECT_FALSE(settings().IsModified()) << "nothing changed";
    settings().ApplyConfiguration(true, true);
    EXPECT_EQ(controller.closes, 1) << "the port is closed before the simulator answers";
    EXPECT_TRUE(commLink().Simulate && protocol().ReplyState == reply::kIdle);
    EXPECT_EQ(settings().CurrentValues().simulate, 1);
    settings().ApplyConfiguration(false, false);
    EXPECT_EQ(
        std::make_tuple(controller.opens, controller.closes, commLink().HideMode, settings().IsModified()),
        std::make_tuple(1, 1, false, true));

    // A loaded profile switches a link in use; before the link is used its flag is only taken.
    SettingsValues file;
    file.simulate = 1;
    ASSERT_TRUE(settings().OpenFile(Write("sim.cfg", EncodeSettings(file))));
    EXPECT_TRUE(commLink().Simulate && controller.closes == 2);
    commLink().DropDocument();
    file.simulate = 0;
    ASSERT_TRUE(settings().OpenFile(Write("port.cfg", EncodeSettings(file))));
    EXPECT_FALSE(commLink().Simulate || controller.opens != 1);
}

TEST_F(Settings, NamesBeyondTheCountStayAndNewKeepsTheValuesInForce) {
    settings().SetJointNames(3, {"Base", "Upper", "Fore"});
    EXPECT_TRUE(settings().JointName(3) == "Hand" && settings().IsModified());
    ui.answers = {Answer::No};
    ui.fileNames = {Path("n.cfg")};
    ASSERT_TRUE(settings().NewFileDocument());
    EXPECT_EQ(ui.questions, std::vector<std::string>{"Do you wish to save new settings?"});
    EXPECT_EQ(std::make_tuple(settings().JointCount(), settings().JointName(2), settings().IsModified(),
                              settings().GetTitle()),
              std::make_tuple(3, std::string("Fore"), false, std::string("n.cfg")));
}

// A name too long for the word form takes the long one, and comes back whole.
TEST_F(Settings, ANameOfAnyLengthComesBackWhole) {
    const std::string name(70000, 'r');
    settings().SetAxisNames(2, {"Reach", name});
    ASSERT_TRUE(SaveAs(Path("long.cfg")));
    ResetCore();
    ASSERT_TRUE(settings().OpenFile(Path("long.cfg")));
    EXPECT_EQ(settings().AxisName(0) + settings().AxisName(1), "Reach" + name);
}

} // namespace
