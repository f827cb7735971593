#pragma once

#include "core/base/SaveFile.h"

#include <QByteArray>
#include <string>

// The .run and .ed1 files of a project are replaced as one pair: both new versions are written whole
// beside their targets (SaveFile), then a marker file naming the pair is written, then both are renamed
// into place and the marker removed. A save interrupted before the marker was whole changed nothing
// and its temporary files are dropped; one interrupted after it is finished by RecoverProjectPair,
// which opening and saving a project run first. Either way the pair on disk is both old or both new.

// The marker of the pair whose .run file is `runPath`.
std::string PairMarkerPath(const std::string& runPath);

// How a step of a save of the pair ended.
enum class PairSave { Saved, NotCreated, NotWritten };

// One save of the pair, in three steps: the two files, then the commit that puts both in place.
// Unless every step succeeds, the old pair is left as it was.
class ProjectPairSave {
public:
    // Finishes or undoes an earlier interrupted save of the same pair first.
    ProjectPairSave(const std::string& runPath, const std::string& ed1Path);
    PairSave WriteRun(const QByteArray& bytes) { return Write(m_run, m_runPath, bytes); }
    PairSave WriteEd1(const QByteArray& bytes) { return Write(m_ed1, m_ed1Path, bytes); }
    // Both files written: puts them in place.
    PairSave Commit();
    // The file the last failed step failed on.
    const std::string& FailedPath() const { return m_failed; }

private:
    PairSave Write(SaveFile& file, const std::string& path, const QByteArray& bytes);

    std::string m_runPath, m_ed1Path, m_failed;
    SaveFile m_run, m_ed1;
    int m_written = 0;
};

// Finishes or undoes a save of the pair of `runPath` that was interrupted; the .ed1 file is
// `ed1Path` unless the marker names it. Does nothing when no save was interrupted.
void RecoverProjectPair(const std::string& runPath, const std::string& ed1Path);
