#pragma once

#include "core/project/ProjectModel.h"

#include <QDialog>

#include <string>

class QLabel;
class QLineEdit;
class QRadioButton;

// What the "New Route" dialog gathers. Rows and columns are 0 where the layout does not use them.
struct NewRouteValues {
    std::string name;
    bool cartesian = false;
    RouteLayout layout = RouteLayout::General;
    bool relative = false;
    int reserve = 0;
    int columns = 0; // row and grid routes
    int rows = 0;    // grid routes
};

// "New Route": the name, the coordinates, the layout (General, Row, Grid), absolute or relative, and
// the number of lines to reserve. "Columns" shows for Row and Grid, "Rows" for Grid only. "OK" takes
// the name, then the column and row counts (2 to 255), then the reserve, which must lie between the
// lowest and the highest allowed counts; the lowest is raised to the lines the layout needs. A field
// that fails keeps the dialog open with the focus on it.
class Carred : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMinShapeCount = 2;
    static constexpr int kMaxShapeCount = 255;

    Carred(const NewRouteValues& initial, int lowestReserve, int highestReserve, QWidget* parent = nullptr);

    const NewRouteValues& values() const { return m_values; }

    void accept() override;

private:
    RouteLayout ChosenLayout() const;
    void ShowShapeFields();
    // The column and row counts of the chosen layout into `taken`, and the lines they need.
    bool TakeShape(NewRouteValues& taken, int& needed);

    QLineEdit* m_name;
    QRadioButton* m_joint;
    QRadioButton* m_cartesian;
    QRadioButton* m_general;
    QRadioButton* m_row;
    QRadioButton* m_grid;
    QRadioButton* m_absolute;
    QRadioButton* m_relative;
    QLineEdit* m_reserve;
    QLabel* m_columnsLabel;
    QLineEdit* m_columns;
    QLabel* m_rowsLabel;
    QLineEdit* m_rows;
    int m_lowest;
    int m_highest;
    NewRouteValues m_values;
};
