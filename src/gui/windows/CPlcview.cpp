#include "gui/windows/CPlcview.h"

#include "core/project/PositionColumns.h"
#include "core/project/ProjectModel.h"
#include "core/project/ProjectService.h"
#include "core/protocol/ArmProfile.h"
#include "core/protocol/Protocol.h"
#include "gui/windows/FormButtons.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr int kFirstDataColumn = 3;
constexpr int kListHeight = 164;
constexpr int kNarrowListWidth = 116;
constexpr int kWideListWidth = 288;

QString Latin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// The changes that alter what the list shows.
constexpr ProjectService::Changes kListChanges =
    ProjectService::Image | ProjectService::Names | ProjectService::Opened | ProjectService::Closed;

} // namespace

CPlcview::CPlcview(bool showData, QWidget* parent) : QWidget(parent), m_showData(showData) {
    setObjectName("places");
    setWindowIcon(QIcon(":/icons/marlix.svg"));
    m_list = new QTableWidget(this);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setShowGrid(true);
    m_list->setWordWrap(false);
    // Rows as close as a list's lines: one line of text and a little room.
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 4);
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_list->horizontalHeader()->setHighlightSections(false);
    m_list->setFixedSize(
        formbuttons::DialogUnits(this, showData ? kWideListWidth : kNarrowListWidth, kListHeight));

    // The data columns are made for the larger of the two counts, so that either kind fits.
    const int dataColumns = showData ? std::max(JointCount(), CartesianAxisCount()) : 0;
    m_list->setColumnCount(kFirstDataColumn + dataColumns);
    m_list->setHorizontalHeaderLabels({"Approach", "Name", "mode"});
    if (showData)
        LabelDataColumns(true);

    using B = PlacesButton;
    QPushButton* editData = nullptr;
    QPushButton *close, *goTo, *setToHere, *addNew, *setApproach, *editName, *toggle, *remove;
    std::vector<std::pair<QPushButton**, const char*>> texts = {{&close, "Close"},
                                                                {&goTo, "Go To"},
                                                                {&setToHere, "Set to Here"},
                                                                {&addNew, "Add New"},
                                                                {&setApproach, "Set Apprch"},
                                                                {&editName, "Edit name"}};
    if (showData)
        texts.push_back({&editData, "Edit Data"});
    texts.push_back({&toggle, showData ? "Hide data" : "Show data"});
    texts.push_back({&remove, "Delete"});
    QVBoxLayout* column = formbuttons::ButtonColumn(this, texts);
    m_buttons = {{B::Close, close},
                 {B::GoTo, goTo},
                 {B::SetToHere, setToHere},
                 {B::AddNew, addNew},
                 {B::SetApproach, setApproach},
                 {B::EditName, editName},
                 {B::ShowData, toggle},
                 {B::Delete, remove}};
    if (editData)
        m_buttons[B::EditData] = editData;
    for (const auto& [which, button] : m_buttons)
        connect(button, &QPushButton::clicked, this, [this, which = which] { Press(which); });

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 0, Qt::AlignTop);
    layout->addLayout(column);

    connect(m_list, &QTableWidget::itemSelectionChanged, this, [this] { UpdateControls(); });
    connect(&projectService(), &ProjectService::Changed, this, [this](ProjectService::Changes what) {
        if (!m_running && (what & kListChanges))
            FollowProject();
    });
    RebuildList(0);
}

QPushButton* CPlcview::button(PlacesButton which) const {
    const auto it = m_buttons.find(which);
    return it == m_buttons.end() ? nullptr : it->second;
}

void CPlcview::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    UpdateControls();
}

int CPlcview::SelectedRow() const {
    const QList<QTableWidgetSelectionRange> ranges = m_list->selectedRanges();
    return ranges.isEmpty() ? -1 : ranges.first().topRow();
}

