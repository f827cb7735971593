#include "core/project/RouteFilling.h"

#include "core/base/UiSeam.h"
#include "core/project/CPosDat.h"
#include "core/project/ProjectEditing.h"
#include "core/project/ProjectModel.h"
#include "core/project/ProjectService.h"
#include "core/project/RouteGenerator.h"

#include <string>
#include <vector>

using namespace runlist;

namespace {

std::vector<LineValues> LinesAsDoubles(int r) {
    const ProjectModel& m = projectModel();
    std::vector<LineValues> lines;
    for (int n = 1; n <= m.LineCount(r); ++n)
        lines.push_back(LineAsDoubles(m.Line(r, n)));
    return lines;
}

bool WriteLines(int r, const std::vector<LineValues>& values) {
    if (values.empty())
        return false;
    for (size_t i = 0; i < values.size(); ++i) {
        ProjectModel& m = projectModel();
        PositionRecord line = m.Line(r, static_cast<int>(i) + 1);
        SetLineFromDoubles(line, values[i]);
        m.SetRecord(m.LineOffset(r, static_cast<int>(i) + 1), line);
    }
    ProjectEdited(ProjectService::Image);
    return true;
}

void ReportGeneration(const GeneratedRoute& result, const std::string& generator, const std::string& target) {
    if (result.incompleteFrameLine != 0)
        ui().ShowMessage("SDP without its three points on line " +
                         std::to_string(result.incompleteFrameLine) + " of " + generator +
                         ": the generation stopped there");
    if (result.StoppedAtCapacity())
        ui().ShowMessage("Route " + target + " stopped at the limit: " + std::to_string(result.lines.size()) +
                         " of " + std::to_string(result.wantedPoints) + " points fitted");
}

} // namespace

void SetLineFromDoubles(int r, int n, const LineValues& values) {
    ProjectModel& m = projectModel();
    PositionRecord line = m.Line(r, n);
    SetLineFromDoubles(line, values);
    m.SetRecord(m.LineOffset(r, n), line);
    ProjectEdited(ProjectService::Image);
}

bool InterpolateGrid(int r) {
    const ProjectModel& m = projectModel();
    return WriteLines(r, InterpolateGrid(LinesAsDoubles(r), m.RouteRows(r), m.RouteColumns(r)));
}

bool InterpolateCorners(int r) {
    const ProjectModel& m = projectModel();
    return WriteLines(r, InterpolateCorners(LinesAsDoubles(r), m.RouteRows(r), m.RouteColumns(r)));
}

void AddToAllLines(int r, const PositionRecord& offset) {
    ProjectModel& m = projectModel();
    for (int n = 1; n <= m.LineCount(r); ++n) {
        PositionRecord line = m.Line(r, n);
        if (line.code != poscode::kJoint && line.code != poscode::kCartesian)
            continue;
        AddRecord(line, offset);
        m.SetRecord(m.LineOffset(r, n), line);
    }
    ProjectEdited(ProjectService::Image);
}

bool GenerateRoute(int g) {
    ProjectModel& m = projectModel();
    const std::string generator = m.EntryName(g);
    const std::string targetName = generator.empty() ? std::string() : generator.substr(1);
    const int target = m.FindEntry(targetName);
    if (target == kNoEntry || m.EntryKind(target) != kRoute)
        return false;
    std::vector<PositionRecord> program;
    for (int n = 1; n <= m.LineCount(g); ++n)
        program.push_back(m.Line(g, n));
    const GeneratedRoute result = GenerateRoute(program, m.RouteCapacity(target));
    for (size_t i = 0; i < result.lines.size(); ++i)
        m.SetRecord(m.LineOffset(target, static_cast<int>(i) + 1), result.lines[i]);
    m.SetWord(target + kCount, static_cast<uint16_t>(result.lines.size()));
    ProjectEdited(ProjectService::Image);
    projectDocument().DownloadData();
    projectService().UpdateRouteEditor(target);
    ReportGeneration(result, generator, targetName);
    return true;
}
