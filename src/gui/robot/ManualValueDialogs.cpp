#include "gui/robot/ManualValueDialogs.h"

#include "core/base/UiSeam.h"
#include "core/robot/PositionValues.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kMinSpeed = 1;
constexpr int kMaxSpeed = 255;
constexpr float kMinIncrement = 0.1f;
constexpr float kMaxIncrement = 25.5f;

QHBoxLayout* OkCancelRow(QDialog* dialog) {
    auto* ok = new QPushButton("OK", dialog);
    auto* cancel = new QPushButton("Cancel", dialog);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

void Refuse(QLineEdit* field, const std::string& message) {
    ui().ShowMessage(message);
    field->setFocus();
    field->selectAll();
}

} // namespace

Ctchspd::Ctchspd(QWidget* parent, int speed) : QDialog(parent), speed(speed) {
    setWindowTitle("Manual Control speed");
    m_value = new QLineEdit(QString::number(speed), this);
    m_value->setObjectName("value");
    m_stepper = new QScrollBar(Qt::Vertical, this);
    // The bar itself never moves: only its arrows matter.
    m_stepper->setRange(0, 2);
    m_stepper->setValue(1);
    m_stepper->setFixedHeight(m_value->sizeHint().height());
    connect(m_stepper, &QScrollBar::actionTriggered, this, &Ctchspd::Step);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel("New value:", this));
    row->addWidget(m_value);
    row->addWidget(m_stepper);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(OkCancelRow(this));
    m_value->selectAll();
}

void Ctchspd::Step(int action) {
    // A vertical bar's up arrow is Qt's "subtract" action.
    int delta = 0;
    if (action == QAbstractSlider::SliderSingleStepSub)
        delta = 1;
    else if (action == QAbstractSlider::SliderSingleStepAdd)
        delta = -1;
    m_stepper->setSliderPosition(1);
    if (delta == 0)
        return;
    // Text that is no number counts as 0, so a step brings it back into the range.
    const int typed = m_value->text().trimmed().toInt();
    m_value->setText(QString::number(std::clamp(typed + delta, kMinSpeed, kMaxSpeed)));
}

void Ctchspd::accept() {
    long value = 0;
    std::string message;
    if (!ReadIntegerField(m_value->text().toStdString(), kMinSpeed, kMaxSpeed, value, message)) {
        Refuse(m_value, message);
        return;
    }
    speed = static_cast<int>(value);
    QDialog::accept();
}

CJogSpd::CJogSpd(QWidget* parent, float millimetres) : QDialog(parent), millimetres(millimetres) {
    setWindowTitle("Jog Increment");
    m_value = new QLineEdit(QString::fromStdString(OneDecimalText(millimetres)), this);
    m_value->setObjectName("value");
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel("New value:", this));
    row->addWidget(m_value);
    row->addWidget(new QLabel("Millimetres", this));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(OkCancelRow(this));
    m_value->selectAll();
}

void CJogSpd::accept() {
    float value = 0;
    std::string message;
    if (!ReadRealField(m_value->text().toStdString(), kMinIncrement, kMaxIncrement, value, message)) {
        Refuse(m_value, message);
        return;
    }
    millimetres = value;
    QDialog::accept();
}
