#include "core/project/DataTransfer.h"

#include "core/base/UiSeam.h"
#include "core/link/CommLink.h"
#include "core/project/CPosDat.h"
#include "core/project/ProjectModel.h"
#include "core/project/ProjectText.h"
#include "core/protocol/BlockTransfer.h"
#include "core/protocol/Protocol.h"

using namespace runlist;

void DownloadData() {
    ProjectModel& model = projectModel();
    protocol().ShowHeldBox("Downloading data", WaitBoxStyle::Progress);
    DownloadRunList(model.RunList.data(), model.RunListEnd);
    protocol().CloseHeldBox();
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

void UpdateData() {
    if (commLink().Simulate)
        return;
    ProjectModel& model = projectModel();
    protocol().ShowHeldBox("Uploading", WaitBoxStyle::Progress);
    projectDocument().SetModifiedFlag();
    const bool received = UploadRunList(model.RunList.data(), model.RunListEnd);
    protocol().CloseHeldBox();
    if (!received) {
        ui().ShowMessage("Upload failed, data may now be invalid");
        return;
    }
    const std::string error = BindUploadedNames(model);
    if (error.empty()) {
        model.RefreshProjectViews();
        return;
    }
    ui().ShowMessage(error);
    // The controller's list does not match the names: leave an empty project whose names and image
    // agree, so that new entries are not bound to names of the lost ones.
    model.ClearProject();
    model.EntryNames.clear();
}

void ReloadProject() {
    DownloadData();
    DownloadText();
}
