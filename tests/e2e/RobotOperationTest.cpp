#include "EmulatorFixture.h"

#include "core/base/Screen.h"
#include "core/protocol/Protocol.h"
#include "core/protocol/RobotExchange.h"
#include "core/robot/RobotCommands.h"
#include "core/robot/RobotUi.h"
#include "core/robot/TeachPad.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <deque>

namespace {

// Robot windows without a screen: the position dialog answers from a queue, and a manual window
// stays up (running the event loop, so the controller's output keeps arriving) until a pad signal
// closes it or its scripted "Escape" or default button comes. Every window is bounded in time.
class LoopRobotUi : public RobotUi {
public:
    struct Pass {
        std::function<void()> whenShown; // what happens at the controller while the window is up
        int pressAfterMs = -1;           // a button pressed after this time (-1: none)
        ManualResult pressed = ManualResult::Escape;
    };

    bool EditPosition(PositionRecord& record, const std::string&, bool, bool) override {
        shownRecords.push_back(record);
        if (edits.empty())
            return false;
        auto edit = std::move(edits.front());
        edits.pop_front();
        edit(record);
        return true;
    }
    ManualResult ShowTeachWindow(int value) override { return Show(value); }
    ManualResult ShowJogWindow(int value) override { return Show(value); }
    bool AskTeachSpeed(int&) override { return false; }
    bool AskJogIncrement(float& millimetres) override {
        if (newIncrements.empty())
            return false;
        millimetres = newIncrements.front();
        newIncrements.pop_front();
        return true;
    }
    void CloseManualWindow() override {
        if (m_loop)
            QTimer::singleShot(0, m_loop, [this] { m_loop->exit(int(ManualResult::Escape)); });
        ++closeRequests;
    }

    std::deque<std::function<void(PositionRecord&)>> edits;
    std::deque<Pass> passes;
    std::deque<float> newIncrements;
    std::vector<PositionRecord> shownRecords;
    std::vector<int> shownValues;
    int closeRequests = 0;
    int timedOut = 0;

private:
    ManualResult Show(int value) {
        shownValues.push_back(value);
        Pass pass = passes.empty() ? Pass{{}, 0, ManualResult::Escape} : passes.front();
        if (!passes.empty())
            passes.pop_front();
        QEventLoop loop;
        m_loop = &loop;
        QTimer limit;
        limit.setSingleShot(true);
        QObject::connect(&limit, &QTimer::timeout, [this, &loop] {
            ++timedOut;
            loop.exit(int(ManualResult::Escape));
        });
        limit.start(3000);
        if (pass.pressAfterMs >= 0)
            QTimer::singleShot(pass.pressAfterMs, &loop, [&loop, pass] { loop.exit(int(pass.pressed)); });
        if (pass.whenShown)
            QTimer::singleShot(0, &loop, pass.whenShown);
        const int result = loop.exec();
        m_loop = nullptr;
        return ManualResult(result);
    }

    QEventLoop* m_loop = nullptr;
};

} // namespace

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
