#pragma once

#include "core/protocol/PositionRecord.h"
#include "gui/windows/PlotMapping.h"

#include <QStringList>
#include <QWidget>

#include <optional>
#include <utility>
#include <vector>

// A picture of a route's positions, drawn from the lines it is given (the route editor hands them
// over again whenever the route changes).
//
// A Cartesian route is drawn as three projections side by side (first and second axis, first and
// third, second and third), each at one scale across and up, in millimetres: its absolute Cartesian
// lines in line order, joined, the first marked with a circle, the last with a square, the selected
// one ringed. A joint route is drawn as one plot of each joint's value against the line number. Lines
// of the other kind, function and contour lines, and relative lines are left out: a relative line
// holds an offset whose base is settled only when the controller runs the route. The axis and joint
// names come from the arm profile when the lines are set.
class PathPreview : public QWidget {
    Q_OBJECT
public:
    explicit PathPreview(QWidget* parent = nullptr);

    // The route's lines, line 1 first, and whether the route is Cartesian.
    void SetLines(std::vector<PositionRecord> lines, bool cartesian);
    // The highlighted line, counted from 1; 0 for none.
    void SetSelectedLine(int line);
    int SelectedLine() const { return m_selected; }

    bool cartesian() const { return m_cartesian; }
    // Three projections for a Cartesian route, one plot for a joint route; none with nothing to draw.
    int PanelCount() const;
    // The rectangle a panel draws its data in, for the widget's present size.
    QRectF PlotArea(int panel) const;
    // Where a line's point is drawn in a panel (in the joint plot: the value of `joint`), or nothing
    // when the line is not drawn.
    std::optional<QPointF> PointPosition(int panel, int line, int joint = 0) const;
    // A panel's axis titles, across and up.
    std::pair<QString, QString> AxisTitles(int panel) const;
    // The names of the joint plot's curves.
    QStringList SeriesNames() const;

    QSize sizeHint() const override { return QSize(960, 380); }
    QSize minimumSizeHint() const override { return QSize(480, 220); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // A drawn line: its number and its values (millimetres for Cartesian lines).
    struct Point {
        int line = 0;
        double v[6] = {0, 0, 0, 0, 0, 0};
    };
    struct Panel {
        QRectF frame; // the panel with its titles and tick labels
        QRectF plot;  // where the data go
        PlotMapping map;
        int across = 0; // value index across, or -1 for the line number
        int up = 0;     // value index up (Cartesian panels)
        QString title;
        QString acrossTitle;
        QString upTitle;
    };

    std::vector<Panel> Panels() const;
    QPointF Place(const Panel& panel, const Point& point, int value) const;
    const Point* Find(int line) const;
    void PaintPanel(QPainter& painter, const Panel& panel) const;
    void PaintAxes(QPainter& painter, const Panel& panel) const;
    void PaintPath(QPainter& painter, const Panel& panel) const;
    void PaintJoints(QPainter& painter, const Panel& panel) const;
    void PaintLegend(QPainter& painter, const QRectF& strip) const;

    std::vector<PositionRecord> m_lines;
    std::vector<Point> m_points;
    bool m_cartesian = true;
    int m_selected = 0;
    int m_series = 0;    // joints plotted
    QStringList m_names; // axis names (Cartesian) or joint names
};
