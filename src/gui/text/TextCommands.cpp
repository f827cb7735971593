#include "gui/text/TextCommands.h"

#include "core/app/RecentFiles.h"
#include "core/app/ScriptedDownload.h"
#include "core/base/AppHooks.h"
#include "core/base/CommandIds.h"
#include "core/base/CommandRegistry.h"
#include "core/project/CPosDat.h"
#include "core/text/SourceDownload.h"
#include "gui/app/CMainFrame.h"
#include "gui/text/Cfthview.h"
#include "gui/text/TextWindows.h"

#include <memory>

namespace {
std::unique_ptr<TextWindows> g_windows;
} // namespace

TextWindows* textWindows() {
    return g_windows.get();
}

void BindTextCommands(CommandRegistry& registry, CMainFrame& frame) {
    g_windows = std::make_unique<TextWindows>(frame.mdiArea(), frame.windowKinds());
    appHooks().LoadEditFont = [] { Cfthview::LoadEditFont(); };

    TextWindows* windows = g_windows.get();
    appHooks().CloseTextWindows = [windows] { return windows->CloseAll(); };
    recentFiles().opener = [windows](const std::string& path) {
        return windows->OpenOrActivateTextFile(path);
    };
    registry.Bind(ID_FILE_NEW, [windows] { windows->NewTextFile(); });
    registry.Bind(ID_FILE_OPEN, [windows] { windows->OpenTextFileCommand(); });
    registry.Bind(ID_FILE_OPEN_ED2,
                  [windows] { windows->OpenOrActivateTextFile(projectDocument().Ed2Path()); });
    registry.Bind(ID_FILE_DOWNLOAD_FILE, [] { DownloadFileCommand(); });
    // The same download asked for by another program (marlix-send --file).
    ServeScriptedDownloads();
}
