#include "core/app/CoreWiring.h"
#include "core/link/CommLink.h"
#include "core/protocol/Protocol.h"
#include "core/robot/CSettings.h"
#include "core/robot/SettingsCodec.h"
#include "support/FileFormatCheck.h"

namespace {

// The bytes of a fresh profile, written out by hand.
QByteArray DefaultProfileBytes() {
    const unsigned char fields[] = {
        8,   0, 0,   0, 1,   0, 6,    0, 6,    0, 0,   0, // version, f2, f3, axes, joints, simulate
        100, 0, 100, 0, 100, 0, 100,  0, 100,  0, 100, 0, // six axis words
        0,   0, 0,   0, 1,   0, 0xE8, 3, 0xE8, 3, 0,   0, 0, 0, 1, 0, // f13, route coords, f15..f19, hide
    };
    return QByteArray(reinterpret_cast<const char*>(fields), sizeof fields) +
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

TEST_F(Settings, LoadingTakesEveryKeptFieldAndDropsThreeWords) {
    SettingsValues file;
    file.field2 = 7;
    file.joints = 4;
    file.axisWords = {1, 2, 3, 4, 5, 65535};
    file.field13 = 13;
    file.newRouteCoordinates = 1;
    file.field17 = 17;
    file.field18 = 18;
    file.hideMode = 0;
    file.jointNames = {"a", "b", "c", "d"};
    ASSERT_TRUE(settings().OpenFile(Write("p.cfg", EncodeSettings(file))));
    const SettingsValues v = settings().CurrentValues();
    // Words are zero-extended; three are dropped when loading.
    EXPECT_EQ((std::vector<int>{v.field2, settings().JointCount(), v.axisWords[5], v.field17,
                                v.field13 + v.field18 + settings().NewRouteCoordinates()}),
              (std::vector<int>{7, 4, 65535, 17, 0}));
    EXPECT_FALSE(commLink().HideMode || settings().IsModified());
    // A short array reads as empty names.
    EXPECT_EQ(settings().JointName(3) + settings().JointName(4) + settings().JointName(-1), "d");
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
    ui.fileNames = {Path("long.cfg")};
    ASSERT_TRUE(settings().SaveFileDocumentAs());
    ResetCore();
    ASSERT_TRUE(settings().OpenFile(Path("long.cfg")));
    EXPECT_EQ(settings().AxisName(1), name);
}

} // namespace
