#pragma once

#include <QByteArray>
#include <string>

// Base of the single-instance file documents (settings profile, project, macro set). It remembers the
// document's file name in the settings store between runs and gives every document the same New, Open,
// Save, Save As and Close behaviour with file dialogs and a document-specific question whether to save
// changes. A derived document supplies its own new-document, open, save, delete-contents and
// is-modified steps by overriding the hooks below.
class Cfdoc {
public:
    Cfdoc(std::string filter, std::string defaultExt, std::string fileName, std::string profileSection,
          std::string profileKey, std::string saveQuestion);
    virtual ~Cfdoc() = default;
    Cfdoc(const Cfdoc&) = delete;
    Cfdoc& operator=(const Cfdoc&) = delete;

    // File name := the settings-store entry; a missing or empty entry keeps the starting pattern.
    void LoadRememberedName();
    // LoadRememberedName, then opens that file when one is named; true when a file was opened.
    bool ReopenRememberedFile();
    // Writes the document's path to the settings store (an empty string when it has none).
    void RememberFileName() const;

    // Asks the save question when modified; when allowed, empties the document and clears its title
    // and path. False when the operator cancelled.
    bool CloseFileDocument();
    // Close, then ask a new file name; on OK the name becomes the path and the new-document step runs.
    bool NewFileDocument();
    // Close, then ask a file to open; on OK the open step reads it and it becomes the path.
    bool OpenFileDocument();
    // Saves to the path, or asks one when the document has none.
    bool SaveFileDocument();
    // Asks a file name, saves to it and on success makes it the path.
    bool SaveFileDocumentAs();
    // The save question alone: true when closing may go on.
    bool SaveModified();
    // Clears the modified flag and makes the file name the document's path.
    void MarkOpened();

    // Opens the given file into the document without a dialog (start-up, tests); true on success.
    bool OpenFile(const std::string& path);

    virtual bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified = true);

    const std::string& GetPathName() const { return m_pathName; }
    // The file name without its folder, or empty while the document has no path.
    const std::string& GetTitle() const { return m_title; }
    const std::string& fileName() const { return m_fileName; }
    const std::string& filter() const { return m_filter; }
    const std::string& defaultExt() const { return m_defaultExt; }
    const std::string& profileSection() const { return m_profileSection; }
    const std::string& profileKey() const { return m_profileKey; }
    const std::string& saveQuestion() const { return m_saveQuestion; }

protected:
    // Hooks of the derived document.
    virtual bool OnNewDocument();
    virtual bool OnOpenDocument(const std::string& path);
    virtual bool OnSaveDocument(const std::string& path);
    virtual void DeleteContents() {}
    // The modified flag has just changed.
    virtual void ModifiedChanged() {}
    // The path has just changed: opened, named anew, saved under another name or closed.
    virtual void PathNameChanged() {}

    void SetPathName(const std::string& path);

    // Reads a whole file; reports "Cannot open file ..." and returns false when it cannot be read.
    static bool ReadWholeFile(const std::string& path, QByteArray& bytes);
    // Writes a whole file atomically; reports "Cannot save file ..." and returns false on failure.
    static bool WriteWholeFile(const std::string& path, const QByteArray& bytes);

private:
    std::string RememberedName() const;
    bool SaveTo(const std::string& path);

    std::string m_filter;
    std::string m_defaultExt;
    std::string m_fileName;
    std::string m_profileSection;
    std::string m_profileKey;
    std::string m_saveQuestion;
    std::string m_pathName;
    std::string m_title;
    bool m_modified = false;
};
