#include "gui/windows/RouteEditorWindows.h"

#include "gui/app/CMainFrame.h"
#include "gui/windows/Cgared.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

Cgared* EditorOf(QMdiSubWindow* window) {
    return window ? qobject_cast<Cgared*>(window->widget()) : nullptr;
}

} // namespace

void BindRouteEditorWindows(CMainFrame& frame) {
    WindowKinds::Kind kind;
    kind.title = QStringLiteral("Route");
    kind.createView = [] { return new Cgared; };
    kind.form = true;
    kind.single = false;
    frame.windowKinds().Register(WindowKind::RouteEditor, kind);

    QMdiArea* area = frame.mdiArea();
    QObject::connect(area, &QMdiArea::subWindowActivated, &frame, [](QMdiSubWindow* window) {
        if (Cgared* editor = EditorOf(window))
            editor->Activate();
    });
    frame.AddRefreshHook([area] {
        for (QMdiSubWindow* window : area->subWindowList())
            if (Cgared* editor = EditorOf(window))
                editor->RefreshButtons();
    });
}
