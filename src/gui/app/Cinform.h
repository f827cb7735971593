#pragma once

#include "core/base/UiSeam.h"

#include <QDialog>
#include <QTimer>

class Cbarg;
class InputGate;
class QLabel;
class QPushButton;

// The wait box: a line of text and "Cancel" (WaitBoxStyle::Plain), or the text, a progress bar and
// "Cancel" (WaitBoxStyle::Progress). One box is kept for the whole run. Opening it blocks the
// operator's input to the main window, and to it alone, at once; the box itself appears only when
// the wait outlasts a short delay or shows progress, so the many short exchanges do not flicker.
// "Cancel", Escape or closing the box tells the handshake (which sets CancelFlag); Enter does nothing.
class Cinform : public QDialog {
    Q_OBJECT
public:
    static constexpr int kShowDelayMs = 150;

    explicit Cinform(QWidget* mainWindow);
    ~Cinform() override;

    void Open(const QString& text, WaitBoxStyle style);
    // Hides the box and gives input back; nothing happens when it is not open.
    void Close();
    void SetProgress(int done, int total);
    // A new text in the open box; a box already shown grows to fit it.
    void SetText(const QString& text);

    bool isOpen() const { return m_open; }
    WaitBoxStyle boxStyle() const { return m_style; }
    QString text() const;
    Cbarg* progressBar() const { return m_bar; }
    QPushButton* cancelButton() const { return m_cancel; }
    // Makes the box visible now (the delay ran out, or a progress bar is shown).
    void Appear();

public slots:
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CancelledByOperator();
    void PlaceOverMainWindow();

    QWidget* m_mainWindow;
    QLabel* m_icon;
    QLabel* m_text;
    Cbarg* m_bar;
    QPushButton* m_cancel;
    InputGate* m_gate;
    QTimer m_delay;
    bool m_open = false;
    WaitBoxStyle m_style = WaitBoxStyle::Plain;
};
