#pragma once

#include "core/app/FontDescription.h"
#include "core/link/CommLink.h"
#include "gui/app/ViewCommandTarget.h"

#include <QElapsedTimer>
#include <QFont>
#include <QTimer>
#include <QWidget>

// The terminal window: shows the newest lines of the console text that fit, with the caret after the
// last character, and sends every typed character to the controller. Nothing typed is drawn here:
// the screen shows only what the controller (or the simulator) echoes. Received text schedules a
// repaint; painting happens when Qt paints.
class Ccomview : public QWidget, public TerminalView, public ViewCommandTarget {
    Q_OBJECT
public:
    explicit Ccomview(QWidget* parent = nullptr);
    // The screen text goes with the window; a changed font is remembered.
    ~Ccomview() override;

    // Received text: repaint soon, and let the commands follow the reply state it may have moved.
    void TextArrived() override;
    // The window's title follows the document's ("Communication" or "Simulated Communication").
    void RefreshTitle();
    bool HandlesCommand(int id) const override;
    void RunCommand(int id) override;

    // The "&Font..." command: a font dialog offering fixed-pitch fonts only.
    void ChooseFont();
    // Uses a new font (as the font dialog does) and marks it for saving.
    void SetTerminalFont(const FontDescription& description);
    const FontDescription& fontDescription() const { return m_description; }

    int charWidth() const { return m_charWidth; }
    int lineHeight() const { return m_lineHeight; }
    int visibleLines() const;
    // Index of the first document line shown (the newest lines that fit are shown).
    int firstShownLine() const;
    QPoint caretPosition() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void ApplyFont();
    void UpdateLineWidth();
    // The window goes: remember a changed font and let the screen text go with it.
    void Release();

    FontDescription m_description;
    QFont m_font;
    bool m_fontChanged = false;
    int m_charWidth = 8;
    int m_lineHeight = 16;
    int m_ascent = 12;
    bool m_caretOn = false;
    bool m_released = false;
    int m_lastReplyState = 0;
    QTimer m_blink;
    // Repaints follow received text at most about 60 times a second, however finely it arrives.
    static constexpr int kRepaintIntervalMs = 16;
    QElapsedTimer m_sincePaint;
    QTimer m_repaint;
};
