#pragma once

#include <QString>

// The folder that holds the program's data file `fileName`: the program's own folder when the file
// is there (a build tree), otherwise ../share/marlix beside it (an installed program, such as
// /usr/bin with /usr/share/marlix) when the file is there; the program's folder when neither has it.
QString DataFolder(const QString& programFolder, const QString& fileName);
