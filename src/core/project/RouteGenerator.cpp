#include "core/project/RouteGenerator.h"

#include "core/project/ContourLine.h"
#include "core/project/Vector3.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;

Vector3 PointOf(const PositionRecord& line) {
    return {ContourParameter(line.values[0]), ContourParameter(line.values[1]),
            ContourParameter(line.values[2])};
}

// A coordinate in tenths: rounded to single precision, then converted like a typed parameter.
std::int16_t CoordinateTenths(double v) {
    return ContourTenths(static_cast<float>(v));
}

// The number of points a segment of `extent` takes at `step`, or 0 when that is not a positive
// finite number (a zero or negative extent, a step of 0).
std::int64_t PointCount(double extent, double step) {
    const double count = std::ceil(extent / step);
    return count >= 1 && std::isfinite(count) ? static_cast<std::int64_t>(count) : 0;
}

class ContourWalk {
public:
    ContourWalk(GeneratedRoute& out, int capacity) : m_out(out), m_capacity(std::max(capacity, 0)) {}

    void SetStep(double step) { m_step = step; }

    void SetFrame(const PositionRecord& start, const Vector3& directionPoint, const Vector3& leftPoint) {
        const Vector3 s = PointOf(start);
        m_position = s;
        std::copy(start.values + 3, start.values + 6, m_orientation.begin());
        Emit(1, [&](std::int64_t) { return s; });
        m_direction = Normalised(directionPoint - s);
        const Vector3 left = Cross(m_direction, leftPoint - s);
        m_left = Normalised(Cross(left, m_direction));
    }

    void Line(double length) {
        const std::int64_t k = PointCount(length, m_step);
        if (k == 0)
            return;
        const double d = length / static_cast<double>(k);
        const Vector3 p = m_position, dir = m_direction;
        m_position = Emit(k, [&](std::int64_t j) { return p + dir * (static_cast<double>(j) * d); });
    }

    void Arc(double radius, double degrees) {
        const double t = degrees * kRadiansPerDegree;
        const std::int64_t k = PointCount(radius * t, m_step);
        if (k > 0) {
            const double d = t / static_cast<double>(k);
            const Vector3 centre = m_position + m_left * radius, dir = m_direction, left = m_left;
            m_position = Emit(k, [&](std::int64_t j) {
                const double phi = static_cast<double>(j) * d;
                return centre + dir * (radius * std::sin(phi)) - left * (radius * std::cos(phi));
            });
        }
        const Vector3 dir = m_direction * std::cos(t) + m_left * std::sin(t);
        m_left = m_left * std::cos(t) - m_direction * std::sin(t);
        m_direction = dir;
    }

private:
    // Emits points 1 to k of a segment and returns the last one. Points beyond the capacity are
    // counted but neither stored nor computed, except the last, which the walk goes on from.
    template <typename PointAt> Vector3 Emit(std::int64_t k, PointAt pointAt) {
        const auto room = static_cast<std::int64_t>(m_capacity - m_out.lines.size());
        for (std::int64_t j = 1; j <= std::min(k, room); ++j)
            m_out.lines.push_back(Generated(pointAt(j)));
        m_out.wantedPoints += k;
        return pointAt(k);
    }

    PositionRecord Generated(const Vector3& p) const {
        PositionRecord line;
        line.values[0] = CoordinateTenths(p.x);
        line.values[1] = CoordinateTenths(p.y);
        line.values[2] = CoordinateTenths(p.z);
        std::copy(m_orientation.begin(), m_orientation.end(), line.values + 3);
        line.code = poscode::kCartesian;
        return line;
    }

    GeneratedRoute& m_out;
    const std::size_t m_capacity;
    Vector3 m_position{0, 100, 0};
    Vector3 m_direction{1, 0, 0};
    Vector3 m_left{0, 1, 0};
    std::array<std::int16_t, 3> m_orientation{0, 0, 0};
    double m_step = 30;
};

} // namespace

GeneratedRoute GenerateRoute(const std::vector<PositionRecord>& program, int capacity) {
    GeneratedRoute out;
    ContourWalk walk(out, capacity);
    const std::size_t n = program.size();
    for (std::size_t i = 0; i < n; ++i) {
        const PositionRecord& line = program[i];
        const double a = ContourParameter(line.values[0]);
        switch (ContourCode(line)) {
        case contour::kArc:
            walk.Arc(a, ContourParameter(line.values[1]));
            break;
        case contour::kFrame:
            if (i + 3 >= n) {
                out.incompleteFrameLine = static_cast<int>(i + 1);
                return out;
            }
            walk.SetFrame(program[i + 1], PointOf(program[i + 2]), PointOf(program[i + 3]));
            i += 3;
            break;
        case contour::kLine:
            walk.Line(a);
            break;
        case contour::kIncrement:
            walk.SetStep(a);
            break;
        default:
            break;
        }
    }
    return out;
}
