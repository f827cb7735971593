#pragma once

// Whole-file writes and reads for tests that prepare or check a user file.
#include <QByteArray>
#include <QFile>
#include <QString>

#include <string>

inline bool WriteTestFile(const std::string& path, const QByteArray& bytes) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The file's bytes, or "<missing>" when it cannot be read.
inline QByteArray ReadTestFile(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline bool TestFileExists(const std::string& path) {
    return QFile::exists(QString::fromStdString(path));
}
