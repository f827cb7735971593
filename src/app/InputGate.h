#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

// Blocks the operator's input (mouse, keyboard, shortcuts, closing windows) to every window but one
// while it is shut. It works at once and changes nothing on the screen, so a wait that ends within a
// few milliseconds neither flickers nor lets a second command start.
class InputGate : public QObject {
    Q_OBJECT
public:
    explicit InputGate(QObject* parent = nullptr);
    ~InputGate() override;

    // Only `allowed` (and its children) receive input from now on.
    void Shut(QWidget* allowed);
    void Open();
    bool isShut() const { return m_shut; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool IsAllowed(QObject* receiver) const;

    bool m_shut = false;
    QPointer<QWidget> m_allowed;
};
