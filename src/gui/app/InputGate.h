#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

// Blocks the operator's input (mouse, keyboard, shortcuts, closing it) to one window, the main window,
// while it is shut. It works at once and changes nothing on the screen, so a wait that ends within a
// few milliseconds neither flickers nor lets a second command start. Other windows (the wait box, a
// message shown during a transfer) keep their input.
class InputGate : public QObject {
    Q_OBJECT
public:
    explicit InputGate(QObject* parent = nullptr);
    ~InputGate() override;

    // `blocked` (with its child widgets and the menus it opened) receives no input from now on.
    void Shut(QWidget* blocked);
    void Open();
    bool isShut() const { return m_shut; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool IsBlocked(QObject* receiver) const;

    bool m_shut = false;
    QPointer<QWidget> m_blocked;
};
