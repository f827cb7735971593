#include "project/ProjectText.h"

#include "project/CPosDat.h"
#include "project/ProjectFiles.h"
#include "protocol/Protocol.h"
#include "text/SourceDownload.h"

bool DownloadText() {
    Protocol& proto = protocol();
    proto.ShowHeldBox("Downloading .ed1 file", 0);
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
