#pragma once

#include "support/EmulatedController.h"
#include "support/ScriptedRobotUi.h"
#include "support/ScriptedUi.h"
#include "support/TestFiles.h"
#include "support/TextDocumentsStub.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

// A fresh core on the emulated controller: the link idle with its terminal text, the scripted screen
// with in-memory text documents and robot windows, a temporary folder that also holds the settings
// store. The core starts over again when the test ends.
class CoreTest : public ::testing::Test {
protected:
    CoreTest();
    ~CoreTest() override;

    std::string Path(const std::string& name) const {
        return dir.filePath(QString::fromStdString(name)).toStdString();
    }
    // Writes a file in the test's folder and returns its path.
    std::string Write(const std::string& name, const QByteArray& bytes) {
        EXPECT_TRUE(WriteTestFile(Path(name), bytes)) << name;
        return Path(name);
    }
    std::string Write(const std::string& name, const std::string& text) {
        return Write(name, QByteArray::fromStdString(text));
    }
    std::string Write(const std::string& name, const char* text) { return Write(name, QByteArray(text)); }
    QByteArray Read(const std::string& name) const { return ReadTestFile(Path(name)); }
    // The terminal's text, line ends as CR LF.
    static std::string Terminal();
    // The command lines the controller ran since the last call.
    std::vector<std::string> Sent();

    QTemporaryDir dir;
    ScriptedUi ui;
    EmulatedController controller{&ui};
    TextDocumentsStub texts;
    ScriptedRobotUi robot;
    ScreenScope screen{{&ui, &robot, &texts}};

private:
    size_t m_seen = 0;
};
