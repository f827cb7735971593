#include "gui/windows/PathPreview.h"
#include "support/FixedArm.h"
#include "support/WindowTest.h"

#include <algorithm>
#include <cmath>

namespace {

PositionRecord Line(std::uint16_t code, std::initializer_list<int> values) {
    PositionRecord r{{}, code};
    std::copy(values.begin(), values.end(), r.values);
    return r;
}

} // namespace

class PathPreviewTest : public QObject {
    Q_OBJECT

private slots:
    // Lines 1, 4 and 5 are drawn at (0, 0, 0), (100, 0, 0) and (100, 50, 20) mm; a function line and a
    // relative line far away are left out, so the three points alone fill each projection.
    void cartesianPointsFillEachProjectionAtOneScale() {
        FixedArm arm(6, 6);
        arm.axisNames = {"East", "North", "Up", "pitch", "roll", "yaw"};
        PathPreview preview;
        preview.resize(960, 380);
        preview.SetLines({Line(2, {0, 0, 0}), Line(345, {7}), Line(3, {9000, 9000, 9000}),
                          Line(2, {1000, 0, 0}), Line(2, {1000, 500, 200})},
                         true);
        QCOMPARE(preview.PanelCount(), 3);
        QCOMPARE(preview.AxisTitles(0).first + preview.AxisTitles(2).second, QString("East (mm)Up (mm)"));
        const double extent[3][2] = {{100, 50}, {100, 20}, {50, 20}};
        for (int view = 0; view < 3; ++view) {
            QVERIFY(!preview.PointPosition(view, 2) && !preview.PointPosition(view, 3));
            QPolygonF points;
            for (int line : {1, 4, 5})
                points << *preview.PointPosition(view, line);
            const QRectF box = points.boundingRect(), area = preview.PlotArea(view);
            QVERIFY(area.contains(box) && QLineF(box.center(), area.center()).length() < 1e-6);
            QVERIFY(std::abs(box.width() / extent[view][0] - box.height() / extent[view][1]) < 1e-9);
            QVERIFY(std::max(box.width() / area.width(), box.height() / area.height()) > 0.8);
            QVERIFY(points[2].y() < points[1].y()); // up is up
        }
    }

    // Extreme values stay inside the plots; a single Cartesian point sits in the middle of each.
    void degenerateRoutesStayInTheirPlots() {
        FixedArm arm(6, 6);
        const std::pair<std::vector<PositionRecord>, bool> cases[] = {
            {{Line(2, {123, -45, 6})}, true},
            {{Line(2, {-32768, -32768, -32768}), Line(2, {32767, 32767, 32767}), Line(2, {32767, -32768, 0})},
             true},
            {{Line(0, {-32768, 32767, 0, 1, 2, 3})}, false}};
        for (const auto& [lines, cartesian] : cases) {
            PathPreview preview;
            preview.resize(700, 300);
            preview.SetLines(lines, cartesian);
            QVERIFY(preview.PanelCount() > 0);
            for (int panel = 0; panel < preview.PanelCount(); ++panel)
                for (int line = 1; line <= int(lines.size()); ++line)
                    for (int joint = 0; joint < (cartesian ? 1 : 6); ++joint) {
                        const QPointF at = *preview.PointPosition(panel, line, joint);
                        const QRectF area = preview.PlotArea(panel);
                        const bool centred = QLineF(at, area.center()).length() < 1e-6;
                        QVERIFY(area.contains(at) && (lines.size() > 1 || !cartesian || centred));
                    }
        }
        PathPreview empty;
        empty.SetLines({Line(345, {1}), Line(18, {100})}, true);
        QCOMPARE(empty.PanelCount(), 0);
    }

    // A joint route plots the profile's joints against the line number, line 2 (a function line) and
    // line 4 (Cartesian) included in the numbering but not drawn.
    void jointPlotNamesTheProfilesJoints() {
        FixedArm arm(4, 6);
        arm.jointNames = {"Base", "Lift", "Reach", "Turn", "Spare", "Other"};
        PathPreview preview;
        preview.resize(700, 300);
        preview.SetLines(
            {Line(0, {0, 100, -100, 50}), Line(345, {1}), Line(0, {1000, 100, -100, 50}), Line(2, {1, 2, 3})},
            false);
        QCOMPARE(preview.SeriesNames().join(",") + QString::number(preview.PanelCount()),
                 "Base,Lift,Reach,Turn1");
        QVERIFY(!preview.PointPosition(0, 2) && !preview.PointPosition(0, 4) &&
                !preview.PointPosition(0, 1, 4));
        const QPointF first = *preview.PointPosition(0, 1, 0);
        const QPointF third = *preview.PointPosition(0, 3, 0);
        QVERIFY(third.y() < first.y());
        const double perLine = (third.x() - first.x()) / 2;
        const QRectF area = preview.PlotArea(0);
        QVERIFY(perLine > 0 &&
                std::abs((first.x() - area.left()) - (area.right() - (first.x() + 3 * perLine))) < 1e-6);
    }
};

MARLIX_WINDOW_TEST(PathPreviewTest)
#include "PathPreviewTest.moc"
