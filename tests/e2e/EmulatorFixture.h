#pragma once

#include "EmulatorProcess.h"
#include "LinkFixture.h"

#include <QFile>
#include <QStringList>

#include <memory>
#include <string>

// The link opened on the controller emulator, started as its own process in the test's folder, with
// the file and memory helpers the tests against it share.
class EmulatorFixture : public LinkFixture {
protected:
    void SetUp() override {
        LinkFixture::SetUp();
        BeforeOpen();
        m_emulator = std::make_unique<EmulatorProcess>(m_dir.path());
        ASSERT_TRUE(m_emulator->isRunning()) << "cannot start " << EmulatorProcess::Program().toStdString();
        ASSERT_TRUE(OpenLink(m_emulator->linkPath()));
    }
    void TearDown() override {
        LinkFixture::TearDown();
        m_emulator.reset();
    }

    // What a test's own set-up does before the emulator starts and the link opens.
    virtual void BeforeOpen() {}

    // The emulator's memory, as bytes.
    QByteArray Memory(int bank, int start, int length) {
        QStringList lines;
        if (!m_emulator->Control(QString("dump %1 %2 %3").arg(bank).arg(start).arg(length), &lines) ||
            lines.isEmpty())
            return "<no dump>";
        return QByteArray::fromHex(lines.first().toLatin1());
    }
    // Bytes that differ from block to block and from seed to seed.
    static QByteArray Pattern(int length, int seed) {
        QByteArray bytes;
        for (int i = 0; i < length; ++i)
            bytes.append(static_cast<char>((i * 31 + i / 256 + seed) & 0xff));
        return bytes;
    }
    std::string Path(const char* name) const { return m_dir.filePath(name).toStdString(); }
    // Writes a file in the test's folder and returns its path.
    std::string WriteFile(const char* name, const QByteArray& bytes) {
        QFile file(m_dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return Path(name);
    }
    QByteArray ReadFile(const char* name) const {
        QFile file(m_dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    // What the emulator received after the given offset of its transcript.
    QByteArray ReceivedSince(qsizetype offset) const { return m_emulator->Transcript().mid(offset); }

    std::unique_ptr<EmulatorProcess> m_emulator;
};
