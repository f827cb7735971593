#include "ControlCommands.h"
#include "ConsoleTestSupport.h"
#include "EmulatorMemory.h"

#include <gtest/gtest.h>

namespace {
bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}
} // namespace

TEST(ControlCommands, SignalsAndRawBytesGoToTheConsoleOutput) {
    ConsoleModel console;
    ControlCommands control(console);
    EXPECT_EQ(control.Run("signal learn").text, "ok\n");
    EXPECT_EQ(control.Run("signal drop").text, "ok\n");
    control.Run("send A\\r\\n\\x05\\\\");
    EXPECT_EQ(console.TakeOutput(), "$%A\r\n\x05\\");
    EXPECT_TRUE(EndsWith(control.Run("signal maybe").text, "\n"));
    EXPECT_EQ(control.Run("signal maybe").text.rfind("error:", 0), 0u);
    control.Run("garbage 100");
    EXPECT_EQ(console.TakeOutput().size(), 100u);
}

TEST(ControlCommands, FaultsReachTheConsole) {
    ConsoleModel console;
    ControlCommands control(console);
    control.Run("errors 2");
    EXPECT_EQ(RunLine(console, "HOME"), "HOME err\r\n>");
    EXPECT_EQ(RunLine(console, "DECIMAL 5 INCR !"), "DECIMAL 5 INCR ! err\r\n>");
    EXPECT_EQ(console.VariableValue("INCR"), 10) << "a failed line is not run";
    EXPECT_EQ(RunLine(console, "HOME"), "HOME OK\r\n>");
    control.Run("silent on");
    EXPECT_EQ(RunLine(console, "HOME"), "");
    control.Run("silent off");
    EXPECT_EQ(RunLine(console, "HOME"), "HOME OK\r\n>");
    const ControlResult unplug = control.Run("unplug 250");
    EXPECT_EQ(unplug.action, ControlResult::Action::Unplug);
    EXPECT_EQ(unplug.value, 250);
    EXPECT_EQ(control.Run("unplug soon").action, ControlResult::Action::None);
}

TEST(ControlCommands, StateAndMemoryReports) {
    ConsoleModel console;
    ControlCommands control(console);
    EXPECT_EQ(control.Run("set joints 1 2 3 4 5 6").text, "ok\n");
    RunLine(console, "GRIP");
    std::string state = control.Run("state").text;
    EXPECT_NE(state.find("joints 1 2 3 4 5 6\n"), std::string::npos) << state;
    EXPECT_NE(state.find("grip 1\n"), std::string::npos);
    EXPECT_NE(state.find("next 16\n"), std::string::npos);
    EXPECT_TRUE(EndsWith(state, "ok\n"));

    console.Memory().SetByte(2, 0x10, 0xAB);
    console.Memory().SetByte(2, 0x11, 0x05);
    EXPECT_EQ(control.Run("dump 2 0x10 3").text, "ab0500\nok\n");
    EXPECT_EQ(control.Run("dump 4 0 1").text.rfind("error:", 0), 0u);
    EXPECT_EQ(control.Run("dump 0 65535 2").text.rfind("error:", 0), 0u);
    EXPECT_EQ(control.Run("runlist").text, "16 100000000400000000000000080000000000\nok\n");
    RunLine(console, "PLACE A");
    RunLine(console, "PLACE B");
    std::string full = control.Run("runlist").text;
    std::string masked = control.Run("runlist masked").text;
    EXPECT_EQ(full.substr(0, 3), "112");
    EXPECT_EQ(full.substr(4 + 2 * 64, 8), "70000100") << "B is the second entry";
    EXPECT_EQ(masked.substr(4 + 2 * 64, 8), "70000000");
    EXPECT_EQ(masked.substr(4 + 2 * 16, 8), "40000000");
    EXPECT_EQ(full.size(), masked.size());
    RunLine(console, "DECIMAL 65535 NEXT !");
    EXPECT_EQ(control.Run("runlist").text.size(), 6 + 2 * EmulatorMemory::kBankSize + 4)
        << "the report stops at the end of the bank";

    EXPECT_EQ(control.Run("set CREEP-FACTOR 77").text, "ok\n");
    EXPECT_EQ(control.Run("var CREEP-FACTOR").text, "77\nok\n");
    EXPECT_EQ(control.Run("var HOME").text.rfind("error:", 0), 0u);
    RunLine(console, "START");
    EXPECT_EQ(control.Run("history 1").text, "START\nok\n");
}
