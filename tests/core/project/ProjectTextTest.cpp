#include "support/ProjectTestSupport.h"

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

class ProjectTextTest : public ProjectTest {
protected:
    // An open project without entries whose source text is `source`.
    void OpenEmptyProject(const QByteArray& source) {
        WriteEmptyProject("empty");
        WriteFile(QPath("empty.ED2"), source);
        ASSERT_TRUE(doc.OpenFile(Path("empty.run")));
        controller.lines.clear();
        ui.boxTexts.clear();
    }
};

TEST_F(ProjectTextTest, AProjectWithoutEntriesDeclaresTheTwoHeaderLinesThenSendsItsSource) {
    OpenEmptyProject("A\nB\n");
    EXPECT_TRUE(doc.DownloadText());
    EXPECT_EQ(controller.lines, (Lines{"|", "KAVENTRIX", "STARTOVER", "IOFLAG C0SET", "A\n", "B\n", "\n"}));
    EXPECT_EQ(ui.boxTexts, (Lines{"Downloading .ed1 file", "Downloading " + doc.Ed2Path()}));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(protocol().heldBox);
    EXPECT_EQ(protocol().ReplyMode, 0);
}

TEST_F(ProjectTextTest, ARefusedDeclarationStopsBeforeTheSourceButStillSetsTheIoFlag) {
    OpenEmptyProject("A\n");
    controller.lineAnswer = [this](const std::string& line) {
        return line == "STARTOVER" ? std::string(" STARTOVER ?\r\n") : Answer(line);
    };
    EXPECT_FALSE(doc.DownloadText());
    EXPECT_EQ(controller.lines, (Lines{"|", "KAVENTRIX", "STARTOVER", "IOFLAG C0SET"}));
    EXPECT_EQ(ui.messages, Lines{"> expected"});
    EXPECT_FALSE(protocol().ControllerStream.fail());
}

TEST_F(ProjectTextTest, AMissingSourceFileIsSkippedSilently) {
    OpenEmptyProject("");
    ASSERT_TRUE(QFile::remove(QPath("empty.ED2")));
    EXPECT_TRUE(doc.DownloadText());
    EXPECT_EQ(controller.lines, (Lines{"|", "KAVENTRIX", "STARTOVER", "IOFLAG C0SET"}));
    EXPECT_TRUE(ui.messages.empty());
}

} // namespace
