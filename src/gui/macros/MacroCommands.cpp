#include "gui/macros/MacroCommands.h"

#include "core/base/AppHooks.h"
#include "core/base/CommandIds.h"
#include "core/base/CommandRegistry.h"
#include "core/macros/Cmacdoc.h"
#include "gui/app/CMainFrame.h"
#include "gui/macros/Cmaclist.h"

#include <QAction>

namespace {

void BindMenu(CommandRegistry& registry, CMainFrame& frame) {
    registry.Bind(ID_MACRO_FILE_NEW, [] { macroDoc().NewFileDocument(); });
    registry.Bind(ID_MACRO_FILE_OPEN, [] { macroDoc().OpenFileDocument(); });
    registry.Bind(ID_MACRO_FILE_CLOSE, [] { macroDoc().CloseFileDocument(); });
    registry.Bind(ID_MACRO_FILE_SAVE, [] { macroDoc().SaveFileDocument(); });
    registry.Bind(ID_MACRO_FILE_SAVE_AS, [] { macroDoc().SaveFileDocumentAs(); });
    registry.Bind(ID_MACRO_EDIT, [&frame] {
        Cmaclist dialog(macroDoc(), &frame);
        dialog.exec();
    });
}

void BindButtons(CommandRegistry& registry) {
    for (int i = 0; i < ID_MACRO_BUTTON_COUNT; ++i) {
        registry.Bind(ID_MACRO_BUTTON_FIRST + i, [i] { macroDoc().RunMacro(i); });
    }
}

void BindHooks() {
    AppHooks& hooks = appHooks();
    hooks.ReopenMacros = [] { macroDoc().ReopenRememberedFile(); };
    hooks.MayCloseMacros = [] { return macroDoc().SaveModified(); };
    hooks.RememberMacrosName = [] { macroDoc().RememberFileName(); };
}

} // namespace

void RefreshMacroBar(CMainFrame& frame) {
    const Cmacdoc& macros = macroDoc();
    for (int i = 0; i < ID_MACRO_BUTTON_COUNT; ++i) {
        QAction* button = frame.macroButton(i);
        if (!button)
            continue;
        QString text;
        if (i < macros.count()) {
            const std::string& name = macros.name(i);
            // "&" would mark a shortcut letter; the name is shown as it is.
            text = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())).replace("&", "&&");
        }
        if (button->text() != text)
            button->setText(text);
    }
}

void BindMacroCommands(CommandRegistry& registry, CMainFrame& frame) {
    BindMenu(registry, frame);
    BindButtons(registry);
    BindHooks();
    frame.AddRefreshHook([&frame] { RefreshMacroBar(frame); });
}
