#include "core/project/ProjectPair.h"

#include "core/base/SaveFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>

namespace {

constexpr const char* kMarkerEnd = "end";

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// The marker names both files within their folder and ends with a line of its own, so a marker cut
// short by a kill is told from a whole one.
QByteArray MarkerText(const std::string& runPath, const std::string& ed1Path) {
    return (QFileInfo(Q(runPath)).fileName() + "\n" + QFileInfo(Q(ed1Path)).fileName() + "\n" + kMarkerEnd +
            "\n")
        .toUtf8();
}

// The two paths a whole marker names, or false when it is cut short or names anything outside the
// folder.
bool ReadMarker(const std::string& markerPath, std::string& runPath, std::string& ed1Path) {
    QFile file(Q(markerPath));
    if (!file.open(QIODevice::ReadOnly) || file.size() > 4096)
        return false;
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    if (lines.size() != 4 || lines[2] != kMarkerEnd || !lines[3].isEmpty())
        return false;
    const QDir folder = QFileInfo(Q(markerPath)).dir();
    for (int i = 0; i < 2; ++i)
        if (lines[i].isEmpty() || lines[i].contains('/') || lines[i] == "." || lines[i] == "..")
            return false;
    runPath = folder.filePath(lines[0]).toStdString();
    ed1Path = folder.filePath(lines[1]).toStdString();
    return true;
}

bool WriteMarker(const std::string& markerPath, const QByteArray& text) {
    // Written in its own place: a marker cut short is recognised by its missing last line.
    QFile file(Q(markerPath));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size() &&
           SaveFile::FlushToDisk(file);
}

void RemoveFile(const std::string& path) {
    QFile::remove(Q(path));
}

} // namespace

std::string PairMarkerPath(const std::string& runPath) {
    return runPath + ".pair";
}

ProjectPairSave::ProjectPairSave(const std::string& runPath, const std::string& ed1Path)
    : m_runPath(runPath), m_ed1Path(ed1Path), m_run(runPath), m_ed1(ed1Path) {
    RecoverProjectPair(runPath, ed1Path);
}

PairSave ProjectPairSave::Write(SaveFile& file, const std::string& path, const QByteArray& bytes) {
    m_failed = path;
    // A folder where the file should go would refuse its rename after the other file was replaced.
    if (QFileInfo(Q(path)).isDir() || !file.Open())
        return PairSave::NotCreated;
    if (!file.Write(bytes) || !file.Finish())
        return PairSave::NotWritten;
    ++m_written;
    return PairSave::Saved;
}

PairSave ProjectPairSave::Commit() {
    m_failed = m_runPath;
    if (m_written != 2)
        return PairSave::NotWritten;
    const std::string marker = PairMarkerPath(m_runPath);
    if (!WriteMarker(marker, MarkerText(m_runPath, m_ed1Path))) {
        RemoveFile(marker);
        return PairSave::NotWritten;
    }
    // From here on the new pair wins: what a kill leaves undone is finished at the next open or save.
    if (!m_run.Replace()) {
        RemoveFile(marker);
        return PairSave::NotWritten;
    }
    if (!m_ed1.Replace()) {
        m_failed = m_ed1Path;
        m_ed1.KeepTemporary(); // the marker finishes the pair at the next open or save
        return PairSave::NotWritten;
    }
    RemoveFile(marker);
    return PairSave::Saved;
}

void RecoverProjectPair(const std::string& runPath, const std::string& ed1Path) {
    const std::string marker = PairMarkerPath(runPath);
    std::string markedRun, markedEd1;
    if (ReadMarker(marker, markedRun, markedEd1)) {
        // Both new files were whole before the marker was written: put what is left of them in place.
        for (const std::string& path : {markedRun, markedEd1})
            if (QFileInfo::exists(Q(SaveFile::TemporaryPath(path))))
                SaveFile::RenameOver(SaveFile::TemporaryPath(path), path);
        RemoveFile(marker);
        return;
    }
    // No whole marker: nothing was replaced, and what the save had written is dropped.
    RemoveFile(marker);
    RemoveFile(SaveFile::TemporaryPath(runPath));
    RemoveFile(SaveFile::TemporaryPath(ed1Path));
}
