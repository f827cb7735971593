#include "core/app/CoreWiring.h"
#include "core/base/ProfileStore.h"
#include "core/link/CommLink.h"
#include "core/link/Transport.h"
#include "core/protocol/Protocol.h"
#include "core/robot/CSettings.h"
#include "core/robot/SettingsCodec.h"
#include "support/ScriptedUi.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <deque>
#include <gtest/gtest.h>
#include <random>

namespace {

// A port that records what the link asked of it; it opens when told to.
class RecordingPort : public Transport {
public:
    bool OpenComm(int, unsigned, const std::string&) override {
        calls.push_back("open");
        return opens;
    }
    void CloseComm() override { calls.push_back("close"); }
    int CommRead(char*, int) override { return 0; }
    bool CommWrite(const char*, int) override { return true; }
    bool IsConnected() const override { return opens; }
    bool opens = false;
    std::vector<std::string> calls;
};

class DialogUi : public ScriptedUi {
public:
    std::string AskOpenFileName(const std::string&, const std::string&, const std::string&,
                                const std::string&) override {
        return Next();
    }
    std::string AskSaveFileName(const std::string&, const std::string&, const std::string&,
                                const std::string&) override {
        return Next();
    }
    std::deque<std::string> fileNames;

private:
    std::string Next() {
        if (fileNames.empty())
            return std::string();
        std::string n = fileNames.front();
        fileNames.pop_front();
        return n;
    }
};

// The bytes of a fresh profile, written out by hand.
QByteArray DefaultProfileBytes() {
    const unsigned char fields[] = {
        8,   0, 0,   0, 1,   0, 6,    0, 6,    0, 0,   0, // version, f2, f3, axes, joints, simulate
        100, 0, 100, 0, 100, 0, 100,  0, 100,  0, 100, 0, // six axis words
        0,   0, 0,   0, 1,   0, 0xE8, 3, 0xE8, 3, 0,   0, 0, 0, 1, 0, // f13, route coords, f15..f19, hide
    };
    QByteArray bytes(reinterpret_cast<const char*>(fields), sizeof fields);
    bytes.append(QByteArray("\x07\x00", 2));
    bytes.append("\x05Waist\x08Shoulder\x05"
                 "Elbow\x04Hand\x05Wrist\x03Yaw");
    bytes.append('\0');
    bytes.append(QByteArray("\x07\x00", 2));
    bytes.append("\x01X\x01Y\x01Z\x05pitch\x04roll\x03yaw");
    bytes.append('\0');
    return bytes;
}

class SettingsProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        UseProfileFile(Path("store.ini"));
        ResetCore();
        commLink().SetTransport(&port);
    }
    void TearDown() override {
        ResetCore();
        UseProfileFile(std::string());
    }
    std::string Path(const char* name) const { return QDir(dir.path()).filePath(name).toStdString(); }
    void Write(const std::string& path, const QByteArray& bytes) {
        QFile f(QString::fromStdString(path));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray Read(const std::string& path) {
        QFile f(QString::fromStdString(path));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    DialogUi ui;
    RecordingPort port;
};

TEST_F(SettingsProfileTest, DefaultProfileIsSavedByteForByte) {
    ui.fileNames.push_back(Path("default.cfg"));
    ASSERT_TRUE(settings().SaveFileDocumentAs());
    const QByteArray bytes = Read(Path("default.cfg"));
    EXPECT_EQ(bytes.size(), 2 + 19 * 2 + (2 + 37) + (2 + 22));
    EXPECT_EQ(bytes, DefaultProfileBytes());
    EXPECT_EQ(settings().GetTitle(), "default.cfg");
}

TEST_F(SettingsProfileTest, LoadingTakesEveryKeptFieldAndDropsThreeWords) {
    SettingsValues file;
    file.field2 = 7;
    file.field3 = 9;
    file.cartesianAxes = 3;
    file.joints = 4;
    file.axisWords = {1, 2, 3, 4, 5, 65535};
    file.field13 = 13;
    file.newRouteCoordinates = 1;
    file.field15 = 15;
    file.field16 = 16;
    file.field17 = 17;
    file.field18 = 18;
    file.field19 = 19;
    file.hideMode = 0;
    file.jointNames = {"a", "b", "c", "d"};
    file.axisNames = {"x", "y", "z", "p", "q"};
    Write(Path("p.cfg"), EncodeSettings(file));

    ASSERT_TRUE(settings().OpenFile(Path("p.cfg")));
    const SettingsValues v = settings().CurrentValues();
    EXPECT_EQ(v.field2, 7);
    EXPECT_EQ(v.field3, 9);
    EXPECT_EQ(settings().CartesianAxisCount(), 3);
    EXPECT_EQ(settings().JointCount(), 4);
    EXPECT_EQ(v.axisWords[5], 65535) << "words are zero-extended";
    EXPECT_EQ(v.field15, 15);
    EXPECT_EQ(v.field16, 16);
    EXPECT_EQ(v.field17, 17);
    EXPECT_EQ(v.field19, 19);
    EXPECT_EQ(v.field13, 0) << "dropped when loading";
    EXPECT_EQ(v.field18, 0) << "dropped when loading";
    EXPECT_EQ(settings().NewRouteCoordinates(), 0) << "dropped when loading";
    EXPECT_FALSE(commLink().HideMode);
    EXPECT_EQ(settings().JointName(3), "d");
    EXPECT_EQ(settings().JointName(4), "") << "a short array reads as empty names";
    EXPECT_EQ(settings().AxisName(4), "q");
    EXPECT_FALSE(settings().IsModified());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SettingsProfileTest, OtherVersionIsRefusedAndChangesNoValue) {
    QByteArray bytes = DefaultProfileBytes();
    bytes[0] = 7;
    bytes[8] = 3; // joints
    Write(Path("old.cfg"), bytes);
    settings().SetJointNames(5, {"j1", "j2", "j3", "j4", "j5"});

    EXPECT_TRUE(settings().OpenFile(Path("old.cfg")));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], "Settings file version not supported");
    EXPECT_EQ(settings().JointCount(), 5);
    EXPECT_EQ(settings().JointName(0), "j1");
}

