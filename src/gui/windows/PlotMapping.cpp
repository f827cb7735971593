#include "gui/windows/PlotMapping.h"

#include <algorithm>
#include <cmath>

DataRange DataRange::AtLeast(double span) const {
    if (Span() >= span)
        return *this;
    const double middle = (low + high) / 2;
    return {middle - span / 2, middle + span / 2};
}

void DataRange::Include(double value) {
    low = std::min(low, value);
    high = std::max(high, value);
}

PlotMapping::PlotMapping(DataRange x, DataRange y, const QRectF& area, double margin, bool equalScale)
    : m_area(area) {
    // A rectangle too small for its margins keeps at least a point in the middle.
    margin = std::max(0.0, std::min({margin, (area.width() - 1) / 2, (area.height() - 1) / 2}));
    const QRectF inner = area.adjusted(margin, margin, -margin, -margin);
    const double xSpan = x.Span() > 0 ? x.Span() : 1;
    const double ySpan = y.Span() > 0 ? y.Span() : 1;
    m_sx = std::max(inner.width(), 0.0) / xSpan;
    m_sy = std::max(inner.height(), 0.0) / ySpan;
    if (equalScale)
        m_sx = m_sy = std::min(m_sx, m_sy);
    m_ox = inner.center().x() - m_sx * (x.low + x.high) / 2;
    m_oy = inner.center().y() + m_sy * (y.low + y.high) / 2;
}

DataRange PlotMapping::VisibleX() const {
    if (m_sx <= 0)
        return {};
    return {(m_area.left() - m_ox) / m_sx, (m_area.right() - m_ox) / m_sx};
}

DataRange PlotMapping::VisibleY() const {
    if (m_sy <= 0)
        return {};
    return {(m_oy - m_area.bottom()) / m_sy, (m_oy - m_area.top()) / m_sy};
}

std::vector<double> NiceTicks(DataRange range, int count, double minStep) {
    std::vector<double> ticks;
    if (!(range.Span() > 0) || count < 1 || !std::isfinite(range.Span()))
        return ticks;
    const double rough = std::max(range.Span() / count, minStep);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power;
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        step = factor * power;
        if (step >= rough)
            break;
    }
    for (double k = std::ceil(range.low / step); k * step <= range.high; k += 1)
        ticks.push_back(k * step == 0 ? 0.0 : k * step); // no "-0"
    return ticks;
}
