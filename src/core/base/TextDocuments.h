#pragma once

#include <string>

// What the project and the source downloads need of the text editor's documents, found by the path
// of the file they show. One seam of the Screen (core/base/Screen.h); until the text editor's windows
// are installed (and in tests that install none) no text document is open and files are used directly.
class TextDocuments {
public:
    virtual ~TextDocuments() = default;

    // True when a text document shows `path`.
    virtual bool IsOpen(const std::string& /*path*/) const { return false; }
    // True when the document of `path` has unsaved edits.
    virtual bool IsModified(const std::string& /*path*/) const { return false; }
    // Saves the document of `path` under `newPath`, which becomes its name; true on success.
    virtual bool SaveAs(const std::string& /*path*/, const std::string& /*newPath*/) { return false; }
    // Closes the document of `path` without asking about its edits.
    virtual void Close(const std::string& /*path*/) {}
    // Brings the document of `path` to the top, or opens the file in a new text window. True when a
    // document shows the file afterwards.
    virtual bool OpenOrActivate(const std::string& /*path*/) { return false; }
    // Creates a new, empty document saved at once under `path` (the file is created or emptied);
    // true on success. Without a text editor only the file is written.
    virtual bool CreateEmpty(const std::string& path);
    // Shows line `line` (from 1) of the file at `path` selected in its text window, opening the file
    // when no window shows it (the controller refused that line).
    virtual void ShowLine(const std::string& /*path*/, int /*line*/) {}
};

// The installed text documents; never null.
TextDocuments& textDocuments();
