#pragma once

#include "core/project/RouteEditorRegistry.h"

#include <QFlags>
#include <QObject>

#include <cstdint>
#include <string>

class ProjectModel;

// What the project does beyond holding its data (ProjectModel): it asks the controller for the names
// of controller words, shows the project's messages, keeps the open route editors, and announces every
// change so that windows can follow. The editing operations on places, routes and lines belong here.
//
// Windows plug in through Changed: a window that shows project data connects to it (with itself as the
// context, so the connection ends with the window) and redraws. The main window opens the places and
// routes windows on Opened and closes them on Closed (gui/app/ProjectWindows.h).
class ProjectService : public QObject {
    Q_OBJECT
public:
    enum Change {
        Image = 1 << 0,       // the run-list image
        Names = 1 << 1,       // the entry names
        ActiveRoute = 1 << 2, // the route the teach pad works on
        Modified = 1 << 3,    // the document's modified flag
        Opened = 1 << 4,      // a project was created or opened
        Closed = 1 << 5,      // the project was emptied: closed, or its data were lost
    };
    Q_DECLARE_FLAGS(Changes, Change)

    ProjectService() = default;

    // The name of the controller word at address `code`: asked of the controller once, then cached.
    std::string WordName(std::uint16_t code);
    // Allocates an entry in the image; "Insufficient space for run-list" when it does not fit.
    int AllocateEntry(int paragraphs, const std::string& name);
    // Empties the image and the word-name cache and closes the route editors; announces Closed.
    void ClearProject();
    // The image or the names changed as a whole (an upload): every window redraws.
    void RefreshProjectViews();
    // Makes `route` the active route (runlist::kNoEntry for none); announces the change.
    void SetActiveRoute(int route);

    // The route editors.
    RouteEditorRegistry editors;
    void OpenRouteEditor(int route) { editors.OpenRouteEditor(route); }
    void CloseRouteEditor(int route) { editors.CloseRouteEditor(route); }
    void ForgetRouteEditor(int route) { editors.ForgetRouteEditor(route); }
    void UpdateRouteEditor(int route) { editors.UpdateRouteEditor(route); }
    // Closes every route editor. The entries are about to move, so no route stays active: the teach
    // pad learns again once an editor names its route to the controller.
    void CloseAllRouteEditors();
    // The teach pad changed the number of lines of the active route.
    void NotifyRouteEditor(int count);

    void Announce(Changes what) { emit Changed(what); }

signals:
    void Changed(ProjectService::Changes what);
};

Q_DECLARE_OPERATORS_FOR_FLAGS(ProjectService::Changes)

// The project service of the program.
ProjectService& projectService();
