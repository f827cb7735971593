#include "gui/app/Cinform.h"

#include "core/protocol/Protocol.h"
#include "gui/app/Cbarg.h"
#include "gui/app/InputGate.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

Cinform::Cinform(QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::FramelessWindowHint), m_mainWindow(mainWindow),
      m_icon(new QLabel(this)), m_text(new QLabel(this)), m_bar(new Cbarg(this)),
      m_cancel(new QPushButton(tr("Cancel"), this)), m_gate(new InputGate(this)) {
    setObjectName("waitBox");
    // Not modal: the input gate blocks the main window alone, so other windows (a Find box, a message)
    // keep their input during a long transfer.
    setWindowModality(Qt::NonModal);
    setAttribute(Qt::WA_ShowWithoutActivating, false);
    m_icon->setPixmap(QWidget::style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    m_text->setMinimumWidth(260);
    m_text->setWordWrap(true);
    m_cancel->setAutoDefault(false);
    m_cancel->setDefault(false);
    connect(m_cancel, &QPushButton::clicked, this, &Cinform::CancelledByOperator);

    auto* top = new QHBoxLayout;
    top->addWidget(m_icon);
    top->addWidget(m_text, 1);
    auto* bottom = new QHBoxLayout;
    // Without the bar (it has all the stretch) the two stretches centre "Cancel".
    bottom->addStretch();
    bottom->addWidget(m_bar, 1);
    bottom->addWidget(m_cancel);
    bottom->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(bottom);
    setStyleSheet("#waitBox { border: 1px solid palette(dark); }");

    m_delay.setSingleShot(true);
    m_delay.setInterval(kShowDelayMs);
    connect(&m_delay, &QTimer::timeout, this, &Cinform::Appear);
}

Cinform::~Cinform() = default;

QString Cinform::text() const {
    return m_text->text();
}

void Cinform::Open(const QString& text, WaitBoxStyle style) {
    const bool progress = style == WaitBoxStyle::Progress;
    m_style = style;
    m_text->setText(text);
    m_icon->setVisible(!progress);
    m_bar->setVisible(progress);
    m_bar->SetProgress(0, 100);
    m_open = true;
    m_gate->Shut(m_mainWindow);
    if (progress)
        Appear();
    else if (!isVisible())
        m_delay.start();
}

void Cinform::Appear() {
    if (!m_open || isVisible())
        return;
    adjustSize();
    PlaceOverMainWindow();
    show();
    raise();
}

void Cinform::Close() {
    m_delay.stop();
    if (!m_open)
        return;
    m_open = false;
    hide();
    m_gate->Open();
}

void Cinform::SetProgress(int done, int total) {
    if (total <= 0)
        return;
    m_bar->SetProgress(done < 0 ? 0u : static_cast<unsigned>(done), static_cast<unsigned>(total));
}

void Cinform::SetText(const QString& text) {
    if (text == m_text->text())
        return;
    m_text->setText(text);
    if (isVisible() && sizeHint().height() > height())
        adjustSize();
}

void Cinform::PlaceOverMainWindow() {
    if (!m_mainWindow)
        return;
    const QRect frame = m_mainWindow->frameGeometry();
    move(frame.center() - rect().center());
}

void Cinform::CancelledByOperator() {
    // The handshake sets CancelFlag and asks the screen to close the box.
    protocol().WaitBoxClosed();
    Close();
}

void Cinform::reject() {
    CancelledByOperator();
}

void Cinform::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Cinform::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (m_open)
        CancelledByOperator();
}
