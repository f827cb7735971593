#pragma once

#include "core/base/Cfdoc.h"

#include <string>

// The project document: the project's three files (.run image, .ed1 declarations, .ed2 source) and
// its life cycle. It owns the run-list image and the name table kept in projectModel(); opening a
// project sends its data and text to the controller, creating one starts the controller's list over.
class CPosDat : public Cfdoc {
public:
    CPosDat();

    // The .ed2 source file of the current project (empty while there is none).
    std::string Ed2Path() const;
    // Modified when the image or names changed, or when the project's source text has unsaved edits.
    bool IsModified() const override;
    // Empties the project: no entries, no names, the source text window closed.
    void DeleteContents() override;

protected:
    bool OnNewDocument() override;
    bool OnOpenDocument(const std::string& path) override;
    bool OnSaveDocument(const std::string& path) override;

private:
    bool ReadProjectFiles(const std::string& path);
    bool WriteImageAndDeclarations(const std::string& path);
    void SaveSourceAs(const std::string& path);
    void OpenProjectWindows();
};

// The project document of the program.
CPosDat& projectDocument();
