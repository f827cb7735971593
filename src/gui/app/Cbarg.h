#pragma once

#include <QWidget>

// The wait box's progress bar: a sunken frame filled blue for the part done and cyan for the rest.
// A change of progress repaints only the strip that changed.
class Cbarg : public QWidget {
    Q_OBJECT
public:
    explicit Cbarg(QWidget* parent = nullptr);

    // done out of total; done is limited to total, total must not be 0.
    void SetProgress(unsigned done, unsigned total);
    unsigned done() const { return m_done; }
    unsigned total() const { return m_total; }
    // Filled width in pixels as last computed.
    int filledWidth() const { return m_filled; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int BarWidth() const { return width() - 4; }
    int FilledFor(unsigned done) const;

    unsigned m_done = 0;
    unsigned m_total = 100;
    int m_filled = 0;
};
