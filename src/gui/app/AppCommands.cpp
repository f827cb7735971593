#include "gui/app/AppCommands.h"

#include "core/base/CommandIds.h"
#include "core/base/CommandRegistry.h"
#include "gui/app/CAboutDlg.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/ViewCommandTarget.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QToolBar>

namespace {

// The commands of the active window. File "&Close" closes any child window that does not handle it.
void BindRoutedCommands(CommandRegistry& registry, CMainFrame& frame) {
    const int routed[] = {ID_FILE_CLOSE,   ID_FILE_SAVE,    ID_FILE_SAVE_AS, ID_FILE_DOWNLOAD_CURRENT,
                          ID_FILE_PRINT,   ID_EDIT_UNDO,    ID_EDIT_CUT,     ID_EDIT_COPY,
                          ID_EDIT_PASTE,   ID_EDIT_CLEAR,   ID_EDIT_FIND,    ID_EDIT_REPEAT,
                          ID_EDIT_REPLACE, ID_SETTINGS_FONT};
    CMainFrame* f = &frame;
    for (int id : routed) {
        registry.Bind(
            id,
            [f, id] {
                if (ViewCommandTarget* target = f->ActiveViewTarget(); target && target->HandlesCommand(id))
                    target->RunCommand(id);
                else if (id == ID_FILE_CLOSE && f->currentWindow())
                    f->currentWindow()->close();
            },
            [f, id] {
                ViewCommandTarget* target = f->ActiveViewTarget();
                if (target && target->HandlesCommand(id))
                    return target->CommandEnabled(id);
                return id == ID_FILE_CLOSE && f->currentWindow() != nullptr;
            });
    }
    // The toolbar's "&Save" saves the active document like File "&Save".
    registry.Bind(
        ID_TOOLBAR_SAVE, [] { commands().Run(ID_FILE_SAVE); },
        [] { return commands().IsEnabled(ID_FILE_SAVE); });
}

void BindViewCommands(CommandRegistry& registry, CMainFrame& frame) {
    CMainFrame* f = &frame;
    registry.Bind(
        ID_VIEW_TOOLBAR, [f] { f->toolBar()->setVisible(!f->toolBar()->isVisible()); }, {},
        [f] { return f->toolBar()->isVisible(); });
    registry.Bind(
        ID_VIEW_MACRO_BAR, [f] { f->macroBar()->setVisible(!f->macroBar()->isVisible()); }, {},
        [f] { return f->macroBar()->isVisible(); });
    registry.Bind(
        ID_VIEW_STATUS_BAR, [f] { f->statusBar()->setVisible(!f->statusBar()->isVisible()); }, {},
        [f] { return f->statusBar()->isVisible(); });
}

void BindWindowCommands(CommandRegistry& registry, CMainFrame& frame) {
    CMainFrame* f = &frame;
    const auto anyWindow = [f] { return !f->mdiArea()->subWindowList().isEmpty(); };
    registry.Bind(
        ID_WINDOW_CASCADE, [f] { f->mdiArea()->cascadeSubWindows(); }, anyWindow);
    registry.Bind(
        ID_WINDOW_TILE_HORZ, [f] { f->TileHorizontally(); }, anyWindow);
    registry.Bind(
        ID_WINDOW_TILE_VERT, [f] { f->TileVertically(); }, anyWindow);
    registry.Bind(
        ID_NEXT_PANE, [f] { f->mdiArea()->activateNextSubWindow(); }, anyWindow);
    registry.Bind(
        ID_PREV_PANE, [f] { f->mdiArea()->activatePreviousSubWindow(); }, anyWindow);
}

QPrinter& SharedPrinter() {
    static QPrinter printer;
    return printer;
}

} // namespace

void BindAppCommands(CommandRegistry& registry, CMainFrame& frame) {
    CMainFrame* f = &frame;
    registry.Bind(ID_APP_ABOUT, [f] { CAboutDlg(f).exec(); });
    registry.Bind(ID_APP_EXIT, [f] { f->close(); });
    registry.Bind(ID_FILE_PRINT_SETUP, [f] { QPageSetupDialog(&SharedPrinter(), f).exec(); });
    BindRoutedCommands(registry, frame);
    BindViewCommands(registry, frame);
    BindWindowCommands(registry, frame);
}
