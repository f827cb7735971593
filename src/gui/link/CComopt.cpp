#include "gui/link/CComopt.h"

#include "core/base/UiSeam.h"
#include "core/link/CommLink.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>

namespace {
const char* const kNoDevice = "(by port number)";

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}
} // namespace

CComopt::CComopt(QWidget* parent)
    : QDialog(parent), m_portEdit(new QLineEdit(this)), m_baudList(new QComboBox(this)),
      m_deviceList(new QComboBox(this)), m_portTable(new QTreeWidget(this)),
      m_refresh(new QPushButton(tr("&Refresh"), this)) {
    setWindowTitle(tr("Communication Configuration"));
    m_portEdit->setMaxLength(4);
    for (unsigned rate : CommLink::kBaudTable)
        m_baudList->addItem(QString::number(rate));
    m_deviceList->setEditable(true);
    m_deviceList->setMinimumContentsLength(24);
    m_deviceList->setToolTip(tr("Leave \"%1\" to open the Com port's device; choose or type a device to "
                                "use it instead")
                                 .arg(tr(kNoDevice)));

    m_portTable->setHeaderLabels({tr("Device"), tr("Description"), tr("Maker"), tr("Serial number")});
    m_portTable->setRootIsDecorated(false);
    m_portTable->setUniformRowHeights(true);
    m_portTable->setMinimumSize(560, 120);
    m_portTable->header()->setStretchLastSection(true);
    connect(m_portTable, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item)
            m_deviceList->setCurrentText(item->text(0));
    });
    connect(m_deviceList, &QComboBox::currentTextChanged, this, [this] { MarkListedDevice(); });
    connect(m_refresh, &QPushButton::clicked, this, &CComopt::RefreshPorts);

    auto* form = new QFormLayout;
    form->addRow(tr("Com port:"), m_portEdit);
    form->addRow(tr("Baud Rate:"), m_baudList);
    form->addRow(tr("Device:"), m_deviceList);
    auto* listHeader = new QHBoxLayout;
    listHeader->addWidget(new QLabel(tr("Serial ports present:"), this), 1);
    listHeader->addWidget(m_refresh);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CComopt::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CComopt::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(listHeader);
    layout->addWidget(m_portTable, 1);
    layout->addWidget(buttons);
    RefreshPorts();
}

void CComopt::RefreshPorts() {
    const ListPortsFunction& list = commLink().ListPorts;
    m_ports = list ? list() : std::vector<PortInfo>{};
    const QString typed = m_deviceList->currentText();
    {
        const QSignalBlocker blockTable(m_portTable);
        const QSignalBlocker blockList(m_deviceList);
        m_portTable->clear();
        m_deviceList->clear();
        m_deviceList->addItem(tr(kNoDevice));
        for (const PortInfo& port : m_ports) {
            m_portTable->addTopLevelItem(new QTreeWidgetItem(
                {Text(port.device), Text(port.description), Text(port.maker), Text(port.serialNumber)}));
            m_deviceList->addItem(Text(port.device));
        }
        m_deviceList->setCurrentText(typed.isEmpty() ? tr(kNoDevice) : typed);
    }
    for (int column = 0; column < m_portTable->columnCount() - 1; ++column)
        m_portTable->resizeColumnToContents(column);
    MarkListedDevice();
}

void CComopt::MarkListedDevice() {
    const QSignalBlocker block(m_portTable);
    const QString device = m_deviceList->currentText().trimmed();
    const QList<QTreeWidgetItem*> rows = m_portTable->findItems(device, Qt::MatchExactly, 0);
    m_portTable->setCurrentItem(rows.isEmpty() ? nullptr : rows.constFirst());
    if (rows.isEmpty())
        m_portTable->clearSelection();
}

void CComopt::SetValues(int port, int baudIndex, const std::string& device, const std::string& serialNumber) {
    m_port = port;
    m_baudIndex = baudIndex;
    m_device = device;
    m_serialNumber = serialNumber;
    m_portEdit->setText(QString::number(port));
    m_baudList->setCurrentIndex(
        baudIndex >= 0 && baudIndex < CommLink::kBaudCount ? baudIndex : CommLink::kDefaultBaudIndex);
    m_deviceList->setCurrentText(device.empty() ? tr(kNoDevice) : Text(device));
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
    const bool unchanged = device.toStdString() == m_device;
    if (!device.isEmpty() && !unchanged && !QFileInfo::exists(device)) {
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
    // The serial number of a listed device; a device left as it was keeps the number it had.
    std::string serialNumber;
    for (const PortInfo& listed : m_ports) {
        if (listed.device == m_device)
            serialNumber = listed.serialNumber;
    }
    if (serialNumber.empty() && unchanged)
        serialNumber = m_serialNumber;
    m_serialNumber = m_device.empty() ? std::string() : serialNumber;
    return true;
}

void CComopt::accept() {
    if (ValidateInput())
        QDialog::accept();
}
