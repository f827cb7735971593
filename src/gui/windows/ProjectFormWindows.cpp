#include "gui/windows/ProjectFormWindows.h"

#include "core/base/CommandIds.h"
#include "core/base/CommandRegistry.h"
#include "gui/app/CMainFrame.h"
#include "gui/windows/CPlcview.h"
#include "gui/windows/Car1.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

#include <algorithm>

namespace {

// Whether the places window shows the data columns; not kept between runs.
bool PlacesShowData = false;

template <class View> View* OpenView(CMainFrame& frame, WindowKind kind) {
    QMdiSubWindow* window = frame.windowKinds().Find(kind);
    return window ? qobject_cast<View*>(window->widget()) : nullptr;
}

// Where a window of `size` opened at `where` stays whole in an area of `area`, if it fits at all.
QPoint KeptInView(QPoint where, QSize size, QSize area) {
    return QPoint(std::max(0, std::min(where.x(), area.width() - size.width())),
                  std::max(0, std::min(where.y(), area.height() - size.height())));
}

} // namespace

void BindProjectFormWindows(CommandRegistry& registry, CMainFrame& frame) {
    WindowKinds& kinds = frame.windowKinds();

    WindowKinds::Kind places;
    places.title = "Places";
    places.form = true;
    places.createView = [&frame]() -> QWidget* {
        auto* view = new CPlcview(PlacesShowData);
        // The other layout is another form: the window closes and opens again once the button's
        // click has been handled.
        QObject::connect(view, &CPlcview::otherLayoutRequested, &frame, [&frame] {
            QTimer::singleShot(0, &frame, [&frame] {
                WindowKinds& kinds = frame.windowKinds();
                const QMdiSubWindow* old = kinds.Find(WindowKind::Places);
                const QPoint where = old ? old->pos() : QPoint();
                kinds.Close(WindowKind::Places);
                PlacesShowData = !PlacesShowData;
                if (QMdiSubWindow* window = kinds.Open(WindowKind::Places))
                    window->move(KeptInView(where, window->size(), frame.mdiArea()->viewport()->size()));
                frame.UpdateCommandStates();
            });
        });
        return view;
    };
    kinds.Register(WindowKind::Places, places);

    WindowKinds::Kind routes;
    routes.title = "Routes";
    routes.form = true;
    routes.createView = [] { return new Car1; };
    kinds.Register(WindowKind::Routes, routes);

    registry.Bind(ID_PROJECT_PLACES, [&kinds] { kinds.Open(WindowKind::Places); });
    registry.Bind(ID_PROJECT_ROUTES, [&kinds] { kinds.Open(WindowKind::Routes); });

    frame.AddRefreshHook([&frame] {
        if (CPlcview* view = OpenView<CPlcview>(frame, WindowKind::Places))
            view->UpdateControls();
        if (Car1* view = OpenView<Car1>(frame, WindowKind::Routes))
            view->UpdateControls();
    });
}
