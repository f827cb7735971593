#include "core/project/ProjectService.h"

#include "core/base/CoreState.h"
#include "core/base/UiSeam.h"
#include "core/project/ProjectModel.h"
#include "core/protocol/Protocol.h"

namespace {

// Word addresses at or above this are not asked of the controller.
constexpr std::uint16_t kFirstUnnamedAddress = 0xA000;

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

ProjectService& projectService() {
    return coreState().Get<ProjectService>();
}

std::string ProjectService::WordName(std::uint16_t code) {
    ProjectModel& model = projectModel();
    const auto cached = model.WordNameCache.find(code);
    if (cached != model.WordNameCache.end())
        return cached->second;
    std::string name = "word";
    if (code < kFirstUnnamedAddress) {
        std::string answer;
        const bool ok = protocol().QueryCommand(std::to_string(code + 2) + " NAME", answer);
        // The controller prints the name followed by a space.
        name = ok ? Trimmed(answer) : "error";
    }
    model.WordNameCache[code] = name;
    return name;
}

int ProjectService::AllocateEntry(int paragraphs, const std::string& name) {
    ProjectModel& model = projectModel();
    if (paragraphs >= 1 && model.OutOfSpace(paragraphs)) {
        ui().ShowMessage("Insufficient space for run-list");
        return runlist::kNoEntry;
    }
    return model.AllocateEntry(paragraphs, name);
}

void ProjectService::ClearProject() {
    Announce(Closed);
    editors.CloseAllRouteEditors();
    projectModel().ClearProject();
}

void ProjectService::RefreshProjectViews() {
    Announce(Image | Names);
    editors.UpdateAllRouteEditors();
}

void ProjectService::SetActiveRoute(int route) {
    ProjectModel& model = projectModel();
    if (model.ActiveRoute == route)
        return;
    model.ActiveRoute = route;
    Announce(ActiveRoute);
}

void ProjectService::CloseAllRouteEditors() {
    editors.CloseAllRouteEditors();
    SetActiveRoute(runlist::kNoEntry);
}

void ProjectService::NotifyRouteEditor(int count) {
    const int route = projectModel().ActiveRoute;
    if (route != runlist::kNoEntry)
        editors.NotifyRouteEditor(route, count);
}
