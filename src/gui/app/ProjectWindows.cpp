#include "gui/app/ProjectWindows.h"

#include "core/project/ProjectService.h"
#include "gui/app/CMainFrame.h"

void FollowProjectWindows(CMainFrame& frame) {
    QObject::connect(&projectService(), &ProjectService::Changed, &frame,
                     [&frame](ProjectService::Changes what) {
                         WindowKinds& kinds = frame.windowKinds();
                         if (what.testFlag(ProjectService::Opened)) {
                             kinds.Open(WindowKind::Routes);
                             kinds.Open(WindowKind::Places);
                         }
                         if (what.testFlag(ProjectService::Closed)) {
                             kinds.Close(WindowKind::Routes);
                             kinds.Close(WindowKind::Places);
                         }
                     });
}
