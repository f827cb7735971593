#include "EmulatorFixture.h"

#include "core/base/Screen.h"
#include "core/link/CommLink.h"
#include "core/project/CPosDat.h"
#include "core/project/ProjectModel.h"
#include "core/protocol/Protocol.h"

using namespace runlist;

namespace {

// The event-loop seam with a save-file dialog that answers a preset path.
class ProjectUi : public EventLoopUi {
public:
    std::string AskSaveFileName(const std::string&, const std::string&, const std::string&,
                                const std::string&) override {
        return savePath;
    }
    std::string savePath;
};

void Put16(QByteArray& bytes, int offset, int value) {
    bytes[offset] = static_cast<char>(value & 0xFF);
    bytes[offset + 1] = static_cast<char>((value >> 8) & 0xFF);
}

// One Cartesian place P1 and a joint route R1 of three slots with one line in use.
QByteArray PlaceAndRoute() {
    QByteArray b(130, '\0');
    Put16(b, 0, 16);
    Put16(b, 4, 4);
    Put16(b, 12, 8);
    Put16(b, 16, 64);
    Put16(b, 20, 2);
    Put16(b, 28, 8);
    Put16(b, 32, 1500); // position
    Put16(b, 34, -20);
    Put16(b, 36, 900);
    Put16(b, 44, 2);
    Put16(b, 52, 50); // approach: 5 mm up
    Put16(b, 60, 3);
    Put16(b, 64, 128); // route header: one line of three
    Put16(b, 66, 1);
    Put16(b, 68, 4);
    Put16(b, 70, 1);
    Put16(b, 76, 8);
    for (int i = 0; i < 6; ++i) // line 1: joints 10 .. 60
        Put16(b, 80 + 2 * i, 10 * (i + 1));
    return b;
}

} // namespace

// Projects against the controller emulator: the image and names reach its RUN-LIST, and its RUN-LIST
// comes back into the image.
class ProjectEmulatorTest : public EmulatorFixture {
protected:
    void BeforeOpen() override { InstallScreen({&m_projectUi}); }

    void OpenPlaceAndRoute() {
        WriteFile("proj.run", PlaceAndRoute());
        WriteFile("proj.ed1", "KAVENTRIX\nSTARTOVER\nPLACE P1\nROUTE R1\n");
        WriteFile("proj.ed2", ": TWICE 2 * ;\n");
        ASSERT_TRUE(projectDocument().OpenFile(Path("proj.run")));
        ASSERT_TRUE(m_projectUi.messages.empty()) << m_projectUi.messages.front();
    }

    // The emulator's RUN-LIST up to and including its terminator, name-index words as 0.
    QByteArray ControllerRunList(int* next = nullptr) {
        QStringList lines;
        if (!m_emulator->Control("runlist masked", &lines) || lines.isEmpty())
            return "<no run-list>";
        const QStringList parts = lines.first().split(' ');
        if (next)
            *next = parts.value(0).toInt();
        return QByteArray::fromHex(parts.value(1).toLatin1());
    }

    // The PC's image the same way.
    static QByteArray MaskedImage() {
        const ProjectModel& m = projectModel();
        QByteArray bytes(reinterpret_cast<const char*>(m.RunList.data()), m.RunListEnd + 2);
        for (int e = m.FirstEntry(); e != kNoEntry; e = m.NextEntry(e))
            Put16(bytes, e + kNameIndex, 0);
        return bytes;
    }

    ProjectUi m_projectUi;
};

TEST_F(ProjectEmulatorTest, OpenedProjectEqualsTheControllersRunList) {
    OpenPlaceAndRoute();
    int next = 0;
    EXPECT_EQ(ControllerRunList(&next).toHex().toStdString(), MaskedImage().toHex().toStdString());
    EXPECT_EQ(next, 128);
    QStringList words;
    ASSERT_TRUE(m_emulator->Control("words", &words));
    const QStringList names = words.join(' ').split(' ');
    EXPECT_TRUE(names.contains("P1") && names.contains("R1") && names.contains("TWICE"));
    EXPECT_EQ(protocol().ReplyState, reply::kIdle);
    EXPECT_EQ(protocol().ReplyMode, 0);
}

