#include "gui/app/QtFileDialogs.h"

#include "core/app/FileFilter.h"

#include <QFileDialog>
#include <QStringList>

namespace {

QStringList ToQStringList(const std::vector<std::string>& items) {
    QStringList list;
    for (const std::string& item : items)
        list << QString::fromStdString(item);
    return list;
}

std::string RunFileDialog(QWidget* parent, QFileDialog::AcceptMode mode, const std::string& title,
                          const std::string& filter, const std::string& defaultExt,
                          const std::string& startPath) {
    QFileDialog dialog(parent, QString::fromStdString(title));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters(ToQStringList(NameFiltersFromFilter(filter)));
    dialog.setDefaultSuffix(QString::fromStdString(defaultExt));
    const std::string folder = StartFolderOf(startPath);
    if (!folder.empty())
        dialog.setDirectory(QString::fromStdString(folder));
    const std::string file = StartFileOf(startPath);
    if (!file.empty())
        dialog.selectFile(QString::fromStdString(file));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::string();
    return dialog.selectedFiles().first().toStdString();
}

} // namespace

std::string QtAskOpenFileName(QWidget* parent, const std::string& title, const std::string& filter,
                              const std::string& defaultExt, const std::string& startPath) {
    return RunFileDialog(parent, QFileDialog::AcceptOpen, title, filter, defaultExt, startPath);
}

std::string QtAskSaveFileName(QWidget* parent, const std::string& title, const std::string& filter,
                              const std::string& defaultExt, const std::string& startPath) {
    return RunFileDialog(parent, QFileDialog::AcceptSave, title, filter, defaultExt, startPath);
}
