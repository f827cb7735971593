#pragma once

#include "core/project/PlacesActions.h"

#include <QWidget>

#include <map>
#include <string>
#include <vector>

class QPushButton;
class QTableWidget;

// The places window: one line per place and one per approach, with the place's name, "C" or "J" and,
// in the wide layout ("Hide data"), the shown record's values under the axis or joint names. The
// buttons call the places actions of the core; the list is rebuilt when the project announces a
// change, and the buttons follow the controller's state at every refresh of the main window's commands.
class CPlcview : public QWidget {
    Q_OBJECT
public:
    // The wide layout when `showData`, with the data columns and "Edit Data".
    explicit CPlcview(bool showData, QWidget* parent = nullptr);

    // Fills the list from the project and selects line `select` (none when there is no such line).
    void RebuildList(int select);
    // Enables the buttons by the controller's state and the selection; with data shown, relabels the
    // data headers when the selected line is of the other kind (joint or Cartesian) than they show.
    void UpdateControls();

    QTableWidget* list() const { return m_list; }
    // nullptr for "Edit Data" in the narrow layout.
    QPushButton* button(PlacesButton which) const;
    bool showsData() const { return m_showData; }

signals:
    // "Show data" / "Hide data": the window is to be opened again in the other layout.
    void otherLayoutRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The project changed outside this window: the list is rebuilt, the selected line kept where its
    // place is still listed.
    void FollowProject();
    void Press(PlacesButton which);
    // The line to select after a command, or -1 when the command left the list alone.
    int RunCommand(PlacesButton which, const PlaceLine& line);
    int SelectedRow() const;
    void LabelDataColumns(bool cartesian);

    bool m_showData;
    QTableWidget* m_list;
    std::map<PlacesButton, QPushButton*> m_buttons;
    std::vector<PlaceLine> m_lines;
    std::vector<std::string> m_names; // the lines' place names as the list was built
    bool m_headersCartesian = true;
    bool m_running = false; // a command is running: it rebuilds the list itself afterwards
};
