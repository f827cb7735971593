#include "gui/link/CommCommands.h"

#include "core/base/AppHooks.h"
#include "core/base/CommandIds.h"
#include "core/base/CommandRegistry.h"
#include "core/link/CommLink.h"
#include "gui/link/CComopt.h"

#include <QFileDialog>
#include <QLoggingCategory>
#include <QSaveFile>

Q_LOGGING_CATEGORY(lcComm, "marlix.comm")

void ConfigureCommunication(QWidget* parent) {
    CommLink& link = commLink();
    link.CloseComm();
    CComopt dialog(parent);
    dialog.SetValues(link.port, link.baudIndex, link.device, link.serialNumber);
    if (dialog.exec() == QDialog::Accepted) {
        link.port = dialog.port();
        link.baudIndex = dialog.baudIndex();
        link.device = dialog.device();
        link.serialNumber = dialog.serialNumber();
        link.SaveCommSettings();
    }
    link.OpenCommunication();
}

bool SaveCommunicationTo(const QString& path) {
    const Ccom1doc* doc = commLink().document();
    if (!doc)
        return false;
    const std::string text = doc->SavedText();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), static_cast<qint64>(text.size())) < 0 ||
        !file.commit()) {
        // The command ends without a message box; the reason goes to the debug output.
        qCWarning(lcComm, "cannot write %s: %s", qPrintable(path), qPrintable(file.errorString()));
        return false;
    }
    return true;
}

void SaveCommunication(QWidget* parent) {
    QFileDialog dialog(parent, QObject::tr("Save Communication"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QObject::tr("Text files (*.txt)"));
    dialog.setDefaultSuffix("txt");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    SaveCommunicationTo(dialog.selectedFiles().constFirst());
}

void ToggleConsoleLog(QWidget* parent) {
    CommLink& link = commLink();
    if (link.IsLogging()) {
        link.StopLog();
        return;
    }
    // The log is appended to: choosing a file that exists asks nothing.
    QFileDialog dialog(parent, QObject::tr("Log to file"), QString::fromStdString(link.logPath));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters({QObject::tr("Text files (*.txt)"), QObject::tr("All files (*)")});
    dialog.setDefaultSuffix("txt");
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        link.StartLog(dialog.selectedFiles().constFirst().toStdString());
}

void BindCommCommands(CommandRegistry& registry, QWidget* parent) {
    appHooks().ReopenLog = [] { commLink().RestoreLog(); };
    registry.Bind(ID_COMM_REOPEN, [] { commLink().ReOpen(); });
    registry.Bind(ID_COMM_CONFIGURE, [parent] { ConfigureCommunication(parent); });
    registry.Bind(ID_COMM_SAVE, [parent] { SaveCommunication(parent); });
    registry.Bind(
        ID_COMM_LOG, [parent] { ToggleConsoleLog(parent); }, {}, [] { return commLink().IsLogging(); });
}
