#include "ConsoleModel.h"
#include "core/link/CommLink.h"
#include "core/project/CPosDat.h"
#include "core/project/ProjectFiles.h"
#include "core/project/ProjectModel.h"
#include "core/project/ProjectService.h"
#include "core/protocol/Protocol.h"
#include "support/CoreTest.h"
#include "support/ImageBuilder.h"

using namespace runlist;

namespace {

using Lines = std::vector<std::string>;
PositionRecord Record(std::initializer_list<int> values, std::uint16_t code = 0) {
    return ImageBuilder::Record(values, code);
}

// An open project of one place and a route of three slots with one line, on the controller as well.
class ProjectTransfer : public CoreTest {
protected:
    ProjectTransfer() {
        const ImageBuilder project =
            ImageBuilder().Place("P1", Record({1500}, 2)).Route("R1", 3, {Record({10, 20, 30, 40, 50, 60})});
        Write("pr.ed1", QByteArray::fromStdString(project.Declarations()));
        Write("pr.ed2", "1 2 +\n");
        EXPECT_TRUE(doc.OpenFile(Write("pr.run", project.Bytes())));
        Sent();
        ui.boxTexts.clear();
    }
    CPosDat& doc = projectDocument();
    ProjectModel& model = projectModel();
};

TEST_F(ProjectTransfer, UpdateBringsBackWhatTheControllerLearnedAndKeepsTheNames) {
    controller.Run("DECIMAL 6 -5 4 -3 2 -1 JMA");
    controller.Run("R1 LEARN");
    Sent();
    ProjectService::Changes announced;
    QObject::connect(&projectService(), &ProjectService::Changed,
                     [&announced](ProjectService::Changes what) { announced |= what; });
    doc.UpdateData();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(announced.testFlag(ProjectService::Image) && announced.testFlag(ProjectService::Names));
    EXPECT_EQ(Sent(), Lines{"1 BANK C! DECIMAL RUN-LIST NEXT @ RUN-LIST - TRANSMIT"});
    EXPECT_EQ(model.Line(64, 2), Record({-1, 2, -3, 4, -5, 6}));
    EXPECT_EQ(model.EntryName(64), "R1");
    // Line count, head, terminator, modified, box open.
    EXPECT_EQ((std::vector<int>{model.LineCount(64), model.Word(0), model.Word(model.RunListEnd),
                                doc.IsModified(), ui.boxOpen}),
              (std::vector<int>{2, 16, 0, 1, 0}));

    // "Reload" puts the PC's image back on the controller, then the declarations and the source.
    model.SetWord(64 + kCount, 1);
    doc.ReloadProject();
    EXPECT_EQ(controller.console().RunList().Count(64), 1);
    EXPECT_EQ(Sent(), (Lines{"1 BANK C! DECIMAL RUN-LIST 128 RECEIVE", "|", "KAVENTRIX", "STARTOVER",
                             "PLACE P1", "ROUTE R1", "IOFLAG C0SET", "1 2 +", ""}));
    EXPECT_EQ(ui.boxTexts, (Lines{"Uploading", "Downloading data", "Downloading .ed1 file",
                                  "Downloading " + Path("pr.ed2")}));
}

TEST_F(ProjectTransfer, AListThatNoLongerFitsTheNamesEmptiesTheProject) {
    controller.Run("FORGET R1"); // the controller's list is one entry short
    doc.UpdateData();
    EXPECT_EQ(ui.messages, Lines{"run list too short"});
    EXPECT_TRUE(model.FirstEntry() == kNoEntry && model.EntryNames.empty());

    model.EntryNames = {"P1"};
    controller.Bank(1)[16] = 0xF8; // P1's link beyond the limit: 65528
    controller.Bank(1)[17] = 0xFF;
    doc.UpdateData();
    EXPECT_EQ(ui.messages.back(), "Insufficient space for run list");
    EXPECT_EQ(model.FirstEntry(), kNoEntry);
}

TEST_F(ProjectTransfer, AFailedOrSimulatedUpdateKeepsTheProject) {
    controller.cancelAtEnq = controller.enqs + 1;
    doc.UpdateData();
    EXPECT_EQ(ui.messages, Lines{"Upload failed, data may now be invalid"});
    EXPECT_TRUE(model.RunListEnd == 128 && model.EntryNames.size() == 2u);
    EXPECT_EQ(protocol().receiveMode, ReceiveMode::Text);

    doc.SetModifiedFlag(false);
    commLink().Simulate = true;
    doc.UpdateData();
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(ProjectTransfer, ARefusedDeclarationStopsTheTextButSetsTheIoFlag) {
    controller.refusedLine = "STARTOVER";
    EXPECT_FALSE(doc.DownloadText());
    EXPECT_EQ(Sent(), (Lines{"|", "KAVENTRIX", "STARTOVER", "IOFLAG C0SET"}));
    EXPECT_EQ(ui.messages, Lines{"> expected"});
    EXPECT_FALSE(protocol().ControllerStream.fail() || controller.console().PromptOnly() ||
                 protocol().heldBox);

    // Opening such a project closes it again.
    EXPECT_FALSE(doc.OpenFile(Path("pr.run")));
    EXPECT_TRUE(doc.GetPathName().empty());
    QFile::remove(QString::fromStdString(Path("pr.ed2")));
    controller.refusedLine.clear();
    ui.messages.clear();
    Sent();
    EXPECT_TRUE(doc.OpenFile(Path("pr.run")));
    EXPECT_EQ(Sent().back(), "IOFLAG C0SET") << "a missing source is skipped silently";
    EXPECT_TRUE(ui.messages.empty());
}

} // namespace
