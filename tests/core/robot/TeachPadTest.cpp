#include "support/RobotFixture.h"

namespace {

const std::string kEsc(1, 27);

class TeachPadTest : public RobotFixture {
protected:
    void SetUp() override {
        RobotFixture::SetUp();
        controller.silentLines = {"(TEACH)", "JOG"};
        teachPad().AppendLearnedLine = [this] { ++learned; };
        teachPad().DropLastLine = [this] { ++dropped; };
    }
    // A pass during which the controller prints `signal` while the window is up.
    ScriptedRobotUi::ManualStep PadPrints(const std::string& signal) {
        return {[this, signal] {
                    Flush();
                    controller.Print(signal);
                },
                RobotUi::ManualResult::NewValue};
    }
    static ScriptedRobotUi::ManualStep Pressed(RobotUi::ManualResult result) { return {{}, result}; }

    int learned = 0;
    int dropped = 0;
};

TEST_F(TeachPadTest, PadSignalsCloseTheWindowAndStartTheNextPass) {
    controller.answers["DECIMAL CREEP-FACTOR ?"] = "12 ";
    windows.steps = {PadPrints("$"), PadPrints("%"), PadPrints("$")};
    teachPad().RunTeach();
    EXPECT_EQ(controller.lines, (Lines{"DECIMAL CREEP-FACTOR ?", "(TEACH)", kEsc, "(TEACH)", kEsc, "(TEACH)",
                                       kEsc, "(TEACH)", kEsc}));
    EXPECT_EQ(controller.raw.substr(0, 32), "DECIMAL CREEP-FACTOR ?\r(TEACH)\r\x1b");
    EXPECT_EQ(windows.manualShown, (std::vector<int>{12, 12, 12, 12}));
    EXPECT_EQ(windows.closeRequests, 3);
    EXPECT_EQ(learned, 2);
    EXPECT_EQ(dropped, 1);
    EXPECT_FALSE(teachPad().ManualDialogActive());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(TeachPadTest, NewSpeedIsStoredAndShownInTheNextPass) {
    controller.answers["DECIMAL CREEP-FACTOR ?"] = "12 ";
    windows.steps = {Pressed(RobotUi::ManualResult::NewValue), Pressed(RobotUi::ManualResult::NewValue)};
    windows.newSpeeds = {40};
    teachPad().RunTeach(); // the second speed dialog is cancelled
    EXPECT_EQ(windows.speedPresets, (std::vector<int>{12, 40}));
    EXPECT_EQ(windows.manualShown, (std::vector<int>{12, 40, 40}));
    EXPECT_EQ(teachPad().CreepFactor, 40);
    EXPECT_EQ(controller.lines, (Lines{"DECIMAL CREEP-FACTOR ?", "(TEACH)", kEsc, "DECIMAL 40 CREEP-FACTOR !",
                                       "(TEACH)", kEsc, "(TEACH)", kEsc}));
    EXPECT_EQ(learned + dropped, 0);
}

TEST_F(TeachPadTest, CreepFactorKeepsItsValueWhenTheQueryFails) {
    teachPad().CreepFactor = 9;
    controller.refused.insert("DECIMAL CREEP-FACTOR ?");
    teachPad().RunTeach();
    EXPECT_EQ(windows.manualShown, std::vector<int>{9});
    EXPECT_EQ(ui.messages, Lines{"OK expected"});
}

TEST_F(TeachPadTest, JogReadsAndStoresTheIncrementInTenths) {
    controller.answers["DECIMAL INCR ?"] = "25 ";
    windows.steps = {Pressed(RobotUi::ManualResult::NewValue), PadPrints("$")};
    windows.newIncrements = {0.1f};
    teachPad().RunJog();
    EXPECT_EQ(windows.incrementPresets, std::vector<float>{2.5f});
    EXPECT_EQ(windows.manualShown, (std::vector<int>{25, 1, 1}));
    EXPECT_EQ(controller.lines,
              (Lines{"DECIMAL INCR ?", "JOG", kEsc, "DECIMAL 1 INCR !", "JOG", kEsc, "JOG", kEsc}));
    EXPECT_EQ(learned, 1);
}

TEST_F(TeachPadTest, SignalWithoutAWindowOnlyRecordsTheCode) {
    teachPad().Signal(PadSignal::Drop);
    EXPECT_EQ(teachPad().ExitCode, PadSignal::Drop);
    EXPECT_EQ(windows.closeRequests, 0);
    // The reply tracker reaches the teach pad once the robot commands are installed.
    InstallTeachPadHook();
    controller.Print("X$\r\n");
    EXPECT_EQ(teachPad().ExitCode, PadSignal::Learn);
}

TEST_F(TeachPadTest, FailedSpeedStoreKeepsTheNewValueOnThePc) {
    controller.answers["DECIMAL CREEP-FACTOR ?"] = "12 ";
    controller.refused.insert("DECIMAL 77 CREEP-FACTOR !");
    windows.steps = {Pressed(RobotUi::ManualResult::NewValue)};
    windows.newSpeeds = {77};
    teachPad().RunTeach();
    EXPECT_EQ(teachPad().CreepFactor, 77);
    EXPECT_EQ(windows.manualShown, (std::vector<int>{12, 77}));
}

} // namespace
