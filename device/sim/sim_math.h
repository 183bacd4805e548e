// Vectors and rotation quaternions for the simulation: three doubles and four, with the few
// operations the dynamics, the orbit and the ground station need.
#pragma once

#include <cmath>

struct Vec3 {
    double x = 0;
    double y = 0;
    double z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator-(Vec3 a) {
    return {-a.x, -a.y, -a.z};
}
inline Vec3 operator*(double k, Vec3 a) {
    return {k * a.x, k * a.y, k * a.z};
}
inline double dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vec3 cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double norm(Vec3 a) {
    return std::sqrt(dot(a, a));
}
// Componentwise product: a diagonal inertia times a rate.
inline Vec3 scale(Vec3 a, Vec3 b) {
    return {a.x * b.x, a.y * b.y, a.z * b.z};
}

// w + xi + yj + zk. As an attitude it turns body axes into inertial ones.
struct Quat {
    double w = 1;
    double x = 0;
    double y = 0;
    double z = 0;
};

inline Quat operator+(Quat a, Quat b) {
    return {a.w + b.w, a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Quat operator*(double k, Quat a) {
    return {k * a.w, k * a.x, k * a.y, k * a.z};
}
// The Hamilton product a b.
inline Quat operator*(Quat a, Quat b) {
    return {a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z,
            a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
            a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
            a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w};
}
inline double norm(Quat a) {
    return std::sqrt(a.w * a.w + a.x * a.x + a.y * a.y + a.z * a.z);
}
inline Quat normalized(Quat a) {
    const double n = norm(a);
    return {a.w / n, a.x / n, a.y / n, a.z / n};
}

// R(q) v: a body vector in inertial axes (q of unit length).
inline Vec3 rotate(Quat q, Vec3 v) {
    const Vec3 u{q.x, q.y, q.z};
    const Vec3 t = 2.0 * cross(u, v);
    return v + q.w * t + cross(u, t);
}
// R(q)^T v: an inertial vector in body axes.
inline Vec3 rotate_back(Quat q, Vec3 v) {
    return rotate({q.w, -q.x, -q.y, -q.z}, v);
}

inline constexpr double PI = 3.14159265358979323846;
inline constexpr double DEG = PI / 180.0;
