#pragma once

#include <functional>
#include <string>

// Downloading source text to the controller line by line, each line run by the controller before the
// next is sent.

// The file dialogs' filter for source files.
extern const char* const kSourceFileFilter;

// Saves the open text document of `path` first when it has unsaved edits, so that the controller gets
// the text the operator sees. False when that save failed (it has reported why).
bool SaveSourceIfModified(const std::string& path);

// How a download of a source file ended.
struct SourceDownloadResult {
    enum class End {
        Accepted,  // every line was accepted
        Refused,   // the controller refused `line`
        Stopped,   // cancelled, the link went away, or unsaved edits could not be saved first
        Unreadable // the file could not be opened; nothing was sent
    };
    End end = End::Accepted;
    int lines = 0;     // lines in the file
    int line = 0;      // the refused line, or the last line sent (from 1); 0 when none was
    std::string text;  // that line's text
    std::string reply; // the controller's reply to it
};

// Told before each line is sent: its number (from 1) and the number of lines. False stops the
// download before that line.
using DownloadProgress = std::function<bool(int line, int lines)>;

// The download without any report: saves unsaved edits first, then sends the lines (in prompt-only
// mode, between "|" and "IOFLAG C0SET", when `hide` is set) until the end, the first refused line,
// a cancel or `progress` saying stop.
SourceDownloadResult SendSourceFile(const std::string& path, bool hide,
                                    const DownloadProgress& progress = {});

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
