#pragma once

#include <QPointF>
#include <QRectF>

#include <vector>

// A closed interval of data values.
struct DataRange {
    double low = 0;
    double high = 0;

    double Span() const { return high - low; }
    // The range widened about its middle to at least `span`, so that a single value still has room.
    DataRange AtLeast(double span) const;
    // The range extended to take `value` in.
    void Include(double value);
};

// Maps data coordinates (x to the right, y upwards) into a rectangle of pixels (y downwards). The
// data fill the rectangle less `margin` pixels on every side and are centred in it; with equal scale
// a unit is as long across as up, the axis with less room setting the scale of both.
class PlotMapping {
public:
    PlotMapping() = default;
    PlotMapping(DataRange x, DataRange y, const QRectF& area, double margin, bool equalScale);

    QPointF Map(double x, double y) const { return QPointF(m_ox + m_sx * x, m_oy - m_sy * y); }
    // The data values at the edges of the whole rectangle, margins included.
    DataRange VisibleX() const;
    DataRange VisibleY() const;
    const QRectF& area() const { return m_area; }

private:
    QRectF m_area;
    double m_sx = 1;
    double m_sy = 1;
    double m_ox = 0;
    double m_oy = 0;
};

// Tick values within `range`: the multiples of a step of 1, 2 or 5 times a power of ten chosen so
// that about `count` of them fall in the range, the step never below `minStep`.
std::vector<double> NiceTicks(DataRange range, int count, double minStep = 0);
