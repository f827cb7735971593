#pragma once

#include "core/project/RouteEditorActions.h"
#include "gui/windows/PathPreviewWindow.h"

#include <QPointer>
#include <QWidget>

#include <map>

class Cgaredoc;
class QPushButton;
class QTableWidget;

// The route editor: the lines of one route in a list, and at its right the buttons that edit them
// through the core (RouteEditorActions.h), each enabled by the core's rule for the selected line. It
// takes its route from the project's pending editor route when it is made, and holds nothing of the
// route itself: the list is rebuilt from the image whenever the project announces a change.
//
// "Path..." opens a picture of the route's positions (PathPreviewWindow) that follows the route and
// the selected line; a generator route shows the route it generates into.
class Cgared : public QWidget {
    Q_OBJECT
public:
    explicit Cgared(QWidget* parent = nullptr);
    ~Cgared() override;

    // The route's entry offset; runlist::kNoEntry once the editor is closed.
    int route() const;
    // The selected line, counted from 1; 0 for none.
    int SelectedLine() const;
    QPushButton* button(EditorButton which) const { return m_buttons.at(which); }
    QPushButton* pathButton() const { return m_pathButton; }
    QTableWidget* list() const { return m_list; }
    PathPreviewWindow* preview() const { return m_preview; }

    // The editor became the active window: its route becomes the one the teach pad learns into.
    void Activate();
    // Re-reads every button's rule, and runs a rebuild that waited for the controller to be idle.
    void RefreshButtons();
    // Opens (or raises) the path preview.
    void ShowPath();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // What a rebuild selects: a line (0 for none), or the line selected now.
    static constexpr int kKeepSelection = -1;

    QPushButton* AddButton(EditorButton which, const char* label, const char* objectName);
    void Press(EditorButton which);
    int Run(EditorButton which, int r, int s);
    // Rebuilds at the next pass of the event loop, once the controller is idle: the list's cells may
    // ask the controller for the names of words.
    void RequestRebuild(int select);
    void RunPendingRebuild();
    void Rebuild(int select);
    // The title "Route " + name, on the frame too, and the last button's label.
    void ShowTitle();
    void TitleFrame();
    void FillList();
    void SelectLine(int line);
    // The route the preview draws: the editor's own, or a generator route's target.
    int PreviewRoute() const;
    void UpdatePreview();
    void CloseWindow();

    Cgaredoc* m_doc;
    QTableWidget* m_list;
    std::map<EditorButton, QPushButton*> m_buttons;
    QPushButton* m_pathButton;
    QPointer<PathPreviewWindow> m_preview;
    bool m_rebuildDue = false;
    bool m_rebuildQueued = false;
    int m_rebuildSelect = kKeepSelection;
    bool m_activationDue = false;
    bool m_running = false; // a button's action is under way
};
