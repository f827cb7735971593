#include "core/base/TextDocuments.h"

#include "core/base/UiSeam.h"

#include <QSaveFile>
#include <QString>

namespace {
TextDocuments g_none;
TextDocuments* g_documents = &g_none;
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
    return *g_documents;
}

void SetTextDocuments(TextDocuments* documents) {
    g_documents = documents ? documents : &g_none;
}
