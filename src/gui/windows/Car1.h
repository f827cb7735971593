#pragma once

#include "core/project/RoutesActions.h"

#include <QWidget>

#include <map>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

// The routes window: one summary line per route (name, coordinates, layout, reference, reserved and
// used lines) under a fixed header, and the buttons that create, copy, resize, rename, delete and open
// routes. The buttons gather their dialogs' values and call the routes actions of the core; the list is
// rebuilt when the project announces a change, and the buttons follow the controller's state at every
// refresh of the main window's commands.
class Car1 : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kHeader = "Name   Coords  Type A/R   Res  Lines";

    explicit Car1(QWidget* parent = nullptr);

    // Fills the list from the project and selects line `select` (none when there is no such line).
    void RebuildList(int select);
    void UpdateControls();

    QListWidget* list() const { return m_list; }
    QPushButton* button(RoutesButton which) const { return m_buttons.at(which); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The project changed outside this window: the list is rebuilt, the selected route kept when it is
    // still listed.
    void FollowProject();
    void Press(RoutesButton which);
    // The line to select after a command, or -1 when the command left the list alone.
    int RunCommand(RoutesButton which, int route);
    int NewRoute();
    int NewGenerator();
    int AdjustSize(int route);
    int SelectedRow() const;
    int LastRow() const;

    QListWidget* m_list;
    std::map<RoutesButton, QPushButton*> m_buttons;
    std::vector<int> m_routes;
    std::vector<std::string> m_names; // the routes' names as the list was built
    bool m_running = false;           // a command is running: it rebuilds the list itself afterwards
};
