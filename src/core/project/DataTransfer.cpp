#include "core/project/DataTransfer.h"

#include "core/project/ProjectModel.h"
#include "core/protocol/BlockTransfer.h"
#include "core/protocol/Protocol.h"

using namespace runlist;

bool DownloadImage(const ProjectModel& model) {
    Protocol& proto = protocol();
    proto.ShowHeldBox("Downloading data", WaitBoxStyle::Progress);
    const bool sent = DownloadRunList(model.RunList.data(), model.RunListEnd);
    proto.CloseHeldBox();
    return sent;
}

bool UploadImage(ProjectModel& model) {
    Protocol& proto = protocol();
    proto.ShowHeldBox("Uploading", WaitBoxStyle::Progress);
    const bool received = UploadRunList(model.RunList.data(), model.RunListEnd);
    proto.CloseHeldBox();
    return received;
}

std::string BindUploadedNames(ProjectModel& model) {
    model.ResetRunListHead();
    for (size_t i = 0; i < model.EntryNames.size(); ++i) {
        const int e = model.RunListEnd;
        const int link = model.Word(e + kLink);
        if (link == 0 || link <= e)
            return "run list too short";
        model.SetWord(e + kNameIndex, static_cast<uint16_t>(i));
        if (link > kAllocationLimit)
            return "Insufficient space for run list";
        model.RunListEnd = link;
    }
    model.SetWord(model.RunListEnd, 0);
    return std::string();
}
