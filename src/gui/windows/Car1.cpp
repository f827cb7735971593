#include "gui/windows/Car1.h"

#include "core/project/ProjectModel.h"
#include "core/project/ProjectService.h"
#include "core/protocol/Protocol.h"
#include "gui/windows/CNewGen.h"
#include "gui/windows/Carlines.h"
#include "gui/windows/Carred.h"
#include "gui/windows/FormButtons.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kListWidth = 150;
constexpr int kListHeight = 105;
// The summary line's width in characters, and a little more for the list's frame and scroll bar.
constexpr int kSummaryChars = 35;
constexpr int kSummaryMargin = 4;

constexpr ProjectService::Changes kListChanges =
    ProjectService::Image | ProjectService::Names | ProjectService::Opened | ProjectService::Closed;

} // namespace

Car1::Car1(QWidget* parent) : QWidget(parent) {
    setObjectName("routes");
    setWindowIcon(QIcon(":/icons/marlix.svg"));
    // The summary lines are columns of fixed width: the header and the list share a fixed-pitch font.
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    auto* header = new QLabel(QString::fromLatin1(kHeader), this);
    header->setFont(fixed);
    m_list = new QListWidget(this);
    m_list->setFont(fixed);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    const QFontMetrics metrics(fixed);
    // The header's fields stand one character left of the summary's: it is indented by one.
    header->setIndent(metrics.horizontalAdvance(' ') + m_list->frameWidth() + 2);
    const QSize box = formbuttons::DialogUnits(this, kListWidth, kListHeight);
    m_list->setFixedSize(
        std::max(box.width(), metrics.horizontalAdvance(QString(kSummaryChars + kSummaryMargin, 'M'))),
        box.height());

    using B = RoutesButton;
    QPushButton *close, *open, *newRoute, *newGenerator, *copy, *remove, *adjust, *editName;
    QVBoxLayout* column = formbuttons::ButtonColumn(this, {{&close, "Close"},
                                                           {&open, "Open route"},
                                                           {&newRoute, "New"},
                                                           {&newGenerator, "New generator"},
                                                           {&copy, "Copy"},
                                                           {&remove, "Delete"},
                                                           {&adjust, "Adjust Size"},
                                                           {&editName, "Edit Name"}});
    m_buttons = {
        {B::Close, close}, {B::OpenRoute, open}, {B::New, newRoute},      {B::NewGenerator, newGenerator},
        {B::Copy, copy},   {B::Delete, remove},  {B::AdjustSize, adjust}, {B::EditName, editName}};
    for (const auto& [which, button] : m_buttons)
        connect(button, &QPushButton::clicked, this, [this, which = which] { Press(which); });
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { Press(RoutesButton::OpenRoute); });

    auto* left = new QVBoxLayout;
    left->addWidget(header);
    left->addWidget(m_list);
    left->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(column);

    connect(&projectService(), &ProjectService::Changed, this, [this](ProjectService::Changes what) {
        if (!m_running && (what & kListChanges))
            FollowProject();
    });
    RebuildList(0);
}

void Car1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    UpdateControls();
}

int Car1::SelectedRow() const {
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->row(selected.first());
}

int Car1::LastRow() const {
    return static_cast<int>(m_routes.size()) - 1;
}

void Car1::FollowProject() {
    // The routes may have moved: the selected one is found again by its name.
    const int row = SelectedRow();
    const std::string name = row >= 0 ? m_names[static_cast<size_t>(row)] : "";
    const std::vector<int> routes = RouteListEntries();
    const auto same = std::find_if(routes.begin(), routes.end(),
                                   [&](int route) { return projectModel().EntryName(route) == name; });
    RebuildList(row < 0 || same == routes.end() ? 0 : static_cast<int>(same - routes.begin()));
}

void Car1::RebuildList(int select) {
    m_routes = RouteListEntries();
    m_names.clear();
    m_list->clear();
    const ProjectModel& model = projectModel();
    for (const int route : m_routes) {
        m_names.push_back(model.EntryName(route));
        m_list->addItem(QString::fromLatin1(model.RouteSummary(route)));
    }
    if (select >= 0 && select < m_list->count()) {
        m_list->setCurrentRow(select);
        m_list->scrollToItem(m_list->item(select));
    }
    UpdateControls();
}

void Car1::UpdateControls() {
    const bool ready = LinkReady();
    for (const auto& [which, button] : m_buttons)
        button->setEnabled(RoutesButtonEnabled(which, ready));
}

void Car1::Press(RoutesButton which) {
    if (!RoutesButtonEnabled(which, LinkReady()))
        return;
    if (which == RoutesButton::Close) {
        formbuttons::CloseForm(this);
        return;
    }
    const int row = SelectedRow();
    const int route = row >= 0 ? m_routes[static_cast<size_t>(row)] : runlist::kNoEntry;
    const bool needsRoute = which != RoutesButton::New && which != RoutesButton::NewGenerator;
    if (needsRoute && route == runlist::kNoEntry)
        return;
    formbuttons::RunCommandOnce(this, m_running, [&] { return RunCommand(which, route); });
}

int Car1::RunCommand(RoutesButton which, int route) {
    const int row = SelectedRow();
    switch (which) {
    case RoutesButton::OpenRoute:
        RoutesOpen(route);
        return -1;
    case RoutesButton::New:
        return NewRoute();
    case RoutesButton::NewGenerator:
        return NewGenerator();
    case RoutesButton::Copy:
        return RoutesCopy(route) != runlist::kNoEntry ? static_cast<int>(m_routes.size()) : row;
    case RoutesButton::Delete:
        return RoutesDelete(route) ? 0 : row;
    case RoutesButton::AdjustSize:
        return AdjustSize(route);
    case RoutesButton::EditName:
        RoutesEditName(route);
        return row;
    default:
        return -1;
    }
}

// New routes come last: each command that adds one selects the line after the list's old last line.
int Car1::NewRoute() {
    if (!CheckFreeSpace(1))
        return -1;
    const NewRoutePresets presets = NewRoutePresetValues();
    NewRouteValues initial;
    initial.cartesian = presets.coordinates == 1;
    initial.reserve = presets.reserve;
    Carred dialog(initial, presets.lowest, presets.highest, this);
    if (dialog.exec() != QDialog::Accepted)
        return -1;
    const NewRouteValues& v = dialog.values();
    NewRouteRequest request;
    request.name = v.name;
    request.lines = v.reserve;
    request.mode = v.cartesian ? 1 : 0;
    request.relative = v.relative;
    request.rows = v.rows;
    request.columns = v.columns;
    return RoutesNew(request) != runlist::kNoEntry ? LastRow() + 1 : -1;
}

int Car1::NewGenerator() {
    if (!CheckFreeSpace(1))
        return -1;
    CNewGen dialog(NewGeneratorValues{}, this);
    if (dialog.exec() != QDialog::Accepted)
        return -1;
    const NewGeneratorValues& v = dialog.values();
    // The route and its generator come last, the generator after the route.
    const int before = static_cast<int>(m_routes.size());
    return RoutesNewGenerator(v.name, v.routeReserve, v.generatorReserve) != runlist::kNoEntry ? before + 1
                                                                                               : 0;
}

int Car1::AdjustSize(int route) {
    const ReserveRange range = AdjustSizeRange(route);
    Carlines dialog(projectModel().EntryName(route), range.value, range.lowest, range.highest, this);
    if (dialog.exec() != QDialog::Accepted)
        return -1;
    RoutesAdjustSize(route, dialog.reserve());
    return 0;
}
