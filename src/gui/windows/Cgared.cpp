#include "gui/windows/Cgared.h"

#include "core/project/ProjectModel.h"
#include "core/project/ProjectService.h"
#include "core/protocol/Protocol.h"
#include "gui/windows/Cgaredoc.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

using namespace runlist;

namespace {

// The list's size in the form's dialog units: a unit is a quarter of the average character's width
// across and an eighth of the line's height up.
constexpr int kListWidthUnits = 248;
constexpr int kListHeightUnits = 188;
constexpr int kColumnPadding = 6;

// Waiting for a reply (an exchange of this or another window is under way). A link that is not open
// answers at once, so it does not count.
bool LinkBusy() {
    const int state = protocol().ReplyState;
    return state != reply::kIdle && state != reply::kNotOpen;
}

bool IsRoute(int e) {
    return e != kNoEntry && projectModel().EntryKind(e) == kRoute;
}

std::vector<PositionRecord> RouteLines(int r) {
    const ProjectModel& m = projectModel();
    std::vector<PositionRecord> lines;
    for (int n = 1; n <= m.LineCount(r); ++n)
        lines.push_back(m.Line(r, n));
    return lines;
}

QTableWidgetItem* Cell(const std::string& text) {
    auto* item = new QTableWidgetItem(QString::fromStdString(text));
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

} // namespace

Cgared::Cgared(QWidget* parent)
    : QWidget(parent), m_doc(new Cgaredoc(projectService().editors.PendingEditorRoute, this)),
      m_list(new QTableWidget(this)) {
    m_list->setObjectName("lines");
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setShowGrid(true);
    m_list->setWordWrap(false);
    m_list->verticalHeader()->hide();
    // Rows as high as a line of text, as in a list view, rather than a table's roomy cells.
    m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 4);
    m_list->horizontalHeader()->setHighlightSections(false);
    m_list->horizontalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const QFontMetrics metrics = m_list->fontMetrics();
    m_list->setFixedSize(kListWidthUnits * metrics.averageCharWidth() / 4,
                         kListHeightUnits * metrics.height() / 8);

    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(2);
    const struct {
        EditorButton which;
        const char* label;
        const char* objectName;
    } kButtons[] = {
        {EditorButton::Close, "Close", "close"},
        {EditorButton::GoTo, "GoTo/Exec", "goTo"},
        {EditorButton::GoNear, "Go near", "goNear"},
        {EditorButton::SetToHere, "Set to Here", "setToHere"},
        {EditorButton::InsertPosition, "Insert Position", "insertPosition"},
        {EditorButton::InsertFunction, "Insert Function", "insertFunction"},
        {EditorButton::AppendPosition, "Append Position", "appendPosition"},
        {EditorButton::AppendFunction, "Append Function", "appendFunction"},
        {EditorButton::Delete, "Delete", "delete"},
        {EditorButton::EditLine, "Edit line", "editLine"},
        {EditorButton::AddToAll, "Add to All", "addToAll"},
        {EditorButton::SetApproach, "Set Apprch", "setApproach"},
        {EditorButton::Interpolate, "Interpolate", "interpolate"},
        {EditorButton::InterpolateCorners, "Interp. 4Pt.", "interpolateCorners"},
        {EditorButton::Run, "Run", "run"},
    };
    for (const auto& b : kButtons)
        buttons->addWidget(AddButton(b.which, b.label, b.objectName));
    buttons->addSpacing(8);
    m_pathButton = new QPushButton(QStringLiteral("Path..."), this);
    m_pathButton->setObjectName("path");
    m_pathButton->setToolTip(QStringLiteral("Show the route's positions"));
    connect(m_pathButton, &QPushButton::clicked, this, &Cgared::ShowPath);
    buttons->addWidget(m_pathButton);
    buttons->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 0, Qt::AlignTop);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_list, &QTableWidget::itemSelectionChanged, this, [this] {
        RefreshButtons();
        if (m_preview && PreviewRoute() == route())
            m_preview->SetSelectedLine(SelectedLine());
    });
    connect(m_doc, &Cgaredoc::raiseRequested, this, [this] {
        if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
            if (QMdiArea* area = frame->mdiArea())
                area->setActiveSubWindow(frame);
    });
    connect(m_doc, &Cgaredoc::closeRequested, this, &Cgared::CloseWindow);
    connect(m_doc, &Cgaredoc::updated, this, [this] { RequestRebuild(0); });
    connect(m_doc, &Cgaredoc::lineCountChanged, this, [this](int count) { RequestRebuild(count); });
    connect(&projectService(), &ProjectService::Changed, this, [this](ProjectService::Changes what) {
        if (what & (ProjectService::Image | ProjectService::Names))
            RequestRebuild(kKeepSelection);
    });
    ShowTitle();
    if (LinkBusy())
        RequestRebuild(1);
    else
        Rebuild(1);
}

