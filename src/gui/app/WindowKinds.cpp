#include "gui/app/WindowKinds.h"

#include "gui/app/Cform1.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QVariant>

#include <algorithm>

namespace {
const char* const kKindProperty = "marlixWindowKind";
}

void WindowKinds::Register(WindowKind kind, Kind description) {
    m_kinds[kind] = std::move(description);
}

WindowKind WindowKinds::KindOf(const QMdiSubWindow* window, bool* known) {
    const QVariant value = window ? window->property(kKindProperty) : QVariant();
    if (known)
        *known = value.isValid();
    return static_cast<WindowKind>(value.toInt());
}

QMdiSubWindow* WindowKinds::Find(WindowKind kind) const {
    for (QMdiSubWindow* window : m_area->subWindowList()) {
        bool known = false;
        if (KindOf(window, &known) == kind && known)
            return window;
    }
    return nullptr;
}

// The area cascades new windows; a wide one (a route editor with its buttons) placed far down or right
// would open partly out of sight. It moves back in as far as it fits.
void WindowKinds::KeepInsideArea(QMdiSubWindow* window) const {
    const QRect area = m_area->viewport()->rect();
    QRect frame = window->geometry();
    if (frame.right() > area.right())
        frame.moveRight(area.right());
    if (frame.bottom() > area.bottom())
        frame.moveBottom(area.bottom());
    window->move(std::max(frame.left(), 0), std::max(frame.top(), 0));
}

QMdiSubWindow* WindowKinds::Open(WindowKind kind) {
    const auto it = m_kinds.find(kind);
    if (it == m_kinds.end())
        return nullptr;
    const Kind& k = it->second;
    if (k.single) {
        if (QMdiSubWindow* open = Find(kind)) {
            m_area->setActiveSubWindow(open);
            return open;
        }
    }
    QWidget* view = k.createView();
    if (!view)
        return nullptr;
    QMdiSubWindow* window = nullptr;
    if (k.form) {
        window = new Cform1(view, k.title);
        m_area->addSubWindow(window);
    } else {
        window = m_area->addSubWindow(view);
        if (view->windowTitle().isEmpty())
            view->setWindowTitle(k.title);
    }
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setProperty(kKindProperty, static_cast<int>(kind));
    window->show();
    KeepInsideArea(window);
    m_area->setActiveSubWindow(window);
    return window;
}

void WindowKinds::Close(WindowKind kind) {
    while (QMdiSubWindow* window = Find(kind)) {
        if (!window->close())
            return;
        // A window closed with WA_DeleteOnClose goes at the next event loop pass; forget it now.
        window->setProperty(kKindProperty, QVariant());
    }
}
