#include "core/project/ProjectText.h"

#include "core/project/CPosDat.h"
#include "core/project/ProjectFiles.h"
#include "core/protocol/Protocol.h"
#include "core/text/SourceDownload.h"

bool DownloadText() {
    Protocol& proto = protocol();
    proto.ShowHeldBox("Downloading .ed1 file", WaitBoxStyle::Plain);
    proto.CheckPrompt();
    const bool declared = WriteDeclarations(proto.ControllerStream);
    proto.SetIOFlag();
    proto.CloseHeldBox();
    if (!declared)
        return false;
    // A project without a source file has nothing more to send.
    DownloadSourceFile(projectDocument().Ed2Path());
    return true;
}
