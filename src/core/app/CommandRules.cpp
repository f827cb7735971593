#include "core/app/CommandRules.h"

#include "core/base/CommandIds.h"
#include "core/base/CommandRegistry.h"
#include "core/link/CommLink.h"
#include "core/macros/Cmacdoc.h"
#include "core/project/CPosDat.h"
#include "core/protocol/Protocol.h"
#include "core/robot/CSettings.h"

#include <utility>

namespace {

enum Need : unsigned {
    kLink = 1u << 0,
    kProject = 1u << 1,
    kProjectModified = 1u << 2,
    kMacros = 1u << 3,
    kMacrosModified = 1u << 4,
    kSettingsModified = 1u << 5,
    kConsole = 1u << 6,
};

struct CommandNeeds {
    int id;
    unsigned needs;
};

// Each command and every fact it needs; the macro bar's buttons are ruled apart.
const CommandNeeds kNeeds[] = {
    {ID_PROJECT_OPEN, kLink},
    {ID_PROJECT_CLOSE, kProject},
    {ID_PROJECT_SAVE, kProjectModified},
    {ID_PROJECT_SAVE_AS, kProject},
    {ID_PROJECT_RELOAD, kProject | kLink},
    {ID_PROJECT_UPDATE_DATA, kProject | kLink},
    {ID_PROJECT_DOWNLOAD_TEXT, kProject | kLink},
    {ID_PROJECT_DOWNLOAD_DATA, kProject | kLink},
    {ID_PROJECT_EXPORT, kProject},
    {ID_PROJECT_PLACES, kProject},
    {ID_PROJECT_ROUTES, kProject},
    {ID_EDIT_VALIDATE, kProject | kLink},
    {ID_FILE_OPEN_ED2, kProject},
    {ID_FILE_DOWNLOAD_FILE, kLink},
    {ID_FILE_LOAD_BINARY, kLink},
    {ID_FILE_SAVE_BINARY, kLink},
    {ID_SETTINGS_OPEN, kLink},
    {ID_SETTINGS_SAVE, kSettingsModified},
    {ID_MACRO_FILE_CLOSE, kMacros},
    {ID_MACRO_FILE_SAVE, kMacrosModified},
    {ID_MACRO_FILE_SAVE_AS, kMacros},
    {ID_MACRO_EDIT, kMacros},
    {ID_COMM_SAVE, kConsole},
};

unsigned Held(const CommandFacts& f) {
    const std::pair<bool, Need> facts[] = {{f.linkReady, kLink},
                                           {f.projectNamed, kProject},
                                           {f.projectModified, kProjectModified},
                                           {f.macrosNamed, kMacros},
                                           {f.macrosModified, kMacrosModified},
                                           {f.settingsModified, kSettingsModified},
                                           {f.consoleOpen, kConsole}};
    unsigned held = 0;
    for (const auto& [holds, need] : facts)
        held |= holds ? need : 0u;
    return held;
}

} // namespace

CommandFacts CurrentCommandFacts() {
    CommandFacts facts;
    facts.linkReady = LinkReady();
    facts.projectNamed = !projectDocument().GetPathName().empty();
    facts.projectModified = projectDocument().IsModified();
    facts.macrosNamed = !macroDoc().GetPathName().empty();
    facts.macrosModified = macroDoc().IsModified();
    facts.macroCount = macroDoc().count();
    facts.settingsModified = settings().IsModified();
    facts.consoleOpen = commLink().document() != nullptr;
    return facts;
}

bool CommandEnabled(int id, const CommandFacts& facts) {
    const int button = id - ID_MACRO_BUTTON_FIRST;
    if (button >= 0 && button < ID_MACRO_BUTTON_COUNT)
        return button < facts.macroCount && facts.linkReady;
    for (const CommandNeeds& rule : kNeeds)
        if (rule.id == id)
            return (Held(facts) & rule.needs) == rule.needs;
    return true;
}

void UseCommandRules(CommandRegistry& registry) {
    registry.SetGate([](int id) { return CommandEnabled(id, CurrentCommandFacts()); });
}
