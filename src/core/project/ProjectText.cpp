#include "core/project/ProjectText.h"

#include "core/project/ProjectFiles.h"
#include "core/protocol/Protocol.h"
#include "core/text/SourceDownload.h"

bool DownloadProjectText(const ProjectModel& model, const std::string& ed2Path) {
    Protocol& proto = protocol();
    proto.ShowHeldBox("Downloading .ed1 file", WaitBoxStyle::Plain);
    proto.CheckPrompt();
    const bool declared = WriteDeclarations(proto.ControllerStream, model);
    proto.SetIOFlag();
    proto.CloseHeldBox();
    if (!declared)
        return false;
    DownloadSourceFile(ed2Path);
    return true;
}
