#pragma once

#include <cmath>

// A point or direction in the arm's Cartesian space, in millimetres, double precision.
struct Vector3 {
    double x = 0;
    double y = 0;
    double z = 0;
};

inline Vector3 operator+(const Vector3& a, const Vector3& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vector3 operator-(const Vector3& a, const Vector3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vector3 operator*(const Vector3& a, double s) {
    return {a.x * s, a.y * s, a.z * s};
}
inline Vector3 Cross(const Vector3& a, const Vector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double Norm(const Vector3& v) {
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}
// Each component divided by the length; a zero vector gives non-numbers.
inline Vector3 Normalised(const Vector3& v) {
    const double n = Norm(v);
    return {v.x / n, v.y / n, v.z / n};
}
