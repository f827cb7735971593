#include "core/base/Cfdoc.h"

#include "core/base/ProfileStore.h"
#include "core/base/SaveFile.h"
#include "core/base/UiSeam.h"

#include <QFile>
#include <QFileInfo>
#include <QString>
#include <utility>

Cfdoc::Cfdoc(std::string filter, std::string defaultExt, std::string fileName, std::string profileSection,
             std::string profileKey, std::string saveQuestion)
    : m_filter(std::move(filter)), m_defaultExt(std::move(defaultExt)), m_fileName(std::move(fileName)),
      m_profileSection(std::move(profileSection)), m_profileKey(std::move(profileKey)),
      m_saveQuestion(std::move(saveQuestion)) {}

std::string Cfdoc::RememberedName() const {
    return GetProfileString(m_profileSection, m_profileKey);
}

void Cfdoc::LoadRememberedName() {
    const std::string remembered = RememberedName();
    // Without a remembered file the dialogs keep starting from the wildcard pattern.
    if (!remembered.empty())
        m_fileName = remembered;
}

bool Cfdoc::ReopenRememberedFile() {
    const std::string remembered = RememberedName();
    LoadRememberedName();
    return !remembered.empty() && OpenFile(remembered);
}

void Cfdoc::RememberFileName() const {
    WriteProfileString(m_profileSection, m_profileKey, m_pathName);
}

bool Cfdoc::SaveModified() {
    if (!IsModified())
        return true;
    switch (ui().AskYesNoCancel(m_saveQuestion)) {
    case Answer::Yes:
        return SaveFileDocument();
    case Answer::No:
        SetModifiedFlag(false);
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

bool Cfdoc::CloseFileDocument() {
    if (!SaveModified())
        return false;
    DeleteContents();
    SetPathName(std::string());
    return true;
}

bool Cfdoc::NewFileDocument() {
    if (!CloseFileDocument())
        return false;
    const std::string path = ui().AskSaveFileName("New File", m_filter, m_defaultExt, m_fileName);
    if (path.empty())
        return false;
    m_fileName = path;
    SetPathName(path);
    return OnNewDocument();
}

bool Cfdoc::OpenFileDocument() {
    if (!CloseFileDocument())
        return false;
    const std::string path = ui().AskOpenFileName("Open", m_filter, m_defaultExt, m_fileName);
    if (path.empty())
        return false;
    return OpenFile(path);
}

bool Cfdoc::OpenFile(const std::string& path) {
    m_fileName = path;
    if (!OnOpenDocument(path))
        return false;
    SetPathName(path);
    return true;
}

bool Cfdoc::SaveFileDocument() {
    if (m_pathName.empty())
        return SaveFileDocumentAs();
    return SaveTo(m_pathName);
}

bool Cfdoc::SaveFileDocumentAs() {
    const std::string path = ui().AskSaveFileName("Save As", m_filter, m_defaultExt, m_fileName);
    if (path.empty())
        return false;
    m_fileName = path;
    if (!SaveTo(path))
        return false;
    SetPathName(path);
    return true;
}

bool Cfdoc::SaveTo(const std::string& path) {
    if (!OnSaveDocument(path))
        return false;
    SetModifiedFlag(false);
    return true;
}

void Cfdoc::SetModifiedFlag(bool modified) {
    if (modified == m_modified)
        return;
    m_modified = modified;
    ModifiedChanged();
}

void Cfdoc::MarkOpened() {
    SetModifiedFlag(false);
    SetPathName(m_fileName);
}

bool Cfdoc::OnNewDocument() {
    SetModifiedFlag(false);
    return true;
}

bool Cfdoc::OnOpenDocument(const std::string&) {
    SetModifiedFlag(false);
    return true;
}

bool Cfdoc::OnSaveDocument(const std::string&) {
    return true;
}

void Cfdoc::SetPathName(const std::string& path) {
    const bool changed = path != m_pathName;
    m_pathName = path;
    m_title = path.empty() ? std::string() : QFileInfo(QString::fromStdString(path)).fileName().toStdString();
    if (changed)
        PathNameChanged();
}

bool Cfdoc::ReadWholeFile(const std::string& path, QByteArray& bytes) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        ui().ShowMessage("Cannot open file " + path);
        return false;
    }
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        ui().ShowMessage("Cannot read file " + path);
        return false;
    }
    return true;
}

bool Cfdoc::WriteWholeFile(const std::string& path, const QByteArray& bytes) {
    SaveFile file(path);
    if (!file.Open() || !file.Write(bytes) || !file.Commit()) {
        ui().ShowMessage("Cannot save file " + path);
        return false;
    }
    return true;
}
