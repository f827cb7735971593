#include "EmulatorFixture.h"
#include "LoopRobotUi.h"

#include "core/base/Screen.h"
#include "core/protocol/Protocol.h"
#include "core/protocol/RobotExchange.h"
#include "core/robot/RobotCommands.h"
#include "core/robot/RobotUi.h"
#include "core/robot/TeachPad.h"

// The Robot commands and the teach pad against the controller emulator, over its pseudo-terminal.
class RobotOperationTest : public EmulatorFixture {
protected:
    void BeforeOpen() override { InstallScreen({&m_ui, &m_windows}); }
    void SetUp() override {
        EmulatorFixture::SetUp();
        InstallTeachPadHook();
        ASSERT_TRUE(m_emulator->WaitForTranscript(1));
        m_start = m_emulator->Transcript().size();
    }
    // What the emulator received since the link was opened.
    QByteArray Sent() { return ReceivedSince(m_start); }
    // One line of the emulator's "state" report, without its name.
    std::string State(const std::string& name) {
        QStringList lines;
        m_emulator->Control("state", &lines);
        for (const QString& line : lines)
            if (line.startsWith(QString::fromStdString(name + " ")))
                return line.mid(int(name.size()) + 1).toStdString();
        return "<none>";
    }

    LoopRobotUi m_windows;
    qsizetype m_start = 0;
};

TEST_F(RobotOperationTest, JointAbsoluteMoveSendsTheEnteredPositionAndTheArmGoesThere) {
    ASSERT_TRUE(m_emulator->Control("set joints 1 2 3 4 5 6"));
    m_windows.edits.push_back([](PositionRecord& r) {
        const std::int16_t entered[] = {100, 0, -50, 0, 25, 7};
        std::copy(entered, entered + 6, r.values);
    });
    JointAbsoluteMove();
    ASSERT_EQ(m_windows.shownRecords.size(), 1u);
    EXPECT_EQ(m_windows.shownRecords[0].values[5], 6);
    ASSERT_TRUE(m_emulator->WaitForTranscript(m_start + 40));
    EXPECT_EQ(Sent(), QByteArray("DECIMAL GF\rDECIMAL 7 25 0 -50 0 100 JMA\r"));
    EXPECT_EQ(State("joints"), "100 0 -50 0 25 7");

    AxisValues values = {0, 0, 0, 0, 0, 0};
    EXPECT_TRUE(ReadJoints(values));
    EXPECT_EQ(values[2], -50);
    EXPECT_EQ(values[5], 7);
    EXPECT_TRUE(m_ui.messages.empty());
}

TEST_F(RobotOperationTest, CartesianRelativeMoveWithZeroDeltasSendsThePositionBack) {
    ASSERT_TRUE(m_emulator->Control("set joints 10 -20 30 -40 50 -60"));
    const std::string before = State("cartesian");
    m_windows.edits.push_back([](PositionRecord&) {});
    CartesianRelativeMove();
    // The current position, last axis first, as an absolute move.
    std::string expected = "DECIMAL CF\rDECIMAL ";
    std::istringstream in(before);
    std::vector<std::string> axes{std::istream_iterator<std::string>(in), {}};
    ASSERT_EQ(axes.size(), 6u);
    for (auto it = axes.rbegin(); it != axes.rend(); ++it)
        expected += *it + " ";
    expected += "CM\r";
    EXPECT_EQ(Sent().toStdString(), expected);
    EXPECT_EQ(State("cartesian"), before);

    // A real offset moves the arm by that much.
    m_windows.edits.push_back([](PositionRecord& r) { r.values[0] = 15; });
    CartesianRelativeMove();
    AxisValues after = {0, 0, 0, 0, 0, 0};
    EXPECT_TRUE(ReadCartesian(after));
    EXPECT_EQ(after[0], std::stoi(axes[0]) + 15);
    EXPECT_TRUE(m_ui.messages.empty());
}

TEST_F(RobotOperationTest, LearnSignalInTeachModeClosesTheWindowSendsEscapeAndStartsTheNextPass) {
    int learned = 0;
    teachPad().AppendLearnedLine = [&learned] { ++learned; };
    m_windows.passes.push_back({[this] { m_emulator->Control("signal learn"); }, -1, {}});
    m_windows.passes.push_back({{}, 50, RobotUi::ManualResult::Escape});
    teachPad().RunTeach();
    EXPECT_EQ(Sent(), QByteArray("DECIMAL CREEP-FACTOR ?\r(TEACH)\r\x1b(TEACH)\r\x1b"));
    EXPECT_EQ(m_windows.shownValues, (std::vector<int>{10, 10}));
    EXPECT_EQ(m_windows.closeRequests, 1);
    EXPECT_EQ(m_windows.timedOut, 0);
    EXPECT_EQ(learned, 1);
    EXPECT_EQ(protocol().ReplyState, reply::kIdle);
    EXPECT_FALSE(teachPad().ManualDialogActive());
    EXPECT_TRUE(m_ui.messages.empty());
}

TEST_F(RobotOperationTest, JogStoresANewIncrementAndDropSignalDropsTheLastLine) {
    int dropped = 0;
    teachPad().DropLastLine = [&dropped] { ++dropped; };
    m_windows.passes.push_back({{}, 20, RobotUi::ManualResult::NewValue});
    m_windows.passes.push_back({[this] { m_emulator->Control("signal drop"); }, -1, {}});
    m_windows.newIncrements.push_back(2.5f);
    teachPad().RunJog();
    EXPECT_EQ(Sent(), QByteArray("DECIMAL INCR ?\rJOG\r\x1b"
                                 "DECIMAL 25 INCR !\rJOG\r\x1bJOG\r\x1b"));
    EXPECT_EQ(m_windows.shownValues, (std::vector<int>{10, 25, 25}));
    EXPECT_EQ(dropped, 1);
    EXPECT_EQ(State("incr"), "25");
    EXPECT_EQ(m_windows.timedOut, 0);
    EXPECT_TRUE(m_ui.messages.empty());
}

TEST_F(RobotOperationTest, GripToggleFollowsTheQueriedFlag) {
    ASSERT_TRUE(m_emulator->Control("set FGRIP 0"));
    GripToggle();
    EXPECT_EQ(State("grip"), "1");
    GripToggle();
    EXPECT_EQ(State("grip"), "0");
    EXPECT_EQ(Sent(), QByteArray("DECIMAL FGRIP C@ .\rGRIP\rDECIMAL FGRIP C@ .\rUNGRIP\r"));
    EXPECT_TRUE(m_ui.messages.empty());
}
