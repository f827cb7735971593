#include "core/app/WordCheckCommand.h"

#include "core/app/WordCheck.h"
#include "core/base/AppHooks.h"
#include "core/base/CommandIds.h"
#include "core/base/CommandRegistry.h"
#include "core/base/TextDocuments.h"
#include "core/base/UiSeam.h"
#include "core/project/CPosDat.h"
#include "core/project/ProjectModel.h"
#include "core/text/SourceDownload.h"

void Validate() {
    const std::string ed2 = projectDocument().Ed2Path();
    if (ed2.empty())
        return;
    // The check reads the file: unsaved edits in its window are saved first.
    if (!SaveSourceIfModified(ed2))
        return;
    // Every entry name is checked, an empty one too.
    const WordCheck::Outcome outcome = wordCheck().CheckFiles(projectModel().EntryNames, ed2);
    if (outcome == WordCheck::Outcome::Failed)
        return;
    // A window still showing an earlier report would show stale text.
    const std::string report = WordCheck::ReportPath(ed2);
    if (textDocuments().IsOpen(report))
        textDocuments().Close(report);
    if (outcome == WordCheck::Outcome::Conflicts)
        textDocuments().OpenOrActivate(report);
    else
        ui().ShowMessage("No conflicts found");
}

void BindWordCheckCommands(CommandRegistry& registry) {
    registry.Bind(ID_EDIT_VALIDATE, Validate);
    appHooks().LoadWordList = LoadControllerWordList;
}
