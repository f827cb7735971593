#pragma once

#include <string>

// Downloading source text to the controller line by line, each line run by the controller before the
// next is sent.

// The file dialogs' filter for source files.
extern const char* const kSourceFileFilter;

// Saves the open text document of `path` first when it has unsaved edits, so that the controller gets
// the text the operator sees. False when that save failed (it has reported why).
bool SaveSourceIfModified(const std::string& path);

// Sends the file at `path` line by line, each line as its text, LF and CR, and waits for the reply to
// each. A final line end gives one last empty line. Lines are sent whole whatever their length. The
// download stops at the first line the controller refuses (the file and line number are reported and
// the line is shown in its text window) or when the operator cancels; it still counts as done. False
// only when the file cannot be opened (no message here).
bool DownloadSourceFile(const std::string& path);

// DownloadSourceFile, with path + " could not be opened" when it fails.
void DownloadFileWithReport(const std::string& path);

// "Download &File...": asks for a file and downloads it with DownloadFileWithReport.
void DownloadFileCommand();
