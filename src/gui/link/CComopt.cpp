#include "gui/link/CComopt.h"

#include "core/base/UiSeam.h"
#include "core/link/CommLink.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLineEdit>
#include <QSerialPortInfo>

namespace {
const char* const kNoDevice = "(by port number)";
}

CComopt::CComopt(QWidget* parent)
    : QDialog(parent), m_portEdit(new QLineEdit(this)), m_baudList(new QComboBox(this)),
      m_deviceList(new QComboBox(this)) {
    setWindowTitle(tr("Communication Configuration"));
    m_portEdit->setMaxLength(4);
    for (unsigned rate : CommLink::kBaudTable)
        m_baudList->addItem(QString::number(rate));
    m_deviceList->setEditable(true);
    m_deviceList->addItem(tr(kNoDevice));
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        m_deviceList->addItem(info.systemLocation());
    m_deviceList->setMinimumContentsLength(24);
    m_deviceList->setToolTip(tr("Leave \"%1\" to open the Com port's device; choose or type a device to "
                                "use it instead")
                                 .arg(tr(kNoDevice)));

    auto* form = new QFormLayout;
    form->addRow(tr("Com port:"), m_portEdit);
    form->addRow(tr("Baud Rate:"), m_baudList);
    form->addRow(tr("Device:"), m_deviceList);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CComopt::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CComopt::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void CComopt::SetValues(int port, int baudIndex, const std::string& device) {
    m_port = port;
    m_baudIndex = baudIndex;
    m_device = device;
    m_portEdit->setText(QString::number(port));
    m_baudList->setCurrentIndex(
        baudIndex >= 0 && baudIndex < CommLink::kBaudCount ? baudIndex : CommLink::kDefaultBaudIndex);
    m_deviceList->setCurrentText(device.empty() ? tr(kNoDevice) : QString::fromStdString(device));
}

bool CComopt::ValidateInput() {
    bool ok = false;
    const int port = m_portEdit->text().trimmed().toInt(&ok);
    if (!ok || port < kMinPort || port > kMaxPort) {
        ui().ShowMessage("Please enter an integer between 1 and 19.");
        m_portEdit->setFocus();
        m_portEdit->selectAll();
        return false;
    }
    QString device = m_deviceList->currentText().trimmed();
    if (device == tr(kNoDevice))
        device.clear();
    // A stored device that is missing at the moment (an adaptor unplugged) stays when left as it is.
    if (!device.isEmpty() && device.toStdString() != m_device && !QFileInfo::exists(device)) {
        ui().ShowMessage(
            "No device " + device.toStdString() +
            " was found. Choose one of the list, type the path of an existing device, or choose " +
            kNoDevice + " to use the Com port.");
        m_deviceList->setFocus();
        return false;
    }
    m_port = port;
    m_baudIndex = m_baudList->currentIndex();
    m_device = device.toStdString();
    return true;
}

void CComopt::accept() {
    if (ValidateInput())
        QDialog::accept();
}