Cgared::~Cgared() = default;

QPushButton* Cgared::AddButton(EditorButton which, const char* label, const char* objectName) {
    auto* button = new QPushButton(QString::fromLatin1(label), this);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, which] { Press(which); });
    m_buttons[which] = button;
    return button;
}

int Cgared::route() const {
    return m_doc->route();
}

int Cgared::SelectedLine() const {
    const QModelIndexList rows = m_list->selectionModel()->selectedRows();
    return rows.isEmpty() ? 0 : rows.first().row() + 1;
}

void Cgared::Activate() {
    if (!IsRoute(route()))
        return;
    // Naming the route sends a line without waiting: never in the middle of another exchange.
    if (LinkBusy()) {
        m_activationDue = true;
        return;
    }
    m_activationDue = false;
    ActivateRouteEditor(route());
}

void Cgared::RefreshButtons() {
    if (m_activationDue && !LinkBusy()) {
        auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
        const bool stillActive = !frame || !frame->mdiArea() || frame->mdiArea()->activeSubWindow() == frame;
        m_activationDue = false;
        if (stillActive)
            Activate();
    }
    if (m_rebuildDue && !m_rebuildQueued)
        RunPendingRebuild();
    const int r = route();
    const bool open = IsRoute(r);
    const RouteFacts facts = open ? RouteFactsOf(r, SelectedLine(), LinkReady()) : RouteFacts{};
    for (const auto& [which, button] : m_buttons)
        button->setEnabled(which == EditorButton::Close ||
                           (open && !m_running && EditorButtonEnabled(which, facts)));
    m_pathButton->setEnabled(IsRoute(PreviewRoute()));
}

void Cgared::Press(EditorButton which) {
    const int r = route();
    const int s = SelectedLine();
    if (which == EditorButton::Close) {
        CloseWindow();
        return;
    }
    if (m_running || !IsRoute(r) || !EditorButtonEnabled(which, RouteFactsOf(r, s, LinkReady())))
        return;
    QPointer<Cgared> self(this);
    m_running = true;
    const int select = Run(which, r, s);
    if (!self)
        return;
    m_running = false;
    if (!m_doc->IsOpen())
        return;
    if (LinkBusy()) {
        RequestRebuild(select);
    } else {
        m_rebuildDue = false;
        Rebuild(select);
    }
}

int Cgared::Run(EditorButton which, int r, int s) {
    switch (which) {
    case EditorButton::Close:
        return s;
    case EditorButton::GoTo:
        return EditorGoTo(r, s);
    case EditorButton::GoNear:
        return EditorGoNear(r, s);
    case EditorButton::SetToHere:
        return EditorSetToHere(r, s);
    case EditorButton::InsertPosition:
        return EditorInsertPosition(r, s);
    case EditorButton::InsertFunction:
        return EditorInsertFunction(r, s);
    case EditorButton::AppendPosition:
        return EditorAppendPosition(r);
    case EditorButton::AppendFunction:
        return EditorAppendFunction(r);
    case EditorButton::Delete:
        return EditorDelete(r, s);
    case EditorButton::EditLine:
        return EditorEditLine(r, s);
    case EditorButton::AddToAll:
        return EditorAddToAll(r, s);
    case EditorButton::SetApproach:
        return EditorSetApproach(r);
    case EditorButton::Interpolate:
        return EditorInterpolate(r);
    case EditorButton::InterpolateCorners:
        return EditorInterpolateCorners(r);
    case EditorButton::Run:
        return EditorRun(r, s);
    }
    return s;
}

void Cgared::RequestRebuild(int select) {
    if (!m_doc->IsOpen())
        return;
    // A line asked for explicitly is not undone by a later "keep what is selected".
    if (!m_rebuildDue || select != kKeepSelection)
        m_rebuildSelect = select;
    m_rebuildDue = true;
    if (m_rebuildQueued)
        return;
    m_rebuildQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_rebuildQueued = false;
        RunPendingRebuild();
    });
}

