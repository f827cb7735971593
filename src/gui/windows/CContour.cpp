#include "gui/windows/CContour.h"

#include "core/base/UiSeam.h"
#include "core/project/ContourLine.h"
#include "gui/windows/DialogFields.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

// A parameter as the operator last saw it: 12.3, not 12.300000000000001.
QString ParameterText(double x) {
    return QString::number(x, 'g', 15);
}

} // namespace

CContour::CContour(int code, double a, double b, QWidget* parent)
    : QDialog(parent), m_function(new QComboBox(this)),
      m_aField(dialogfields::NewField("paramA", ParameterText(a), this)),
      m_bField(dialogfields::NewField("paramB", ParameterText(b), this)), m_code(code), m_a(a), m_b(b) {
    setWindowTitle(QStringLiteral("Contour function"));
    m_function->setObjectName("function");
    for (const char* text : kContourFunctionTexts)
        m_function->addItem(QString::fromLatin1(text));
    m_function->setCurrentIndex(code >= 0 && code < contour::kFunctionCount ? code : -1);
    auto* form = new QFormLayout;
    form->addRow(m_function);
    form->addRow(QStringLiteral("param A:"), m_aField);
    form->addRow(QStringLiteral("param B:"), m_bField);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(dialogfields::OkCancel(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CContour::accept() {
    const int code = m_function->currentIndex();
    if (code < 0) {
        ui().ShowMessage("Please choose a contour function.");
        m_function->setFocus();
        return;
    }
    float a = 0;
    float b = 0;
    if (!dialogfields::TakeReal(m_aField, kMinParameter, kMaxParameter, a) ||
        !dialogfields::TakeReal(m_bField, kMinParameter, kMaxParameter, b))
        return;
    m_code = code;
    m_a = a;
    m_b = b;
    QDialog::accept();
}
