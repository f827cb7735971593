#pragma once

#include "core/base/Cfdoc.h"

#include <string>

// The project document: the project's three files (.run image, .ed1 declarations, .ed2 source) and
// its life cycle. It owns the run-list image and the name table kept in projectModel(); opening a
// project sends its data and text to the controller, creating one starts the controller's list over.
// It runs the project's transfers as sequences of the steps in DataTransfer.h and ProjectText.h, and
// tells the project service (ProjectService.h) when the project opens, closes or changes.
class CPosDat : public Cfdoc {
public:
    CPosDat();

    // The .ed2 source file of the current project (empty while there is none), found whatever the case
    // of its extension when the project was opened, named or saved.
    const std::string& Ed2Path() const { return m_ed2Path; }
    // Modified when the image or names changed, or when the project's source text has unsaved edits.
    bool IsModified() const override;
    // Empties the project: no entries, no names, the source text window closed.
    void DeleteContents() override;

    // "Do&wnload data": the image to the controller.
    void DownloadData();
    // "&Update data": the controller's RUN-LIST replaces the image and the names are bound to its
    // entries again, in order. Does nothing while the controller is simulated; marks the project
    // modified. When the names no longer fit the list the project is emptied.
    void UpdateData();
    // "Down&load text": the declarations, then the source text. False when a declaration was refused.
    bool DownloadText();
    // "Re&load": the image, then the declarations and the source text.
    void ReloadProject();

protected:
    bool OnNewDocument() override;
    bool OnOpenDocument(const std::string& path) override;
    bool OnSaveDocument(const std::string& path) override;
    void ModifiedChanged() override;
    void PathNameChanged() override;

private:
    bool ReadProjectFiles(const std::string& path);
    bool WriteImageAndDeclarations(const std::string& path);
    void SaveSourceAs(const std::string& path);

    // Looked for once per opening or save, not at every look: finding it may list the whole folder.
    std::string m_ed2Path;
};

// The project document of the program.
CPosDat& projectDocument();
