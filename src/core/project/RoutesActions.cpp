#include "core/project/RoutesActions.h"

#include "core/base/UiSeam.h"
#include "core/project/ProjectEditing.h"
#include "core/project/ProjectModel.h"
#include "core/project/ProjectService.h"
#include "core/robot/CSettings.h"

#include <algorithm>

using namespace runlist;

namespace {

constexpr int kDefaultReserve = 20;

// The name of a new generator pair can be declared and is free for both routes.
bool GeneratorNameUsable(const std::string& name) {
    if (name.empty() || name.find_first_of(" \t") != std::string::npos) {
        ui().ShowMessage("Please enter a name");
        return false;
    }
    for (const std::string& taken : {name, "_" + name})
        if (projectModel().FindEntry(taken) != kNoEntry) {
            ui().ShowMessage(taken + " already exists");
            return false;
        }
    return true;
}

} // namespace

std::vector<int> RouteListEntries() {
    const ProjectModel& m = projectModel();
    std::vector<int> routes;
    for (int r = m.FirstRoute(); r != kNoEntry; r = m.NextRoute(r))
        routes.push_back(r);
    return routes;
}

bool CheckFreeSpace(int paragraphs) {
    if (projectModel().FreeParagraphs() >= paragraphs)
        return true;
    ui().ShowMessage("Insufficient space");
    return false;
}

NewRoutePresets NewRoutePresetValues() {
    NewRoutePresets presets;
    const int free = projectModel().FreeParagraphs();
    presets.coordinates = settings().NewRouteCoordinates();
    presets.reserve = std::min(free, kDefaultReserve);
    presets.highest = free;
    return presets;
}

int RoutesNew(const NewRouteRequest& request) {
    const int r =
        AddRoute(request.name, request.lines, request.mode, request.relative, request.rows, request.columns);
    if (r != kNoEntry)
        projectService().OpenRouteEditor(r);
    return r;
}

int RoutesNewGenerator(const std::string& name, int routeReserve, int generatorReserve) {
    if (!GeneratorNameUsable(name))
        return kNoEntry;
    if (AddRoute(name, routeReserve, 1, false, 0, 0) == kNoEntry)
        return kNoEntry;
    const int generator = AddRoute("_" + name, generatorReserve, 1, false, 0, 0);
    if (generator != kNoEntry)
        projectService().OpenRouteEditor(generator);
    return generator;
}

int RoutesCopy(int r) {
    if (projectModel().RouteCapacity(r) >= projectModel().FreeParagraphs()) {
        ui().ShowMessage("Insufficient space");
        return kNoEntry;
    }
    std::string name;
    if (!ui().AskName(name, "New route"))
        return kNoEntry;
    return CopyRoute(r, name);
}

bool RoutesDelete(int r) {
    if (ui().AskYesNo("Do you wish to delete route " + projectModel().EntryName(r)) != Answer::Yes)
        return false;
    projectService().CloseRouteEditor(r);
    DeleteEntry(r);
    return true;
}

ReserveRange AdjustSizeRange(int r) {
    const ProjectModel& m = projectModel();
    const int capacity = m.RouteCapacity(r);
    return {capacity, m.LineCount(r), m.FreeParagraphs() + capacity + 1};
}

bool RoutesAdjustSize(int r, int lines) {
    const ReserveRange range = AdjustSizeRange(r);
    if (lines < range.lowest || lines > range.highest)
        return false;
    return ResizeRoute(r, lines);
}

bool RoutesEditName(int r) {
    if (!RenameEntry(r))
        return false;
    projectService().UpdateRouteEditor(r);
    return true;
}

void RoutesOpen(int r) {
    projectService().OpenRouteEditor(r);
}

bool RoutesButtonEnabled(RoutesButton button, bool ready) {
    switch (button) {
    case RoutesButton::Close:
    case RoutesButton::OpenRoute:
    case RoutesButton::NewGenerator:
        return true;
    default:
        return ready;
    }
}
