#include "core/project/PlacesRoutesExport.h"

#include "core/base/UiSeam.h"
#include "core/project/CPosDat.h"
#include "core/project/PlacesActions.h"
#include "core/project/ProjectModel.h"
#include "core/project/RouteEditorActions.h"
#include "core/protocol/ArmProfile.h"
#include "core/protocol/Protocol.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>

#include <algorithm>
#include <vector>

namespace {

using Row = std::vector<std::string>;

constexpr int kLeadingFields = 4; // name, kind, line, what the values are
constexpr int kContourValues = 3; // a contour line's function and its two parameters

std::string Join(Row row, size_t width) {
    row.resize(std::max(row.size(), width));
    std::string line;
    for (size_t i = 0; i < row.size(); ++i) {
        if (i > 0)
            line += ',';
        line += CsvField(row[i]);
    }
    return line + "\r\n";
}

// The cells of route line n after its number (and a grid's row and column). A function line whose
// word is not known yet would make the route editor ask the controller; with the link not ready its
// address is written instead of asking.
Row RouteLineValues(int r, int n) {
    const ProjectModel& m = projectModel();
    const PositionRecord line = m.Line(r, n);
    const bool function = !IsPositionCode(line.code) && !m.IsHidden(r);
    if (function && !LinkReady() && m.WordNameCache.count(line.code) == 0)
        return {std::to_string(line.code), std::to_string(static_cast<std::uint16_t>(line.values[0]))};
    const Row cells = RouteLineTexts(r, n);
    const bool gridCells = IsPositionCode(line.code) && m.GetRouteLayout(r) == RouteLayout::Grid;
    return Row(cells.begin() + (gridCells ? 3 : 1), cells.end());
}

std::string ValueKind(const ProjectModel& m, int r, const PositionRecord& line) {
    if (!IsPositionCode(line.code))
        return m.IsHidden(r) ? "Contour" : "Function";
    return std::string(IsCartesianCode(line.code) ? "Cartesian" : "Joint") +
           (IsRelativeCode(line.code) ? " relative" : "");
}

} // namespace

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string PlacesAndRoutesCsv() {
    const ProjectModel& m = projectModel();
    const int values = std::max({JointCount(), CartesianAxisCount(), kContourValues});
    const size_t width = static_cast<size_t>(kLeadingFields + values);
    Row header{"Name", "Kind", "Line", "Values"};
    for (int i = 1; i <= values; ++i)
        header.push_back("Value " + std::to_string(i));
    std::string text = Join(header, width);

    for (const PlaceLine& line : PlaceListLines()) {
        const Row cells = PlaceLineTexts(line);
        Row row{cells[1], line.approach ? "Approach" : "Place", "",
                PlaceLineRecord(line).IsCartesian() ? "Cartesian" : "Joint"};
        row.insert(row.end(), cells.begin() + 3, cells.end());
        text += Join(row, width);
    }
    for (int r = m.FirstRoute(); r != runlist::kNoEntry; r = m.NextRoute(r)) {
        for (int n = 1; n <= m.LineCount(r); ++n) {
            Row row{m.EntryName(r), "Route", std::to_string(n), ValueKind(m, r, m.Line(r, n))};
            const Row cells = RouteLineValues(r, n);
            row.insert(row.end(), cells.begin(), cells.end());
            text += Join(row, width);
        }
    }
    // Names are kept one byte per character, as the controller has them.
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())).toUtf8().toStdString();
}

void ExportPlacesAndRoutes() {
    const QFileInfo project(QString::fromStdString(projectDocument().GetPathName()));
    const std::string start = project.dir().filePath(project.completeBaseName() + ".csv").toStdString();
    const std::string path =
        ui().AskSaveFileName("Export places and routes", "CSV files (*.csv)|*.csv||", "csv", start);
    if (path.empty())
        return;
    const std::string text = PlacesAndRoutesCsv();
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), static_cast<qint64>(text.size())) < 0 ||
        !file.commit())
        ui().ShowMessage(path + " could not be written");
}