void CPlcview::FollowProject() {
    const int row = SelectedRow();
    if (row < 0) {
        RebuildList(0);
        return;
    }
    // The lines' entries may have moved: the selected one is found again by its name.
    const bool approach = m_lines[static_cast<size_t>(row)].approach;
    const std::string name = m_names[static_cast<size_t>(row)];
    const std::vector<PlaceLine> lines = PlaceListLines();
    const auto same = std::find_if(lines.begin(), lines.end(), [&](const PlaceLine& line) {
        return line.approach == approach && projectModel().EntryName(line.place) == name;
    });
    RebuildList(same == lines.end() ? 0 : static_cast<int>(same - lines.begin()));
}

void CPlcview::RebuildList(int select) {
    m_lines = PlaceListLines();
    m_names.clear();
    for (const PlaceLine& line : m_lines)
        m_names.push_back(projectModel().EntryName(line.place));
    const QSignalBlocker blocker(m_list);
    m_list->clearContents();
    m_list->setRowCount(static_cast<int>(m_lines.size()));
    for (int row = 0; row < m_list->rowCount(); ++row) {
        const std::vector<std::string> texts = PlaceLineTexts(m_lines[static_cast<size_t>(row)]);
        const int cells = std::min(static_cast<int>(texts.size()), m_list->columnCount());
        for (int column = 0; column < cells; ++column) {
            auto* item = new QTableWidgetItem(Latin1(texts[static_cast<size_t>(column)]));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_list->setItem(row, column, item);
        }
    }
    m_list->clearSelection();
    if (select >= 0 && select < m_list->rowCount()) {
        m_list->selectRow(select);
        m_list->scrollToItem(m_list->item(select, 0));
    }
    m_list->resizeColumnsToContents();
    UpdateControls();
}

void CPlcview::LabelDataColumns(bool cartesian) {
    const std::vector<std::string> names = PositionColumnNames(cartesian);
    for (int i = 0; i + kFirstDataColumn < m_list->columnCount(); ++i) {
        const QString name = i < static_cast<int>(names.size()) ? Latin1(names[static_cast<size_t>(i)]) : "";
        m_list->setHorizontalHeaderItem(kFirstDataColumn + i, new QTableWidgetItem(name));
    }
    m_headersCartesian = cartesian;
}

void CPlcview::UpdateControls() {
    const int row = SelectedRow();
    const bool ready = LinkReady();
    for (const auto& [which, button] : m_buttons)
        button->setEnabled(PlacesButtonEnabled(which, ready, row >= 0));
    if (!m_showData || row < 0)
        return;
    const QTableWidgetItem* mode = m_list->item(row, 2);
    const bool cartesian = mode && mode->text() == "C";
    if (cartesian != m_headersCartesian) {
        LabelDataColumns(cartesian);
        m_list->resizeColumnsToContents();
    }
}

void CPlcview::Press(PlacesButton which) {
    const int row = SelectedRow();
    if (!PlacesButtonEnabled(which, LinkReady(), row >= 0))
        return;
    switch (which) {
    case PlacesButton::Close:
        formbuttons::CloseForm(this);
        return;
    case PlacesButton::ShowData:
        emit otherLayoutRequested();
        return;
    default:
        break;
    }
    const PlaceLine line = row >= 0 ? m_lines[static_cast<size_t>(row)] : PlaceLine{};
    formbuttons::RunCommandOnce(this, m_running, [&] { return RunCommand(which, line); });
}

int CPlcview::RunCommand(PlacesButton which, const PlaceLine& line) {
    const int row = SelectedRow();
    switch (which) {
    case PlacesButton::GoTo:
        PlacesGoTo(line);
        return -1;
    case PlacesButton::SetToHere:
        PlacesSetToHere(line);
        return row;
    case PlacesButton::SetApproach:
        PlacesSetApproach(line.place);
        return row;
    case PlacesButton::AddNew: {
        // New places come last: the new position line takes the index the list's length had.
        const int before = static_cast<int>(m_lines.size());
        return PlacesAddNew() != runlist::kNoEntry ? before : row;
    }
    case PlacesButton::EditName:
        PlacesEditName(line.place);
        return row;
    case PlacesButton::EditData:
        PlacesEditData(line);
        return row;
    case PlacesButton::Delete:
        return PlacesDelete(line.place) ? 0 : row;
    default:
        return -1;
    }
}
