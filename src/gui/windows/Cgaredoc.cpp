#include "gui/windows/Cgaredoc.h"

#include "core/project/ProjectModel.h"
#include "core/project/ProjectService.h"

Cgaredoc::Cgaredoc(int route, QObject* parent) : QObject(parent), m_route(route) {
    if (IsOpen())
        projectService().editors.EnterRouteEditor(m_route, this);
}

Cgaredoc::~Cgaredoc() {
    Forget();
}

bool Cgaredoc::IsOpen() const {
    return m_route != runlist::kNoEntry;
}

void Cgaredoc::Forget() {
    if (!IsOpen())
        return;
    // Another editor may have taken the route's place in the registry meanwhile: only this one leaves.
    RouteEditorRegistry& editors = projectService().editors;
    if (editors.Find(m_route) == this)
        editors.ForgetRouteEditor(m_route);
    m_route = runlist::kNoEntry;
}

void Cgaredoc::CloseEditor() {
    Forget();
    emit closeRequested();
}