TEST_F(ProjectEmulatorTest, UpdateBringsBackLinesLearnedOnTheController) {
    OpenPlaceAndRoute();
    ASSERT_TRUE(m_emulator->Control("set joints 7 -8 9 -10 11 -12"));
    ASSERT_TRUE(protocol().SendCommand("R1 LEARN"));

    projectDocument().UpdateData();
    EXPECT_TRUE(m_projectUi.messages.empty());
    ProjectModel& m = projectModel();
    const int r = m.FindEntry("R1");
    ASSERT_EQ(r, 64);
    ASSERT_EQ(m.LineCount(r), 2);
    const PositionRecord line = m.Line(r, 2);
    EXPECT_EQ(std::vector<int>(line.values, line.values + 6), (std::vector<int>{7, -8, 9, -10, 11, -12}));
    EXPECT_EQ(m.EntryName(m.FirstEntry()), "P1");
    EXPECT_TRUE(projectDocument().IsModified());
    EXPECT_EQ(ControllerRunList().toHex().toStdString(), MaskedImage().toHex().toStdString());

    // Saved, the project holds what the controller holds.
    ASSERT_TRUE(projectDocument().SaveFileDocument());
    const QByteArray saved = ReadFile("proj.run");
    EXPECT_EQ(saved.size(), 130);
    EXPECT_EQ(saved.mid(80, 32), PlaceAndRoute().mid(80, 16) + MaskedImage().mid(96, 16));
}

TEST_F(ProjectEmulatorTest, ReloadPutsTheImageBackOnTheController) {
    OpenPlaceAndRoute();
    ASSERT_TRUE(protocol().SendCommand("R1 LEARN"));
    EXPECT_NE(ControllerRunList(), MaskedImage());
    projectDocument().ReloadProject();
    EXPECT_TRUE(m_projectUi.messages.empty());
    EXPECT_EQ(ControllerRunList().toHex().toStdString(), MaskedImage().toHex().toStdString());
    EXPECT_EQ(projectModel().LineCount(64), 1);
}

TEST_F(ProjectEmulatorTest, NewProjectEmptiesTheControllersList) {
    OpenPlaceAndRoute();
    m_projectUi.savePath = Path("fresh.run");
    ASSERT_TRUE(projectDocument().NewFileDocument());
    int next = -1;
    const QByteArray list = ControllerRunList(&next);
    EXPECT_EQ(projectModel().FirstEntry(), kNoEntry);
    EXPECT_EQ(list.mid(next, 2), QByteArray(2, '\0'));
    EXPECT_EQ(ReadFile("fresh.ED2"), QByteArray());
    QStringList history;
    ASSERT_TRUE(m_emulator->Control("history 3", &history));
    EXPECT_EQ(history, (QStringList{"KAVENTRIX", "STARTOVER", "NEW"}));
}

TEST_F(ProjectEmulatorTest, CancelledUpdateKeepsTheProjectAndTheLink) {
    OpenPlaceAndRoute();
    const QByteArray before = MaskedImage();
    ASSERT_TRUE(m_emulator->Control("silent on"));
    CancelAfter(200);
    projectDocument().UpdateData();
    EXPECT_EQ(m_projectUi.messages, std::vector<std::string>{"Upload failed, data may now be invalid"});
    EXPECT_EQ(projectModel().RunListEnd, 128);
    EXPECT_EQ(projectModel().EntryNames.size(), 2u);
    EXPECT_EQ(MaskedImage(), before);
    EXPECT_EQ(protocol().receiveMode, ReceiveMode::Text);
    EXPECT_EQ(protocol().ReplyState, reply::kIdle);

    // The controller answers again: so does the link.
    ASSERT_TRUE(m_emulator->Control("silent off"));
    EXPECT_TRUE(protocol().SendCommand("HOME"));
}
