#pragma once

#include "core/base/TextDocuments.h"

#include <QMdiArea>
#include <QPointer>

#include <memory>
#include <string>

class CFTDoc;
class Cfthview;
class WindowKinds;

// The text editor windows of the main window: opening, creating and finding them by the file they
// show. Also what the project and the source downloads see of them (TextDocuments).
class TextWindows : public TextDocuments {
public:
    // Registers the text editor window kind with `kinds`, whose windows live in `area`.
    TextWindows(QMdiArea* area, WindowKinds& kinds);
    ~TextWindows() override;

    // File "&New": asks a file name ("New File") and opens a new, empty document saved at once under it.
    void NewTextFile();
    // File "&Open...": asks for a file and opens it (or brings up its window).
    void OpenTextFileCommand();
    // Brings up the window of `path`, or opens the file in a new one. A missing file is created empty
    // when the operator agrees. True when a window shows the file afterwards.
    bool OpenOrActivateTextFile(const std::string& path);
    // The window whose document is the file at `path` (compared in full form), or nullptr.
    Cfthview* FindTextDocument(const std::string& path) const;
    // The active window when it is a text window.
    Cfthview* ActiveTextWindow() const;
    // Closing the program: asks the save question of every window with unsaved edits, in the order
    // the windows were opened, and closes them all once none was cancelled. False when one was: then
    // every window stays.
    bool CloseAll();

    // Set when the operator agreed to create a file that an open request did not find.
    bool createMissingFile = false;

    // TextDocuments
    bool IsOpen(const std::string& path) const override;
    bool IsModified(const std::string& path) const override;
    bool SaveAs(const std::string& path, const std::string& newPath) override;
    void Close(const std::string& path) override;
    bool OpenOrActivate(const std::string& path) override;
    bool CreateEmpty(const std::string& path) override;
    void ShowLine(const std::string& path, int line) override;

private:
    Cfthview* OpenWindow(std::unique_ptr<CFTDoc> doc);
    void Activate(Cfthview* view) const;

    QPointer<QMdiArea> m_area; // gone with the main window: then no text window is open
    WindowKinds& m_kinds;
    std::unique_ptr<CFTDoc> m_pending; // the document of the window being created
};
