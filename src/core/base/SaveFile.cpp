#include "core/base/SaveFile.h"

#include <cstdio>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

SaveFile::SaveFile(const std::string& path)
    : m_path(path), m_file(QString::fromStdString(TemporaryPath(path))) {}

SaveFile::~SaveFile() {
    if (!m_done)
        Cancel();
}

bool SaveFile::Open() {
    return m_file.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

bool SaveFile::Finish() {
    if (!m_file.isOpen())
        return false;
    // On the disk before the rename, so that a crash of the system cannot put an empty file in place.
    const bool ok = m_file.error() == QFileDevice::NoError && FlushToDisk(m_file);
    m_file.close();
    m_failed = !ok || m_file.error() != QFileDevice::NoError;
    return !m_failed;
}

bool SaveFile::Replace() {
    if (m_failed || m_done)
        return false;
    m_done = RenameOver(TemporaryPath(m_path), m_path);
    return m_done;
}

void SaveFile::Cancel() {
    m_file.close();
    QFile::remove(m_file.fileName());
}

bool SaveFile::FlushToDisk(QFile& file) {
    if (!file.flush())
        return false;
#ifdef Q_OS_UNIX
    return ::fsync(file.handle()) == 0;
#else
    return true;
#endif
}

bool SaveFile::RenameOver(const std::string& from, const std::string& to) {
    return std::rename(QFile::encodeName(QString::fromStdString(from)).constData(),
                       QFile::encodeName(QString::fromStdString(to)).constData()) == 0;
}
