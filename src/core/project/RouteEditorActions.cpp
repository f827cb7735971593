#include "core/project/RouteEditorActions.h"

#include "core/base/UiSeam.h"
#include "core/project/CPosDat.h"
#include "core/project/ContourLine.h"
#include "core/project/PositionColumns.h"
#include "core/project/ProjectEditing.h"
#include "core/project/ProjectService.h"
#include "core/project/RouteFilling.h"
#include "core/project/RouteLines.h"
#include "core/protocol/Protocol.h"
#include "core/protocol/RobotExchange.h"

#include <cstdio>

using namespace runlist;

namespace {

ProjectModel& Model() {
    return projectModel();
}

std::string LineName(int r, int s) {
    return Model().EntryName(r) + " " + std::to_string(s);
}

bool IsRelativeLine(std::uint16_t code) {
    return IsPositionCode(code) && IsRelativeCode(code);
}

// The line an insertion goes to: the selected one, or 1 when nothing is selected (an empty route).
int InsertionLine(int s) {
    return s > 0 ? s : 1;
}

int InsertPositionAt(int r, int k, int s) {
    return InsertLearnedLine(r, k) ? k : s;
}

int InsertFunctionAt(int r, int k, int s) {
    const bool inserted = Model().IsHidden(r) ? InsertContourLine(r, k) : InsertFunctionLine(r, k);
    return inserted ? k : s;
}

// "%2d": the line number right-aligned in two characters.
std::string LineNumberText(int n) {
    char text[16];
    std::snprintf(text, sizeof text, "%2d", n);
    return text;
}

} // namespace

RouteFacts RouteFactsOf(int r, int s, bool ready) {
    const ProjectModel& m = Model();
    RouteFacts facts;
    facts.ready = ready;
    facts.selected = s;
    facts.count = m.LineCount(r);
    facts.full = m.RouteIsFull(r);
    facts.layout = m.GetRouteLayout(r);
    if (s > 0 && s <= facts.count)
        facts.selectedCode = m.Line(r, s).code;
    return facts;
}

bool EditorButtonEnabled(EditorButton button, const RouteFacts& f) {
    const bool line = f.ready && f.selected > 0;
    const bool general = f.layout == RouteLayout::General;
    const bool canInsert = f.ready && !f.full && general;
    switch (button) {
    case EditorButton::Close:
        return true;
    case EditorButton::GoTo:
    case EditorButton::GoNear:
    case EditorButton::EditLine:
        return line;
    case EditorButton::SetToHere:
        return line && f.selectedCode < poscode::kContourBase;
    case EditorButton::InsertPosition:
    case EditorButton::InsertFunction:
        return canInsert && (f.selected > 0 || f.count == 0);
    case EditorButton::AppendPosition:
    case EditorButton::AppendFunction:
        return canInsert;
    case EditorButton::Delete:
        return line && (general || IsRelativeLine(f.selectedCode));
    case EditorButton::SetApproach:
        return f.ready && !f.full;
    case EditorButton::Interpolate:
        return line && !general;
    case EditorButton::InterpolateCorners:
        return line && f.layout == RouteLayout::Grid;
    case EditorButton::AddToAll:
    case EditorButton::Run:
        return f.ready;
    }
    return false;
}

void ActivateRouteEditor(int r) {
    if (Model().ActiveRoute == r)
        return;
    projectService().SetActiveRoute(r);
    protocol().SendString(Model().EntryName(r) + "\r");
}

int EditorGoTo(int r, int s) {
    protocol().SendCommand(LineName(r, s) + " GOTO");
    return s;
}

int EditorGoNear(int r, int s) {
    protocol().SendCommand(LineName(r, s) + " NEAR");
    return s;
}

int EditorSetToHere(int r, int s) {
    ProjectModel& m = Model();
    PositionRecord line = m.Line(r, s);
    if (!IsPositionCode(line.code) || IsRelativeCode(line.code))
        return s;
    ReadPosition(line);
    m.SetRecord(m.LineOffset(r, s), line);
    protocol().SendCommand(LineName(r, s) + " REPLACE");
    ProjectEdited(ProjectService::Image);
    return s;
}

