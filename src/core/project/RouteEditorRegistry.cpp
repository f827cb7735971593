#include "core/project/RouteEditorRegistry.h"

#include "core/base/UiSeam.h"

void RouteEditorRegistry::OpenRouteEditor(int route) {
    PendingEditorRoute = route;
    if (RouteEditorView* view = Find(route))
        view->BringToTop();
    else
        ui().OpenRouteEditorWindow();
}

void RouteEditorRegistry::EnterRouteEditor(int route, RouteEditorView* view) {
    OpenRouteEditors[route] = view;
}

void RouteEditorRegistry::CloseRouteEditor(int route) {
    if (RouteEditorView* view = Find(route))
        view->CloseEditor();
}

void RouteEditorRegistry::CloseAllRouteEditors() {
    // Closing an editor makes it forget itself, which changes the map: walk a copy.
    const auto editors = OpenRouteEditors;
    for (const auto& entry : editors)
        entry.second->CloseEditor();
    OpenRouteEditors.clear();
}

void RouteEditorRegistry::ForgetRouteEditor(int route) {
    OpenRouteEditors.erase(route);
}

void RouteEditorRegistry::UpdateRouteEditor(int route) {
    if (RouteEditorView* view = Find(route))
        view->UpdateViews();
}

void RouteEditorRegistry::UpdateAllRouteEditors() {
    const auto editors = OpenRouteEditors;
    for (const auto& entry : editors)
        entry.second->UpdateViews();
}

void RouteEditorRegistry::NotifyRouteEditor(int route, int count) {
    if (RouteEditorView* view = Find(route))
        view->SetLineCount(count);
}

RouteEditorView* RouteEditorRegistry::Find(int route) const {
    const auto it = OpenRouteEditors.find(route);
    return it == OpenRouteEditors.end() ? nullptr : it->second;
}
