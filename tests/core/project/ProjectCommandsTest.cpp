#include "support/ProjectTestSupport.h"

#include "core/base/AppHooks.h"
#include "core/base/CommandIds.h"
#include "core/base/CommandRegistry.h"
#include "core/project/ProjectCommands.h"

namespace {

class ProjectCommandsTest : public ProjectTest {
protected:
    ProjectCommandsTest() { BindProjectCommands(registry); }

    // Opens an empty project named a.run.
    void OpenEmptyProject() {
        WriteEmptyProject("a");
        ui.openPath = Path("a.run");
        ASSERT_TRUE(registry.Run(ID_PROJECT_OPEN));
        ASSERT_EQ(doc.GetPathName(), Path("a.run"));
    }

    CommandRegistry registry;
};

const int kNamedAndReady[] = {ID_PROJECT_RELOAD, ID_PROJECT_UPDATE_DATA, ID_PROJECT_DOWNLOAD_TEXT,
                              ID_PROJECT_DOWNLOAD_DATA};

} // namespace

TEST_F(ProjectCommandsTest, WithoutAProjectOnlyNewAndOpen) {
    EXPECT_TRUE(registry.IsEnabled(ID_PROJECT_NEW));
    EXPECT_TRUE(registry.IsEnabled(ID_PROJECT_OPEN));
    EXPECT_FALSE(registry.IsEnabled(ID_PROJECT_CLOSE));
    EXPECT_FALSE(registry.IsEnabled(ID_PROJECT_SAVE));
    EXPECT_FALSE(registry.IsEnabled(ID_PROJECT_SAVE_AS));
    for (int id : kNamedAndReady)
        EXPECT_FALSE(registry.IsEnabled(id)) << id;

    protocol().ReplyState = reply::kNotOpen;
    EXPECT_FALSE(registry.IsEnabled(ID_PROJECT_OPEN));
    EXPECT_TRUE(registry.IsEnabled(ID_PROJECT_NEW));
}

TEST_F(ProjectCommandsTest, NamedProjectFollowsTheLinkAndTheModifiedState) {
    OpenEmptyProject();
    for (int id : kNamedAndReady)
        EXPECT_TRUE(registry.IsEnabled(id)) << id;
    EXPECT_TRUE(registry.IsEnabled(ID_PROJECT_CLOSE));
    EXPECT_TRUE(registry.IsEnabled(ID_PROJECT_SAVE_AS));
    EXPECT_FALSE(registry.IsEnabled(ID_PROJECT_SAVE));

    protocol().ReplyState = reply::kCollecting;
    for (int id : kNamedAndReady)
        EXPECT_FALSE(registry.IsEnabled(id)) << id;
    EXPECT_TRUE(registry.IsEnabled(ID_PROJECT_CLOSE));

    texts.docs[Path("a.ED2")].modified = true; // unsaved source edits make the project savable
    EXPECT_TRUE(registry.IsEnabled(ID_PROJECT_SAVE));
    texts.docs.clear();
    EXPECT_FALSE(registry.IsEnabled(ID_PROJECT_SAVE));
    doc.SetModifiedFlag();
    EXPECT_TRUE(registry.IsEnabled(ID_PROJECT_SAVE));
}

TEST_F(ProjectCommandsTest, ApplicationHooks) {
    AppHooks& hooks = appHooks();
    ASSERT_TRUE(hooks.ProjectTitle && hooks.MayCloseProject && hooks.RememberProjectName &&
                hooks.LoadProjectName);
    EXPECT_EQ(hooks.ProjectTitle(), "");
    OpenEmptyProject();
    EXPECT_EQ(hooks.ProjectTitle(), "a.run");
    EXPECT_TRUE(hooks.MayCloseProject());
    EXPECT_TRUE(ui.questions.empty());

    doc.SetModifiedFlag();
    ui.answers.push_back(Answer::Cancel);
    EXPECT_FALSE(hooks.MayCloseProject());
    EXPECT_EQ(ui.questions,
              std::vector<std::string>{"The Project has been modified, do you wish to save it?"});
    EXPECT_GT(ui.kicks, 0);
}
