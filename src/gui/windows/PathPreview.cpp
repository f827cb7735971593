#include "gui/windows/PathPreview.h"

#include "core/protocol/ArmProfile.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace {

// Room around the data inside a plot, so that the marks at its edges are drawn whole.
constexpr double kDataMargin = 14;
// The smallest ranges shown: a single Cartesian point sits in a 10 mm square, a constant joint in a
// band of 10 units, a single line between lines 0 and 2.
constexpr double kMinMillimetres = 10;
constexpr double kMinJointSpan = 10;
constexpr double kMinLineSpan = 2;
// Each point gets a dot while there are few enough of them to tell apart.
constexpr size_t kMaxDottedPoints = 400;

const QColor kPathColour(31, 78, 154);
const QColor kFirstColour(46, 125, 50);
const QColor kLastColour(198, 40, 40);
const QColor kSelectedColour(255, 143, 0);
const QColor kGridColour(228, 228, 228);
const QColor kZeroColour(170, 170, 170);
const QColor kJointColours[ArmProfile::kMaxAxes] = {QColor(31, 119, 180), QColor(214, 39, 40),
                                                    QColor(44, 160, 44),  QColor(148, 103, 189),
                                                    QColor(140, 86, 75),  QColor(23, 190, 207)};
const char* const kDefaultAxisNames[3] = {"X", "Y", "Z"};
// The three projections: the value shown across and the value shown up.
const int kProjections[3][2] = {{0, 1}, {0, 2}, {1, 2}};

QString TickText(double value) {
    return QString::number(value, 'g', 7);
}

void DrawFirstMark(QPainter& painter, const QPointF& at) {
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(kFirstColour);
    painter.drawEllipse(at, 5.5, 5.5);
}

// Larger than the first point's circle, so that on a closed path, where the circle is drawn over it,
// its corners still show.
void DrawLastMark(QPainter& painter, const QPointF& at) {
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(kLastColour);
    painter.drawRect(QRectF(at.x() - 7.5, at.y() - 7.5, 15, 15));
}

void DrawSelectedMark(QPainter& painter, const QPointF& at, double radius = 9) {
    painter.setPen(QPen(kSelectedColour, 2.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(at, radius, radius);
}

// As many ticks as their labels leave room for, side by side (judged by the widest whole number in
// the range) or one above the other.
int TickCount(const QFontMetricsF& fm, DataRange range, double room, bool across) {
    const double widest = std::max(std::abs(range.low), std::abs(range.high));
    const double label =
        across ? fm.horizontalAdvance(QString("-%1").arg(std::ceil(widest))) + 16 : fm.height() * 2;
    return std::max(2, static_cast<int>(room / label));
}

} // namespace

PathPreview::PathPreview(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
}

void PathPreview::SetLines(std::vector<PositionRecord> lines, bool cartesian) {
    m_lines = std::move(lines);
    m_cartesian = cartesian;
    m_points.clear();
    m_names.clear();
    const ArmProfile& arm = armProfile();
    if (cartesian) {
        for (int i = 0; i < 3; ++i) {
            const QString name = QString::fromStdString(arm.AxisName(i));
            m_names << (name.isEmpty() ? kDefaultAxisNames[i] : name);
        }
    } else {
        m_series = JointCount();
        for (int j = 0; j < m_series; ++j)
            m_names << QString::fromStdString(arm.JointName(j));
    }
    const uint16_t wanted = cartesian ? poscode::kCartesian : poscode::kJoint;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const PositionRecord& line = m_lines[i];
        if (line.code != wanted)
            continue;
        Point point;
        point.line = static_cast<int>(i) + 1;
        for (int v = 0; v < 6; ++v)
            point.v[v] = cartesian ? line.values[v] * 0.1 : line.values[v];
        m_points.push_back(point);
    }
    update();
}

void PathPreview::SetSelectedLine(int line) {
    if (line == m_selected)
        return;
    m_selected = line;
    update();
}

int PathPreview::PanelCount() const {
    if (m_points.empty())
        return 0;
    return m_cartesian ? 3 : 1;
}

const PathPreview::Point* PathPreview::Find(int line) const {
    const auto it = std::lower_bound(m_points.begin(), m_points.end(), line,
                                     [](const Point& p, int l) { return p.line < l; });
    return it != m_points.end() && it->line == line ? &*it : nullptr;
}

