#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <string>

// A file written beside its target, under the target's name followed by ".new", and put in the
// target's place by one rename once it is whole: a failed or interrupted save never leaves a partial
// file under the target's name. The temporary name is always the same, so a save killed half-way
// leaves at most that one file, which the next save of the target writes over and takes away.
class SaveFile {
public:
    explicit SaveFile(const std::string& path);
    // Removes the temporary file unless it was put in place.
    ~SaveFile();
    SaveFile(const SaveFile&) = delete;
    SaveFile& operator=(const SaveFile&) = delete;

    // Creates (or empties) the temporary file.
    bool Open();
    // Where the bytes are written.
    QFile& Device() { return m_file; }
    bool Write(const QByteArray& bytes) { return m_file.write(bytes) == bytes.size(); }
    // Writes the bytes through to the disk and closes the file; false when any write failed.
    bool Finish();
    // Puts the finished file in the target's place (the old one goes in the same step).
    bool Replace();
    // Finish, then Replace.
    bool Commit() { return Finish() && Replace(); }
    // Drops the temporary file.
    void Cancel();
    // Leaves the finished temporary file where it is for a later rename by someone else.
    void KeepTemporary() { m_done = true; }
    QString ErrorString() const { return m_file.errorString(); }

    // The temporary file of a target.
    static std::string TemporaryPath(const std::string& path) { return path + ".new"; }
    // Flushes an open file's bytes through to the disk.
    static bool FlushToDisk(QFile& file);
    // Renames `from` over `to` in one step; false when the system refused.
    static bool RenameOver(const std::string& from, const std::string& to);

private:
    std::string m_path;
    QFile m_file;
    bool m_failed = false;
    bool m_done = false;
};
