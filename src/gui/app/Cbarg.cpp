#include "gui/app/Cbarg.h"

#include <QPainter>

namespace {
const QColor kDarkEdge(80, 80, 80);
const QColor kDone(0, 0, 255);
const QColor kToDo(0, 255, 255);
} // namespace

Cbarg::Cbarg(QWidget* parent) : QWidget(parent) {
    setMinimumSize(104, 20);
}

int Cbarg::FilledFor(unsigned done) const {
    if (m_total == 0 || BarWidth() <= 0)
        return 0;
    return static_cast<int>(static_cast<unsigned long long>(BarWidth()) * done / m_total);
}

void Cbarg::SetProgress(unsigned done, unsigned total) {
    m_total = total;
    m_done = done > total ? total : done;
    const int filled = FilledFor(m_done);
    if (filled != m_filled) {
        const int from = std::min(filled, m_filled);
        const int to = std::max(filled, m_filled);
        m_filled = filled;
        update(from + 2, 2, to - from, height() - 4);
    }
}

void Cbarg::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int w = width();
    const int h = height();
    p.setPen(kDarkEdge);
    p.drawLine(0, h - 1, 0, 0);
    p.drawLine(0, 0, w, 0);
    p.setPen(Qt::white);
    p.drawLine(w - 1, 1, w - 1, h - 1);
    p.drawLine(w - 1, h - 1, 0, h - 1);
    p.setPen(Qt::black);
    p.drawRect(1, 1, w - 3, h - 3);
    const int bar = BarWidth();
    m_filled = FilledFor(m_done);
    if (m_filled > 0)
        p.fillRect(2, 2, m_filled, h - 4, kDone);
    if (m_filled != bar)
        p.fillRect(m_filled + 2, 2, bar - m_filled, h - 4, kToDo);
}