std::vector<PathPreview::Panel> PathPreview::Panels() const {
    std::vector<Panel> panels(static_cast<size_t>(PanelCount()));
    if (panels.empty())
        return panels;
    const QFontMetricsF fm(font());
    const double pad = 6;
    const double legend = fm.height() + 10;
    const double gap = 14;
    const QRectF content = QRectF(rect()).adjusted(pad, pad + legend, -pad, -pad);
    const double n = static_cast<double>(panels.size());
    const double width = (content.width() - gap * (n - 1)) / n;
    const double left = fm.horizontalAdvance(m_cartesian ? "-3000.5" : "-32768") + 8;
    const double top = fm.height() + 8;
    const double bottom = 2 * fm.height() + 8;

    for (size_t i = 0; i < panels.size(); ++i) {
        Panel& panel = panels[i];
        panel.frame = QRectF(content.left() + static_cast<double>(i) * (width + gap), content.top(), width,
                             content.height());
        panel.plot = panel.frame.adjusted(left, top, -4, -bottom);
        DataRange across;
        DataRange up;
        if (m_cartesian) {
            panel.across = kProjections[i][0];
            panel.up = kProjections[i][1];
            panel.acrossTitle = m_names[panel.across] + " (mm)";
            panel.upTitle = m_names[panel.up] + " (mm)";
            panel.title = m_names[panel.across] + " / " + m_names[panel.up];
            across = {m_points.front().v[panel.across], m_points.front().v[panel.across]};
            up = {m_points.front().v[panel.up], m_points.front().v[panel.up]};
            for (const Point& p : m_points) {
                across.Include(p.v[panel.across]);
                up.Include(p.v[panel.up]);
            }
            panel.map = PlotMapping(across.AtLeast(kMinMillimetres), up.AtLeast(kMinMillimetres), panel.plot,
                                    kDataMargin, true);
        } else {
            panel.across = -1;
            panel.acrossTitle = "Line";
            panel.upTitle = "Joint value";
            panel.title = "Joints";
            across = {1, static_cast<double>(m_lines.size())};
            up = {m_points.front().v[0], m_points.front().v[0]};
            for (const Point& p : m_points)
                for (int j = 0; j < m_series; ++j)
                    up.Include(p.v[j]);
            panel.map = PlotMapping(across.AtLeast(kMinLineSpan), up.AtLeast(kMinJointSpan), panel.plot,
                                    kDataMargin, false);
        }
    }
    return panels;
}

QRectF PathPreview::PlotArea(int panel) const {
    const std::vector<Panel> panels = Panels();
    return panel >= 0 && panel < static_cast<int>(panels.size()) ? panels[static_cast<size_t>(panel)].plot
                                                                 : QRectF();
}

QPointF PathPreview::Place(const Panel& panel, const Point& point, int value) const {
    const double across = panel.across < 0 ? point.line : point.v[panel.across];
    return panel.map.Map(across, point.v[value]);
}

std::optional<QPointF> PathPreview::PointPosition(int panel, int line, int joint) const {
    const std::vector<Panel> panels = Panels();
    const Point* point = Find(line);
    if (!point || panel < 0 || panel >= static_cast<int>(panels.size()))
        return std::nullopt;
    const Panel& p = panels[static_cast<size_t>(panel)];
    if (!m_cartesian && (joint < 0 || joint >= m_series))
        return std::nullopt;
    return Place(p, *point, m_cartesian ? p.up : joint);
}

std::pair<QString, QString> PathPreview::AxisTitles(int panel) const {
    const std::vector<Panel> panels = Panels();
    if (panel < 0 || panel >= static_cast<int>(panels.size()))
        return {};
    const Panel& p = panels[static_cast<size_t>(panel)];
    return {p.acrossTitle, p.upTitle};
}

QStringList PathPreview::SeriesNames() const {
    return m_cartesian ? QStringList() : m_names;
}

void PathPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const std::vector<Panel> panels = Panels();
    if (panels.empty()) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(rect(), Qt::AlignCenter,
                         m_cartesian ? "No Cartesian positions to show" : "No joint positions to show");
        return;
    }
    const QFontMetricsF fm(font());
    PaintLegend(painter, QRectF(6, 6, width() - 12, fm.height() + 4));
    for (const Panel& panel : panels)
        PaintPanel(painter, panel);
}

