#include "core/base/TextDocuments.h"

#include "core/base/Screen.h"
#include "core/base/UiSeam.h"

#include <QSaveFile>
#include <QString>

namespace {
TextDocuments g_none;
} // namespace

bool TextDocuments::CreateEmpty(const std::string& path) {
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly) || !file.commit()) {
        ui().ShowMessage("Cannot create file " + path);
        return false;
    }
    return true;
}

TextDocuments& textDocuments() {
    TextDocuments* installed = installedScreen().texts;
    return installed ? *installed : g_none;
}