TEST_F(SettingsProfileTest, EveryTruncationIsReportedAndKeepsTheProfile) {
    SettingsValues file;
    file.jointNames = {"Waist", "Shoulder", std::string(300, 'n')}; // a name in the long length form
    const QByteArray full = EncodeSettings(file);
    settings().SetJointNames(2, {"keep1", "keep2"});
    for (qsizetype n = 0; n < full.size(); ++n) {
        SettingsValues before = settings().CurrentValues();
        SettingsValues into = before;
        ASSERT_EQ(DecodeSettings(full.left(n), into), SettingsDecode::Damaged) << "length " << n;
        EXPECT_EQ(into.jointNames, before.jointNames);
        EXPECT_EQ(into.joints, before.joints);
    }
    // Through the document: reported, and the file does not become the profile's path.
    Write(Path("short.cfg"), full.left(30));
    EXPECT_FALSE(settings().OpenFile(Path("short.cfg")));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("short.cfg"), std::string::npos);
    EXPECT_EQ(settings().JointName(0), "keep1");
    EXPECT_TRUE(settings().GetPathName().empty());
}

TEST_F(SettingsProfileTest, ImpossibleCountsAndHugeArraysAreDamage) {
    SettingsValues v;
    QByteArray bytes = DefaultProfileBytes();
    bytes[8] = 0; // no joints
    EXPECT_EQ(DecodeSettings(bytes, v), SettingsDecode::Damaged);
    bytes = DefaultProfileBytes();
    bytes[6] = 7; // seven Cartesian axes
    EXPECT_EQ(DecodeSettings(bytes, v), SettingsDecode::Damaged);
    bytes = DefaultProfileBytes().left(40);
    bytes.append(QByteArray("\xFF\xFF\xFF\xFF\xFF\x7F", 6)); // a 32-bit count far beyond the file
    EXPECT_EQ(DecodeSettings(bytes, v), SettingsDecode::Damaged);
    EXPECT_EQ(v.joints, 6);
}

TEST_F(SettingsProfileTest, MutatedFilesEitherLoadSoundlyOrChangeNothing) {
    const QByteArray valid = DefaultProfileBytes();
    std::mt19937 random(8);
    SettingsValues before;
    before.jointNames = {"kept"};
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes = valid;
        const int changes = 1 + int(random() % 4);
        for (int c = 0; c < changes; ++c)
            bytes[qsizetype(random() % bytes.size())] = char(random() % 256);
        if (random() % 3 == 0)
            bytes.truncate(qsizetype(random() % bytes.size()));
        SettingsValues v = before;
        switch (DecodeSettings(bytes, v)) {
        case SettingsDecode::Ok:
            EXPECT_GE(v.joints, 1);
            EXPECT_LE(v.joints, 6);
            EXPECT_GE(v.cartesianAxes, 1);
            EXPECT_LE(v.cartesianAxes, 6);
            break;
        case SettingsDecode::WrongVersion:
        case SettingsDecode::Damaged:
            EXPECT_EQ(v.jointNames, before.jointNames) << "round " << round;
            EXPECT_EQ(EncodeSettings(v), EncodeSettings(before)) << "round " << round;
            break;
        }
    }
}

