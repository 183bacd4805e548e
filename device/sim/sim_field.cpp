#include "sim_field.h"

#include <cmath>

double orbit_rate(double r_km, double mu_km3_s2) {
    return std::sqrt(mu_km3_s2 / (r_km * r_km * r_km));
}

Vec3 orbit_direction(double u, double incl) {
    const double su = std::sin(u);
    return {std::cos(u), su * std::cos(incl), su * std::sin(incl)};
}

Vec3 orbit_along(double u, double incl) {
    const double cu = std::cos(u);
    return {-std::sin(u), cu * std::cos(incl), cu * std::sin(incl)};
}

Vec3 orbit_normal(double incl) {
    return {0, -std::sin(incl), std::cos(incl)};
}

Vec3 earth_to_inertial(Vec3 v, double earth_angle) {
    const double c = std::cos(earth_angle);
    const double s = std::sin(earth_angle);
    return {c * v.x - s * v.y, s * v.x + c * v.y, v.z};
}

Vec3 dipole_axis(double tilt, double tilt_lon) {
    const double st = std::sin(tilt);
    return {-st * std::cos(tilt_lon), -st * std::sin(tilt_lon), -std::cos(tilt)};
}

Vec3 dipole_field(Vec3 r_hat, double r_km, Vec3 m_hat, double b0_t, double earth_radius_km) {
    const double ratio = earth_radius_km / r_km;
    const double k = b0_t * ratio * ratio * ratio;
    return k * (3.0 * dot(m_hat, r_hat) * r_hat - m_hat);
}
