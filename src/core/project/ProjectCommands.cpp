#include "core/project/ProjectCommands.h"

#include "core/base/AppHooks.h"
#include "core/base/CommandIds.h"
#include "core/base/CommandRegistry.h"
#include "core/base/UiSeam.h"
#include "core/project/CPosDat.h"
#include "core/project/PlacesRoutesExport.h"

#include <functional>
#include <utility>

namespace {

// Runs a command, then has the main window re-evaluate its commands and the project pane.
CommandRegistry::Action Refreshing(std::function<void()> command) {
    return [command = std::move(command)] {
        command();
        ui().KickIdle();
    };
}

void JoinApplication() {
    AppHooks& hooks = appHooks();
    hooks.LoadProjectName = [] { projectDocument().LoadRememberedName(); };
    hooks.MayCloseProject = [] { return projectDocument().SaveModified(); };
    hooks.RememberProjectName = [] {
        projectDocument().RememberFileName();
        projectDocument().DeleteContents();
    };
    hooks.ProjectTitle = [] { return projectDocument().GetTitle(); };
}

} // namespace

void BindProjectCommands(CommandRegistry& registry) {
    JoinApplication();
    registry.Bind(ID_PROJECT_NEW, Refreshing([] { projectDocument().NewFileDocument(); }));
    registry.Bind(ID_PROJECT_OPEN, Refreshing([] { projectDocument().OpenFileDocument(); }));
    registry.Bind(ID_PROJECT_CLOSE, Refreshing([] { projectDocument().CloseFileDocument(); }));
    registry.Bind(ID_PROJECT_SAVE, Refreshing([] { projectDocument().SaveFileDocument(); }));
    registry.Bind(ID_PROJECT_SAVE_AS, Refreshing([] { projectDocument().SaveFileDocumentAs(); }));
    registry.Bind(ID_PROJECT_RELOAD, Refreshing([] { projectDocument().ReloadProject(); }));
    registry.Bind(ID_PROJECT_UPDATE_DATA, Refreshing([] { projectDocument().UpdateData(); }));
    registry.Bind(ID_PROJECT_DOWNLOAD_TEXT, Refreshing([] { projectDocument().DownloadText(); }));
    registry.Bind(ID_PROJECT_DOWNLOAD_DATA, Refreshing([] { projectDocument().DownloadData(); }));
    registry.Bind(ID_PROJECT_EXPORT, ExportPlacesAndRoutes);
    // "&Places..." and "&Routes..." are bound by the places and routes windows.
}
