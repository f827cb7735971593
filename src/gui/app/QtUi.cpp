#include "gui/app/QtUi.h"

#include "gui/app/CMainFrame.h"
#include "gui/app/Cinform.h"
#include "gui/app/QtFileDialogs.h"
#include "gui/windows/CContour.h"
#include "gui/windows/CEname.h"
#include "gui/windows/Croutcode.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QMessageBox>
#include <QTimer>

const char* const QtUi::kCaption = "Orlanek Robot System";

namespace {

QMessageBox::StandardButton Ask(QWidget* parent, const std::string& text,
                                QMessageBox::StandardButtons buttons) {
    QMessageBox box(QMessageBox::Question, QtUi::kCaption, QString::fromStdString(text), buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

Answer ToAnswer(QMessageBox::StandardButton button) {
    if (button == QMessageBox::Yes)
        return Answer::Yes;
    if (button == QMessageBox::No)
        return Answer::No;
    return Answer::Cancel;
}

} // namespace

QtUi::QtUi() {
    // The quit request of the application: every wait in progress ends (PumpMessages reports it).
    QCoreApplication::instance()->installEventFilter(this);
}

QtUi::~QtUi() {
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
    // The box is a child of the main window; it goes with it unless the window outlived this seam.
    delete m_waitBox.data();
}

void QtUi::Attach(CMainFrame* frame) {
    m_frame = frame;
}

bool QtUi::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Quit && watched == QCoreApplication::instance())
        m_quitting = true;
    return false;
}

void QtUi::ShowMessage(const std::string& text) {
    QMessageBox box(QMessageBox::Warning, kCaption, QString::fromStdString(text), QMessageBox::Ok, m_frame);
    box.exec();
}

Answer QtUi::AskYesNo(const std::string& text) {
    const Answer a = ToAnswer(Ask(m_frame, text, QMessageBox::Yes | QMessageBox::No));
    return a == Answer::Cancel ? Answer::No : a;
}

Answer QtUi::AskYesNoCancel(const std::string& text) {
    return ToAnswer(Ask(m_frame, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel));
}

Cinform* QtUi::waitBox() {
    if (!m_waitBox)
        m_waitBox = new Cinform(m_frame);
    return m_waitBox;
}

void QtUi::OpenWaitBox(const std::string& text, WaitBoxStyle style) {
    waitBox()->Open(QString::fromStdString(text), style);
}

void QtUi::CloseWaitBox() {
    if (m_waitBox)
        m_waitBox->Close();
}

void QtUi::SetProgress(int done, int total) {
    if (m_waitBox)
        m_waitBox->SetProgress(done, total);
}

void QtUi::SetWaitText(const std::string& text) {
    if (m_waitBox)
        m_waitBox->SetText(QString::fromStdString(text));
}

bool QtUi::PumpMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return m_quitting;
}

bool QtUi::WaitForEvent() {
    if (m_quitting)
        return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return true;
}

void QtUi::KickIdle() {
    // Many replies can complete before the event loop runs again: one refresh covers them all.
    if (m_kickQueued || !m_frame)
        return;
    m_kickQueued = true;
    const qint64 wait = m_sinceKick.isValid() ? kKickIntervalMs - m_sinceKick.elapsed() : 0;
    QTimer::singleShot(wait > 0 ? static_cast<int>(wait) : 0, this, [this] { RunKick(); });
}

void QtUi::RunKick() {
    m_kickQueued = false;
    m_sinceKick.start();
    if (m_frame)
        m_frame->UpdateCommandStates();
}

void QtUi::Beep() {
    QApplication::beep();
}

void QtUi::OpenCommWindow() {
    if (m_frame)
        m_frame->OpenCommWindow();
}

void QtUi::OpenRouteEditorWindow() {
    if (m_frame)
        m_frame->windowKinds().Open(WindowKind::RouteEditor);
}

std::string QtUi::AskOpenFileName(const std::string& title, const std::string& filter,
                                  const std::string& defaultExt, const std::string& startPath) {
    return QtAskOpenFileName(m_frame, title, filter, defaultExt, startPath);
}

std::string QtUi::AskSaveFileName(const std::string& title, const std::string& filter,
                                  const std::string& defaultExt, const std::string& startPath) {
    return QtAskSaveFileName(m_frame, title, filter, defaultExt, startPath);
}

bool QtUi::AskName(std::string& name, const std::string& title) {
    CEname dialog(name, QString::fromStdString(title), m_frame);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    name = dialog.name();
    return true;
}

bool QtUi::AskRouteFunction(std::string& word, int& parameter) {
    Croutcode dialog(word, parameter, m_frame);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    word = dialog.word();
    parameter = dialog.parameter();
    return true;
}

bool QtUi::AskContourFunction(int& code, double& a, double& b) {
    CContour dialog(code, a, b, m_frame);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    code = dialog.code();
    a = dialog.a();
    b = dialog.b();
    return true;
}