int EditorInsertPosition(int r, int s) {
    return InsertPositionAt(r, InsertionLine(s), s);
}

int EditorAppendPosition(int r) {
    return InsertPositionAt(r, Model().LineCount(r) + 1, 0);
}

int EditorInsertFunction(int r, int s) {
    return InsertFunctionAt(r, InsertionLine(s), s);
}

int EditorAppendFunction(int r) {
    return InsertFunctionAt(r, Model().LineCount(r) + 1, 0);
}

int EditorDelete(int r, int s) {
    if (ui().AskYesNo("Do you wish to delete index " + std::to_string(s)) != Answer::Yes)
        return s;
    return DeleteLine(r, s) ? s - 1 : s;
}

int EditorEditLine(int r, int s) {
    ProjectModel& m = Model();
    PositionRecord line = m.Line(r, s);
    if (!IsPositionCode(line.code)) {
        if (m.IsHidden(r))
            EditContourLine(r, s);
        else
            EditFunctionLine(r, s);
        return s;
    }
    if (!EditRecord(line))
        return s;
    m.SetRecord(m.LineOffset(r, s), line);
    SendLineValues(r, line, s);
    ProjectEdited(ProjectService::Image);
    return s;
}

int EditorAddToAll(int r, int s) {
    PositionRecord offset;
    ClearRecord(offset, static_cast<std::uint16_t>(Model().RouteMode(r) * 2));
    if (!EditRecord(offset))
        return s;
    AddToAllLines(r, offset);
    projectDocument().DownloadData();
    return s;
}

int EditorSetApproach(int r) {
    AppendApproachLine(r);
    return 0;
}

int EditorInterpolate(int r) {
    if (InterpolateGrid(r))
        projectDocument().DownloadData();
    return 0;
}

int EditorInterpolateCorners(int r) {
    if (InterpolateCorners(r))
        projectDocument().DownloadData();
    return 0;
}

int EditorRun(int r, int s) {
    if (Model().IsHidden(r))
        GenerateRoute(r);
    else
        protocol().SendCommand(Model().EntryName(r) + " RUN");
    return s;
}

std::string RouteEditorTitle(int r) {
    return "Route " + Model().EntryName(r);
}

std::string RunButtonLabel(int r) {
    return Model().IsHidden(r) ? "Generate" : "Run";
}

std::vector<std::string> RouteEditorColumnNames(int r) {
    std::vector<std::string> names{"Line"};
    if (Model().GetRouteLayout(r) == RouteLayout::Grid) {
        names.push_back("row");
        names.push_back("col");
    }
    for (const std::string& name : PositionColumnNames(Model().RouteMode(r) != 0))
        names.push_back(name);
    return names;
}

std::vector<std::string> RouteLineTexts(int r, int n) {
    const ProjectModel& m = Model();
    const PositionRecord line = m.Line(r, n);
    std::vector<std::string> cells{LineNumberText(n)};
    if (!IsPositionCode(line.code)) {
        if (m.IsHidden(r)) {
            for (const std::string& text : ContourColumnTexts(line))
                cells.push_back(text);
        } else {
            cells.push_back(WordName(line));
            cells.push_back(std::to_string(static_cast<std::uint16_t>(line.values[0])));
        }
        return cells;
    }
    if (IsRelativeCode(line.code))
        cells[0] += " R";
    if (m.GetRouteLayout(r) == RouteLayout::Grid) {
        const int rows = m.RouteRows(r), columns = m.RouteColumns(r);
        if (n == 1 || n == columns || n == rows * columns)
            cells[0] += " *";
        if (n == (rows - 1) * columns + 1)
            cells[0] += " i4";
        const bool inGrid = columns > 0 && n <= rows * columns;
        cells.push_back(inGrid ? std::to_string((n - 1) / columns + 1) : std::string());
        cells.push_back(inGrid ? std::to_string((n - 1) % columns + 1) : std::string());
    }
    for (const std::string& value : PositionValueTexts(line))
        cells.push_back(value);
    return cells;
}
