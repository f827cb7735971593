#include "gui/app/InputGate.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

namespace {

bool IsOperatorInput(const QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::Drop:
    case QEvent::InputMethod:
        return true;
    case QEvent::Close:
        // The operator closing a window; the program's own closes are not spontaneous.
        return event->spontaneous();
    default:
        return false;
    }
}

} // namespace

InputGate::InputGate(QObject* parent) : QObject(parent) {}

InputGate::~InputGate() {
    Open();
}

void InputGate::Shut(QWidget* blocked) {
    m_blocked = blocked;
    if (m_shut)
        return;
    m_shut = true;
    QCoreApplication::instance()->installEventFilter(this);
}

void InputGate::Open() {
    if (!m_shut)
        return;
    m_shut = false;
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

bool InputGate::IsBlocked(QObject* receiver) const {
    if (!m_blocked)
        return false;
    const QWidget* blocked = m_blocked->window();
    if (auto* widget = qobject_cast<QWidget*>(receiver)) {
        const QWidget* window = widget->window();
        // A menu that the main window opened belongs to it.
        while (window->windowType() == Qt::Popup && window->parentWidget())
            window = window->parentWidget()->window();
        return window == blocked;
    }
    if (auto* window = qobject_cast<QWindow*>(receiver))
        return window == blocked->windowHandle();
    return false;
}

bool InputGate::eventFilter(QObject* watched, QEvent* event) {
    if (!m_shut || !IsOperatorInput(event) || !IsBlocked(watched))
        return false;
    // An accepted shortcut override keeps the shortcut from firing; the key press is then eaten too.
    event->accept();
    return true;
}
