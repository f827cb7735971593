#pragma once

#include <QString>
#include <functional>
#include <map>

class QMdiArea;
class QMdiSubWindow;
class QWidget;

// The kinds of child window the main window can open, registered at start in this order.
enum class WindowKind { TextEditor = 1, Routes = 2, RouteEditor = 3, Places = 4, Communication = 5 };

// Creates the child windows of the main window by kind: each kind names its title, makes its view and
// says whether it is a form (fixed frame, see Cform1) and whether only one window of it may be open.
class WindowKinds {
public:
    struct Kind {
        QString title;
        std::function<QWidget*()> createView;
        bool form = false;
        bool single = true;
    };

    explicit WindowKinds(QMdiArea* area) : m_area(area) {}

    void Register(WindowKind kind, Kind description);
    bool IsRegistered(WindowKind kind) const { return m_kinds.count(kind) != 0; }

    // A single-instance kind that is open is brought to the top; otherwise a new window is made and
    // shown. nullptr when the kind is not registered.
    QMdiSubWindow* Open(WindowKind kind);
    // The first open window of the kind, or nullptr.
    QMdiSubWindow* Find(WindowKind kind) const;
    void Close(WindowKind kind);
    static WindowKind KindOf(const QMdiSubWindow* window, bool* known = nullptr);

private:
    void KeepInsideArea(QMdiSubWindow* window) const;
    QMdiArea* m_area;
    std::map<WindowKind, Kind> m_kinds;
};