TEST_F(SettingsProfileTest, RoundTripKeepsNamesBeyondTheCountAndLongNames) {
    settings().SetJointNames(3, {"Base", "Upper", "Fore"});
    settings().SetAxisNames(2, {"Reach", std::string(70000, 'r')});
    EXPECT_TRUE(settings().IsModified());
    EXPECT_EQ(settings().JointName(3), "Hand") << "names beyond the count stay in the array";
    ui.fileNames.push_back(Path("rt.cfg"));
    ASSERT_TRUE(settings().SaveFileDocument());
    EXPECT_FALSE(settings().IsModified());
    const SettingsValues saved = settings().CurrentValues();

    ResetCore();
    ASSERT_TRUE(settings().OpenFile(Path("rt.cfg")));
    const SettingsValues loaded = settings().CurrentValues();
    EXPECT_EQ(loaded.jointNames, saved.jointNames);
    EXPECT_EQ(loaded.axisNames, saved.axisNames);
    EXPECT_EQ(loaded.joints, 3);
    EXPECT_EQ(loaded.cartesianAxes, 2);
    EXPECT_EQ(EncodeSettings(loaded), Read(Path("rt.cfg")));
}

TEST_F(SettingsProfileTest, SimulateOnClosesThePortThenOpensTheSimulator) {
    commLink().OpenCommunication(); // the port does not open
    ASSERT_EQ(protocol().ReplyState, reply::kNotOpen);
    port.calls.clear();

    settings().ApplyConfiguration(true, settings().HideModeFlag());
    EXPECT_EQ(port.calls, std::vector<std::string>{"close"});
    EXPECT_TRUE(commLink().Simulate);
    EXPECT_EQ(protocol().ReplyState, reply::kIdle);
    EXPECT_TRUE(settings().IsModified());
    EXPECT_EQ(settings().CurrentValues().simulate, 1);

    // Off again: the serial link is opened (without closing first).
    port.calls.clear();
    port.opens = true;
    settings().ApplyConfiguration(false, settings().HideModeFlag());
    EXPECT_EQ(port.calls, std::vector<std::string>{"open"});
    EXPECT_FALSE(commLink().Simulate);
}

TEST_F(SettingsProfileTest, HideModeOnlyStoresAndUnchangedDialogChangesNothing) {
    port.calls.clear();
    settings().ApplyConfiguration(false, true);
    EXPECT_FALSE(settings().IsModified()) << "nothing changed";
    settings().ApplyConfiguration(false, false);
    EXPECT_TRUE(settings().IsModified());
    EXPECT_FALSE(commLink().HideMode);
    EXPECT_TRUE(port.calls.empty());
}

TEST_F(SettingsProfileTest, LoadedSimulateFlagSwitchesALinkInUse) {
    SettingsValues file;
    file.simulate = 1;
    Write(Path("sim.cfg"), EncodeSettings(file));

    // At start-up the link is not open yet: the flag is only taken.
    ASSERT_TRUE(settings().OpenFile(Path("sim.cfg")));
    EXPECT_TRUE(commLink().Simulate);
    EXPECT_EQ(commLink().document(), nullptr);

    // In use: loading a serial profile re-opens the link on the port.
    commLink().OpenCommunication();
    file.simulate = 0;
    Write(Path("port.cfg"), EncodeSettings(file));
    port.calls.clear();
    ASSERT_TRUE(settings().OpenFile(Path("port.cfg")));
    EXPECT_FALSE(commLink().Simulate);
    EXPECT_EQ(port.calls, std::vector<std::string>{"open"});
}

TEST_F(SettingsProfileTest, NewKeepsTheValuesInForce) {
    settings().SetJointNames(4, {"a", "b", "c", "d"});
    ui.answers.push_back(Answer::No);
    ui.fileNames.push_back(Path("n.cfg"));
    ASSERT_TRUE(settings().NewFileDocument());
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0], "Do you wish to save new settings?");
    EXPECT_EQ(settings().JointCount(), 4);
    EXPECT_FALSE(settings().IsModified());
    EXPECT_EQ(settings().GetTitle(), "n.cfg");
}

} // namespace