void PathPreview::PaintPanel(QPainter& painter, const Panel& panel) const {
    painter.save();
    painter.setPen(QPen(kZeroColour, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(panel.plot);
    PaintAxes(painter, panel);
    painter.setClipRect(panel.plot.adjusted(1, 1, -1, -1));
    if (m_cartesian)
        PaintPath(painter, panel);
    else
        PaintJoints(painter, panel);
    painter.restore();
}

void PathPreview::PaintAxes(QPainter& painter, const Panel& panel) const {
    const QFontMetricsF fm(font());
    const QRectF& plot = panel.plot;
    const QColor text = palette().color(QPalette::WindowText);
    const double minAcross = panel.across < 0 ? 1 : 0; // line numbers are whole
    const DataRange visibleAcross = panel.map.VisibleX();
    const int acrossCount = TickCount(fm, visibleAcross, plot.width(), true);
    const int upCount = TickCount(fm, panel.map.VisibleY(), plot.height(), false);
    for (double t : NiceTicks(visibleAcross, acrossCount, minAcross)) {
        const double x = panel.map.Map(t, 0).x();
        painter.setPen(QPen(t == 0 && panel.across >= 0 ? kZeroColour : kGridColour, 1));
        painter.drawLine(QPointF(x, plot.top() + 1), QPointF(x, plot.bottom() - 1));
        painter.setPen(text);
        const QString label = TickText(t);
        const double w = fm.horizontalAdvance(label);
        painter.drawText(QPointF(x - w / 2, plot.bottom() + fm.ascent() + 3), label);
    }
    for (double t : NiceTicks(panel.map.VisibleY(), upCount)) {
        const double y = panel.map.Map(0, t).y();
        painter.setPen(QPen(t == 0 ? kZeroColour : kGridColour, 1));
        painter.drawLine(QPointF(plot.left() + 1, y), QPointF(plot.right() - 1, y));
        painter.setPen(text);
        const QString label = TickText(t);
        const double w = fm.horizontalAdvance(label);
        painter.drawText(QPointF(plot.left() - w - 4, y + fm.ascent() / 2 - 1), label);
    }
    painter.setPen(text);
    const QRectF below(panel.frame.left(), plot.bottom() + fm.height() + 4, panel.frame.width(), fm.height());
    painter.drawText(below.adjusted(plot.left() - panel.frame.left(), 0, 0, 0), Qt::AlignHCenter,
                     panel.acrossTitle);
    const QRectF above(panel.frame.left(), panel.frame.top(), panel.frame.width(), fm.height() + 4);
    painter.drawText(above, Qt::AlignLeft | Qt::AlignVCenter, panel.upTitle);
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.drawText(above.adjusted(plot.left() - panel.frame.left(), 0, 0, 0), Qt::AlignCenter, panel.title);
    painter.setFont(font());
}

void PathPreview::PaintPath(QPainter& painter, const Panel& panel) const {
    QPolygonF path;
    path.reserve(static_cast<int>(m_points.size()));
    for (const Point& p : m_points)
        path << Place(panel, p, panel.up);
    painter.setPen(QPen(kPathColour, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(path);
    if (m_points.size() <= kMaxDottedPoints) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(kPathColour);
        for (const QPointF& at : path)
            painter.drawEllipse(at, 2.2, 2.2);
    }
    DrawLastMark(painter, path.back());
    DrawFirstMark(painter, path.front());
    if (const Point* selected = Find(m_selected))
        DrawSelectedMark(painter, Place(panel, *selected, panel.up));
}

void PathPreview::PaintJoints(QPainter& painter, const Panel& panel) const {
    if (m_selected >= 1 && m_selected <= static_cast<int>(m_lines.size())) {
        const double x = panel.map.Map(m_selected, 0).x();
        painter.setPen(QPen(kSelectedColour, 2.5));
        painter.drawLine(QPointF(x, panel.plot.top()), QPointF(x, panel.plot.bottom()));
    }
    for (int j = 0; j < m_series; ++j) {
        QPolygonF curve;
        for (const Point& p : m_points)
            curve << Place(panel, p, j);
        painter.setPen(QPen(kJointColours[j], 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPolyline(curve);
        if (m_points.size() <= kMaxDottedPoints) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(kJointColours[j]);
            for (const QPointF& at : curve)
                painter.drawEllipse(at, 2.4, 2.4);
        }
    }
}

void PathPreview::PaintLegend(QPainter& painter, const QRectF& strip) const {
    const QFontMetricsF fm(font());
    const double mid = strip.center().y();
    const double baseline = mid + fm.ascent() / 2 - 1;
    double x = strip.left() + 8;
    auto entry = [&](const QString& text, auto drawMark) {
        drawMark(QPointF(x, mid));
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QPointF(x + 12, baseline), text);
        x += 12 + fm.horizontalAdvance(text) + 20;
    };
    if (m_cartesian) {
        entry(QString("first (line %1)").arg(m_points.front().line),
              [&](QPointF at) { DrawFirstMark(painter, at); });
        entry(QString("last (line %1)").arg(m_points.back().line),
              [&](QPointF at) { DrawLastMark(painter, at); });
        if (const Point* selected = Find(m_selected)) {
            entry(QString("selected (line %1)").arg(m_selected),
                  [&](QPointF at) { DrawSelectedMark(painter, at, 6); });
            QString where = QString("line %1:").arg(m_selected);
            for (int axis = 0; axis < 3; ++axis)
                where += QString("  %1 %2").arg(m_names[axis]).arg(selected->v[axis], 0, 'f', 1);
            painter.drawText(strip, Qt::AlignRight | Qt::AlignVCenter, where + " mm");
        }
        const int count = static_cast<int>(m_points.size());
        painter.drawText(QPointF(x, baseline),
                         count == 1 ? QString("1 point") : QString("%1 points").arg(count));
        return;
    }
    for (int j = 0; j < m_series; ++j) {
        entry(m_names[j], [&](QPointF at) {
            painter.setPen(QPen(kJointColours[j], 3));
            painter.drawLine(at - QPointF(6, 0), at + QPointF(6, 0));
        });
    }
    if (m_selected >= 1 && m_selected <= static_cast<int>(m_lines.size()))
        entry(QString("selected (line %1)").arg(m_selected), [&](QPointF at) {
            painter.setPen(QPen(kSelectedColour, 2.5));
            painter.drawLine(at - QPointF(0, 6), at + QPointF(0, 6));
        });
}
