#include "gui/app/QtFileDialogs.h"

#include "core/app/FileFilter.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QSortFilterProxyModel>
#include <QStringList>

namespace {

// Hides the files whose name has a dot while the dialog's chosen entry lists only names without an
// extension; folders stay, so the operator can still move about.
class ExtensionlessFiles : public QSortFilterProxyModel {
public:
    ExtensionlessFiles(QFileDialog& dialog, std::vector<DialogFilter> filters)
        : QSortFilterProxyModel(&dialog), m_dialog(dialog), m_filters(std::move(filters)) {
        connect(&dialog, &QFileDialog::filterSelected, this, [this] { invalidateFilter(); });
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        const DialogFilter* chosen = Chosen();
        if (!chosen || !chosen->withoutExtension)
            return true;
        const QModelIndex index = sourceModel()->index(row, 0, parent);
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        return (files && files->isDir(index)) || !index.data().toString().contains('.');
    }

private:
    // The entry chosen in the dialog, which names it without its patterns while it hides them.
    const DialogFilter* Chosen() const {
        const std::string chosen = m_dialog.selectedNameFilter().toStdString();
        for (const DialogFilter& entry : m_filters)
            if (entry.nameFilter == chosen || entry.nameFilter.rfind(chosen + " (", 0) == 0)
                return &entry;
        return nullptr;
    }

    QFileDialog& m_dialog;
    std::vector<DialogFilter> m_filters;
};

void SetFilters(QFileDialog& dialog, const std::string& filter) {
    const std::vector<DialogFilter> filters = DialogFiltersFromFilter(filter);
    QStringList names;
    bool extensionless = false;
    for (const DialogFilter& entry : filters) {
        names << QString::fromStdString(entry.nameFilter);
        extensionless = extensionless || entry.withoutExtension;
    }
    if (extensionless) {
        // Only Qt's own dialog takes a proxy; the entries show their names alone, since the "*" that
        // lets every name through to the proxy would say the wrong thing.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        dialog.setProxyModel(new ExtensionlessFiles(dialog, filters));
    }
    dialog.setNameFilters(names);
}

std::string RunFileDialog(QWidget* parent, QFileDialog::AcceptMode mode, const std::string& title,
                          const std::string& filter, const std::string& defaultExt,
                          const std::string& startPath) {
    QFileDialog dialog(parent, QString::fromStdString(title));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    SetFilters(dialog, filter);
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
