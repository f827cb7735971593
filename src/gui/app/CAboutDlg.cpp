#include "gui/app/CAboutDlg.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("About MARLIX"));
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(":/icons/marlix.svg").pixmap(48, 48));
    auto* text = new QLabel(
        tr("<b>MARLIX</b> Version %1<br>Operator's front end for the robot arm controller and its "
           "KAVENTRIX console.<br>Built with Qt %2.")
            .arg(QCoreApplication::applicationVersion().isEmpty() ? QStringLiteral("0.1")
                                                                  : QCoreApplication::applicationVersion(),
                 QString::fromLatin1(qVersion())),
        this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addWidget(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}
