#include "gui/windows/Carred.h"

#include "gui/windows/DialogFields.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QRadioButton* Choice(const char* text, const char* objectName, bool checked) {
    auto* button = new QRadioButton(text);
    button->setObjectName(objectName);
    button->setChecked(checked);
    return button;
}

// A group of exclusive choices stacked in a box with `title`. An unlabelled box gets a blank title, so
// that its frame lines up with the labelled one beside it.
QGroupBox* ChoiceBox(const char* title, std::initializer_list<QRadioButton*> choices) {
    auto* box = new QGroupBox(*title ? title : " ");
    auto* layout = new QVBoxLayout(box);
    auto* group = new QButtonGroup(box);
    for (QRadioButton* choice : choices) {
        layout->addWidget(choice);
        group->addButton(choice);
    }
    return box;
}

// A field that keeps its place in the layout while hidden, so the dialog does not jump.
void KeepPlaceWhenHidden(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

QString CountText(int count) {
    return count > 0 ? QString::number(count) : QString();
}

} // namespace

Carred::Carred(const NewRouteValues& initial, int lowestReserve, int highestReserve, QWidget* parent)
    : QDialog(parent), m_lowest(lowestReserve), m_highest(highestReserve), m_values(initial) {
    using namespace dialogfields;
    setWindowTitle(QStringLiteral("New Route"));
    m_name = NameField(initial.name, this);
    m_joint = Choice("Joint", "joint", !initial.cartesian);
    m_cartesian = Choice("Cartesian", "cartesian", initial.cartesian);
    m_general = Choice("General", "general", initial.layout == RouteLayout::General);
    m_row = Choice("Row", "row", initial.layout == RouteLayout::Row);
    m_grid = Choice("Grid", "grid", initial.layout == RouteLayout::Grid);
    m_absolute = Choice("Absolute", "absolute", !initial.relative);
    m_relative = Choice("Relative", "relative", initial.relative);
    m_reserve = NewField("reserve", QString::number(initial.reserve), this);
    m_columnsLabel = new QLabel(QStringLiteral("Columns"), this);
    m_columnsLabel->setObjectName("columnsLabel");
    m_columns = NewField("columns", CountText(initial.columns), this);
    m_rowsLabel = new QLabel(QStringLiteral("Rows"), this);
    m_rowsLabel->setObjectName("rowsLabel");
    m_rows = NewField("rows", CountText(initial.rows), this);
    for (QWidget* w : {static_cast<QWidget*>(m_columnsLabel), static_cast<QWidget*>(m_columns),
                       static_cast<QWidget*>(m_rowsLabel), static_cast<QWidget*>(m_rows)})
        KeepPlaceWhenHidden(w);

    auto* name = new QFormLayout;
    name->addRow(QStringLiteral("Name:"), m_name);
    auto* choices = new QHBoxLayout;
    choices->addWidget(ChoiceBox("Coordinates", {m_joint, m_cartesian}));
    choices->addWidget(ChoiceBox("", {m_general, m_row, m_grid}));
    choices->addWidget(ChoiceBox("", {m_absolute, m_relative}));
    auto* counts = new QGridLayout;
    counts->addWidget(new QLabel(QStringLiteral("Reserve")), 0, 0);
    counts->addWidget(m_reserve, 0, 1);
    counts->addWidget(new QLabel(QStringLiteral("lines")), 0, 2);
    counts->addWidget(m_columnsLabel, 1, 0);
    counts->addWidget(m_columns, 1, 1);
    counts->addWidget(m_rowsLabel, 2, 0);
    counts->addWidget(m_rows, 2, 1);
    counts->setColumnStretch(3, 1);
    // The labels' column keeps its width whichever of them are shown.
    QLabel* reserveLabel = qobject_cast<QLabel*>(counts->itemAtPosition(0, 0)->widget());
    const int labelWidth = std::max({reserveLabel->sizeHint().width(), m_columnsLabel->sizeHint().width(),
                                     m_rowsLabel->sizeHint().width()});
    counts->setColumnMinimumWidth(0, labelWidth);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(name);
    layout->addLayout(choices);
    layout->addLayout(counts);
    layout->addWidget(OkCancel(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    for (QRadioButton* kind : {m_general, m_row, m_grid})
        connect(kind, &QRadioButton::toggled, this, &Carred::ShowShapeFields);
    ShowShapeFields();
    m_name->setFocus();
}

RouteLayout Carred::ChosenLayout() const {
    if (m_grid->isChecked())
        return RouteLayout::Grid;
    return m_row->isChecked() ? RouteLayout::Row : RouteLayout::General;
}

void Carred::ShowShapeFields() {
    const RouteLayout layout = ChosenLayout();
    const bool columns = layout != RouteLayout::General;
    const bool rows = layout == RouteLayout::Grid;
    m_columnsLabel->setVisible(columns);
    m_columns->setVisible(columns);
    m_rowsLabel->setVisible(rows);
    m_rows->setVisible(rows);
}

bool Carred::TakeShape(NewRouteValues& taken, int& needed) {
    using dialogfields::TakeInteger;
    taken.columns = 0;
    taken.rows = 0;
    needed = 0;
    if (taken.layout == RouteLayout::General)
        return true;
    if (!TakeInteger(m_columns, kMinShapeCount, kMaxShapeCount, taken.columns))
        return false;
    if (taken.layout == RouteLayout::Grid && !TakeInteger(m_rows, kMinShapeCount, kMaxShapeCount, taken.rows))
        return false;
    needed = taken.layout == RouteLayout::Grid ? taken.rows * taken.columns : taken.columns;
    return true;
}

void Carred::accept() {
    NewRouteValues taken;
    taken.layout = ChosenLayout();
    taken.cartesian = m_cartesian->isChecked();
    taken.relative = m_relative->isChecked();
    int needed = 0;
    if (!dialogfields::TakeEntryName(m_name, std::string(), taken.name) || !TakeShape(taken, needed))
        return;
    // A row or grid fills all its lines at once: the route must hold at least that many.
    const int lowest = std::max(m_lowest, needed);
    if (lowest > m_highest) {
        QLineEdit* shape = taken.layout == RouteLayout::Grid ? m_rows : m_columns;
        dialogfields::Refuse(shape, "This route needs " + std::to_string(needed) + " lines; no more than " +
                                        std::to_string(m_highest) + " can be reserved.");
        return;
    }
    if (!dialogfields::TakeInteger(m_reserve, lowest, m_highest, taken.reserve))
        return;
    m_values = taken;
    QDialog::accept();
}