void Cgared::RunPendingRebuild() {
    // During the editor's own action, or while the controller is busy, the rebuild waits: the action
    // rebuilds when it ends, the reply's refresh (RefreshButtons) when the controller is idle again.
    if (!m_rebuildDue || m_running || LinkBusy())
        return;
    m_rebuildDue = false;
    Rebuild(m_rebuildSelect);
}

void Cgared::Rebuild(int select) {
    if (select == kKeepSelection)
        select = SelectedLine();
    ShowTitle();
    FillList();
    SelectLine(select);
    RefreshButtons();
    UpdatePreview();
}

void Cgared::ShowTitle() {
    const int r = route();
    if (!IsRoute(r))
        return;
    setWindowTitle(QString::fromStdString(RouteEditorTitle(r)));
    TitleFrame();
    button(EditorButton::Run)->setText(QString::fromStdString(RunButtonLabel(r)));
}

void Cgared::TitleFrame() {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        frame->setWindowTitle(windowTitle());
        frame->setWindowIcon(QIcon(QStringLiteral(":/icons/smooth.svg")));
    }
}

void Cgared::showEvent(QShowEvent* event) {
    // The frame is made around the editor after it: the title reaches it when it is first shown.
    TitleFrame();
    QWidget::showEvent(event);
}

void Cgared::FillList() {
    const QSignalBlocker quiet(m_list);
    m_list->clear();
    const int r = route();
    if (!IsRoute(r)) {
        m_list->setRowCount(0);
        return;
    }
    const std::vector<std::string> headers = RouteEditorColumnNames(r);
    const int count = projectModel().LineCount(r);
    std::vector<std::vector<std::string>> rows;
    size_t columns = headers.size();
    for (int n = 1; n <= count; ++n) {
        rows.push_back(RouteLineTexts(r, n));
        columns = std::max(columns, rows.back().size());
    }
    m_list->setColumnCount(static_cast<int>(columns));
    m_list->setRowCount(count);
    QStringList labels;
    for (const std::string& header : headers)
        labels << QString::fromStdString(header);
    m_list->setHorizontalHeaderLabels(labels);
    for (int row = 0; row < count; ++row)
        for (size_t column = 0; column < rows[row].size(); ++column)
            m_list->setItem(row, static_cast<int>(column), Cell(rows[row][column]));
    m_list->resizeColumnsToContents();
    // A little room between the right-aligned numbers of neighbouring columns.
    for (int column = 0; column < m_list->columnCount(); ++column)
        m_list->setColumnWidth(column, m_list->columnWidth(column) + kColumnPadding);
}

void Cgared::SelectLine(int line) {
    {
        const QSignalBlocker quiet(m_list);
        m_list->clearSelection();
        if (line >= 1 && line <= m_list->rowCount()) {
            m_list->setCurrentCell(line - 1, 0);
            m_list->selectRow(line - 1);
            m_list->scrollToItem(m_list->item(line - 1, 0));
        }
    }
    if (m_preview && PreviewRoute() == route())
        m_preview->SetSelectedLine(SelectedLine());
}

int Cgared::PreviewRoute() const {
    const int r = route();
    if (!IsRoute(r) || !projectModel().IsHidden(r))
        return r;
    const int target = projectModel().FindEntry(projectModel().EntryName(r).substr(1));
    return IsRoute(target) ? target : kNoEntry;
}

void Cgared::ShowPath() {
    if (!IsRoute(PreviewRoute()))
        return;
    if (!m_preview)
        m_preview = new PathPreviewWindow(this);
    UpdatePreview();
    m_preview->show();
    m_preview->raise();
    m_preview->activateWindow();
}

void Cgared::UpdatePreview() {
    if (!m_preview)
        return;
    const int p = PreviewRoute();
    if (!IsRoute(p)) {
        m_preview->close();
        return;
    }
    const ProjectModel& m = projectModel();
    m_preview->SetRoute(m.EntryName(p), RouteLines(p), m.RouteMode(p) != 0);
    // A generator's target has no line selected in this editor.
    m_preview->SetSelectedLine(p == route() ? SelectedLine() : 0);
}

void Cgared::CloseWindow() {
    if (m_preview)
        m_preview->close();
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->close();
    else
        close();
}
