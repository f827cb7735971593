#include "core/app/DataFolder.h"

#include <QDir>
#include <QFileInfo>

QString DataFolder(const QString& programFolder, const QString& fileName) {
    const QDir program(programFolder);
    if (QFileInfo::exists(program.filePath(fileName)))
        return programFolder;
    const QString installed = QDir::cleanPath(program.filePath(QStringLiteral("../share/marlix")));
    if (QFileInfo::exists(QDir(installed).filePath(fileName)))
        return installed;
    return programFolder;
}
