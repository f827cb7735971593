#include "support/ProjectTestSupport.h"

using namespace runlist;

namespace {

// The controller's RUN-LIST as blocks answering the ENQs, then ETX.
void SendRunList(FakeController& controller, const std::string& image) {
    for (size_t at = 0; at < image.size(); at += 256) {
        std::string block = image.substr(at, 256);
        block.resize(256, '\0');
        controller.enqAnswers.push_back("\x02" + block);
    }
    controller.enqAnswers.push_back("\x03");
}

std::string ImageText(const ProjectModel& m, int length) {
    return std::string(reinterpret_cast<const char*>(m.RunList.data()), static_cast<size_t>(length));
}

} // namespace

TEST_F(ProjectTest, EmptyProjectDownloadsOneBlockOfSixteen) {
    doc.DownloadData();
    EXPECT_EQ(controller.lines, std::vector<std::string>{"1 BANK C! DECIMAL RUN-LIST 16 RECEIVE"});
    EXPECT_EQ(controller.enqCount, 1);
    EXPECT_EQ(controller.downloaded.size(), 256u);
    EXPECT_EQ(controller.downloaded.substr(0, 18), ImageText(model, 18));
    EXPECT_EQ(ui.boxTexts, std::vector<std::string>{"Downloading data"});
    EXPECT_FALSE(ui.boxOpen);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(ProjectTest, UpdateBindsTheKnownNamesAndDropsTheRest) {
    AddPlace("P1");
    const int r = AddRoute("R1", 2);
    AddPlace("EXTRA");
    // The controller holds the same entries with a changed route line, and a first word of its own.
    ProjectModel& m = model;
    PositionRecord line;
    line.values[3] = 77;
    m.SetRecord(m.LineOffset(r, 1), line);
    m.SetWord(r + kCount, 1);
    m.SetWord(0, 0x1234);
    const std::string controllerImage = ImageText(m, m.RunListEnd + 2);
    m.SetWord(0, 16);
    m.SetRecord(m.LineOffset(r, 1), PositionRecord{});
    m.SetWord(r + kCount, 0);
    m.EntryNames.pop_back(); // the PC knows only two names

    SendRunList(controller, controllerImage);
    doc.UpdateData();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(controller.lines,
              std::vector<std::string>{"1 BANK C! DECIMAL RUN-LIST NEXT @ RUN-LIST - TRANSMIT"});
    EXPECT_EQ(m.Word(0), 16);
    EXPECT_EQ(m.RunListEnd, 112);
    EXPECT_EQ(m.Word(112), 0);
    EXPECT_EQ(m.LineCount(r), 1);
    EXPECT_EQ(m.Line(r, 1).values[3], 77);
    EXPECT_EQ(m.EntryName(r), "R1");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(ui.boxTexts, std::vector<std::string>{"Uploading"});
}

TEST_F(ProjectTest, UpdateFromAShorterListEmptiesTheProject) {
    AddPlace("P1");
    AddPlace("P2");
    QByteArray shorter(66, '\0');
    shorter[0] = 16;
    shorter[16] = 64;
    shorter[20] = 2;
    SendRunList(controller, shorter.toStdString());
    doc.UpdateData();
    EXPECT_EQ(ui.messages, std::vector<std::string>{"run list too short"});
    EXPECT_EQ(model.FirstEntry(), kNoEntry);
    EXPECT_EQ(model.RunListEnd, 16);
    EXPECT_TRUE(model.EntryNames.empty());
}

TEST_F(ProjectTest, UpdateWithALinkBeyondTheLimitEmptiesTheProject) {
    AddPlace("P1");
    QByteArray bad(18, '\0');
    bad[0] = 16;
    bad[16] = static_cast<char>(0xF8); // link 65528
    bad[17] = static_cast<char>(0xFF);
    SendRunList(controller, bad.toStdString());
    doc.UpdateData();
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Insufficient space for run list"});
    EXPECT_EQ(model.FirstEntry(), kNoEntry);
}

TEST_F(ProjectTest, FailedUpdateKeepsNamesAndLength) {
    AddPlace("P1");
    controller.cancelAtEnq = 1;
    doc.UpdateData();
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Upload failed, data may now be invalid"});
    EXPECT_EQ(model.RunListEnd, 64);
    EXPECT_EQ(model.EntryNames.size(), 1u);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(protocol().receiveMode, ReceiveMode::Text);
}

TEST_F(ProjectTest, UpdateWhileSimulatedDoesNothing) {
    AddPlace("P1");
    commLink().Simulate = true;
    doc.UpdateData();
    EXPECT_TRUE(controller.written.empty());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(ui.boxTexts.empty());
}

TEST_F(ProjectTest, ReloadSendsImageThenText) {
    AddPlace("P1");
    doc.ReloadProject();
    ASSERT_GE(controller.lines.size(), 5u);
    EXPECT_EQ(controller.lines[0], "1 BANK C! DECIMAL RUN-LIST 64 RECEIVE");
    EXPECT_EQ(controller.lines[2], "KAVENTRIX");
    EXPECT_EQ(controller.lines[4], "PLACE P1");
}

TEST_F(ProjectTest, WordNamesAreAskedOnceAndCached) {
    controller.lineAnswer = [](const std::string& line) {
        if (line == "302 NAME")
            return line + "  HOMEPOS OK\r\n>";
        return line + " ?\r\n>";
    };
    EXPECT_EQ(projectService().WordName(300), "HOMEPOS");
    EXPECT_EQ(projectService().WordName(300), "HOMEPOS");
    EXPECT_EQ(projectService().WordName(500), "error");
    EXPECT_EQ(projectService().WordName(500), "error");
    EXPECT_EQ(controller.lines, (std::vector<std::string>{"302 NAME", "502 NAME"}));
    model.ClearProject();
    EXPECT_TRUE(model.WordNameCache.empty());
}
