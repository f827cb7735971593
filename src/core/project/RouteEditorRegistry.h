#pragma once

#include <map>

// What the project needs of an open route editor; the route editor window implements it.
class RouteEditorView {
public:
    virtual ~RouteEditorView() = default;
    virtual void BringToTop() = 0;
    // Closes the editor's document; the editor leaves the registry as it is destroyed.
    virtual void CloseEditor() = 0;
    virtual void UpdateViews() = 0;
    // The teach pad changed the number of lines of the editor's route.
    virtual void SetLineCount(int count) = 0;
};

// The open route editors, at most one per route, keyed by the route's entry offset.
class RouteEditorRegistry {
public:
    std::map<int, RouteEditorView*> OpenRouteEditors;
    // The route handed to a route editor that is being created.
    int PendingEditorRoute = 0;

    // Brings the route's editor to the top, or asks the screen for a new one that reads
    // PendingEditorRoute when it is first shown.
    void OpenRouteEditor(int route);
    // A new editor enters itself.
    void EnterRouteEditor(int route, RouteEditorView* view);
    void CloseRouteEditor(int route);
    void CloseAllRouteEditors();
    void ForgetRouteEditor(int route);
    void UpdateRouteEditor(int route);
    void UpdateAllRouteEditors();
    void NotifyRouteEditor(int route, int count);
    RouteEditorView* Find(int route) const;
};
