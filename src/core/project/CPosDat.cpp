#include "core/project/CPosDat.h"

#include "core/base/CoreState.h"
#include "core/base/TextDocuments.h"
#include "core/base/UiSeam.h"
#include "core/project/DataTransfer.h"
#include "core/project/ProjectFiles.h"
#include "core/project/ProjectModel.h"
#include "core/project/ProjectPair.h"
#include "core/project/ProjectService.h"
#include "core/project/ProjectText.h"
#include "core/protocol/Protocol.h"

#include <QFile>
#include <QFileInfo>
#include <QString>
#include <sstream>

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

bool ReadTextFile(const std::string& path, std::string& text) {
    QFile file(Q(path));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    text = file.readAll().toStdString();
    return file.error() == QFileDevice::NoError;
}

} // namespace

CPosDat& projectDocument() {
    return coreState().Get<CPosDat>();
}

CPosDat::CPosDat()
    : Cfdoc("Project Files (*.run)|*.run||", "run", "*.run", "Project", "filename",
            "The Project has been modified, do you wish to save it?") {}

void CPosDat::PathNameChanged() {
    m_ed2Path = CompanionPath(GetPathName(), "ED2");
}

bool CPosDat::IsModified() const {
    if (Cfdoc::IsModified())
        return true;
    const std::string ed2 = Ed2Path();
    return !ed2.empty() && textDocuments().IsModified(ed2);
}

void CPosDat::DeleteContents() {
    ProjectService& service = projectService();
    service.ClearProject();
    projectModel().EntryNames.clear();
    // Nothing learned at the teach pad may go into a route of a project that is gone.
    service.SetActiveRoute(runlist::kNoEntry);
    const std::string ed2 = Ed2Path();
    if (!ed2.empty() && textDocuments().IsOpen(ed2))
        textDocuments().Close(ed2);
}

void CPosDat::ModifiedChanged() {
    projectService().Announce(ProjectService::Modified);
}

bool CPosDat::OnNewDocument() {
    Cfdoc::OnNewDocument();
    projectService().SetActiveRoute(runlist::kNoEntry);
    protocol().SendCommand("KAVENTRIX");
    protocol().SendCommand("STARTOVER");
    protocol().SendCommand("NEW");
    projectService().Announce(ProjectService::Opened);
    const std::string ed2 = Ed2Path();
    if (textDocuments().IsOpen(ed2))
        textDocuments().Close(ed2);
    textDocuments().CreateEmpty(ed2);
    return true;
}

bool CPosDat::ReadProjectFiles(const std::string& path) {
    ProjectModel& model = projectModel();
    QByteArray image;
    // The image is read from the chosen file, or from its namesake whatever the case of its extension.
    const std::string run = QFileInfo::exists(Q(path)) ? path : CompanionPath(path, "run");
    // A save of this project that was interrupted is finished (or undone) first.
    RecoverProjectPair(run, CompanionPath(path, "ED1"));
    if (!ReadWholeFile(run, image))
        return false;
    LoadRunFileBytes(model, image);

    const std::string ed1 = CompanionPath(path, "ed1");
    std::string declarations;
    if (!ReadTextFile(ed1, declarations)) {
        ui().ShowMessage(ed1 + " could not be opened");
        DeleteContents();
        return false;
    }
    const std::string error = BindDeclarations(model, declarations);
    if (!error.empty()) {
        ui().ShowMessage(error);
        DeleteContents();
        return false;
    }
    return true;
}

bool CPosDat::OnOpenDocument(const std::string& path) {
    projectService().SetActiveRoute(runlist::kNoEntry);
    if (!ReadProjectFiles(path))
        return false;
    MarkOpened();
    DownloadData();
    // A link lost during the data has been reported; the text would only be refused line by line.
    if (protocol().ReplyState == reply::kNotOpen || !DownloadText()) {
        CloseFileDocument();
        return false;
    }
    projectService().Announce(ProjectService::Opened);
    textDocuments().OpenOrActivate(Ed2Path());
    return true;
}

void CPosDat::DownloadData() {
    DownloadImage(projectModel());
}

void CPosDat::UpdateData() {
    if (protocol().Simulated())
        return;
    ProjectModel& model = projectModel();
    SetModifiedFlag();
    if (!UploadImage(model)) {
        ui().ShowMessage("Upload failed, data may now be invalid");
        return;
    }
    const std::string error = BindUploadedNames(model);
    if (error.empty()) {
        projectService().RefreshProjectViews();
        return;
    }
    ui().ShowMessage(error);
    // The controller's list does not match the names: leave an empty project whose names and image
    // agree, so that new entries are not bound to names of the lost ones.
    projectService().ClearProject();
    model.EntryNames.clear();
}

bool CPosDat::DownloadText() {
    return DownloadProjectText(projectModel(), Ed2Path());
}

void CPosDat::ReloadProject() {
    DownloadData();
    DownloadText();
}

bool CPosDat::WriteImageAndDeclarations(const std::string& path) {
    // The .run and .ed1 files are replaced as one pair: a failed or interrupted save leaves the old
    // project on disk as it was, or, once both new files are whole, the new one.
    const std::string ed1 = CompanionPath(path, "ED1");
    ProjectPairSave save(path, ed1);
    protocol().ShowHeldBox("Saving data", WaitBoxStyle::Plain);
    PairSave step = save.WriteRun(RunFileBytes(projectModel()));
    protocol().CloseHeldBox();
    if (step == PairSave::Saved) {
        protocol().ShowHeldBox("Saving " + ed1, WaitBoxStyle::Plain);
        std::ostringstream text;
        step = WriteDeclarations(text) ? save.WriteEd1(QByteArray::fromStdString(text.str()))
                                       : PairSave::NotWritten;
        protocol().CloseHeldBox();
    }
    if (step == PairSave::Saved)
        step = save.Commit();
    if (step == PairSave::Saved)
        return true;
    const std::string& failed = save.FailedPath();
    if (step == PairSave::NotWritten)
        ui().ShowMessage("Cannot save file " + failed);
    else if (failed == ed1)
        ui().ShowMessage(ed1 + " could not be opened");
    else
        ui().ShowMessage("Cannot create file " + failed);
    return false;
}

void CPosDat::SaveSourceAs(const std::string& path) {
    const std::string oldEd2 = Ed2Path();
    const std::string newEd2 = CompanionPath(path, "ED2");
    if (oldEd2.empty())
        return;
    if (textDocuments().OpenOrActivate(oldEd2)) {
        protocol().ShowHeldBox("Saving " + newEd2, WaitBoxStyle::Plain);
        textDocuments().SaveAs(oldEd2, newEd2);
        protocol().CloseHeldBox();
        return;
    }
    // No text editor shows the source: the file itself goes to the new name.
    if (oldEd2 == newEd2 || !QFileInfo::exists(Q(oldEd2)))
        return;
    QByteArray source;
    if (ReadWholeFile(oldEd2, source))
        WriteWholeFile(newEd2, source);
}

bool CPosDat::OnSaveDocument(const std::string& path) {
    if (!WriteImageAndDeclarations(path))
        return false;
    SaveSourceAs(path);
    m_ed2Path = CompanionPath(path, "ED2");
    SetModifiedFlag(false);
    return true;
}
