#include "sim_heat.h"

#include <algorithm>
#include <cmath>

#include "sim_field.h"

Vec3 sun_direction(double beta, double noon, double incl) {
    return std::cos(beta) * orbit_direction(noon, incl) + std::sin(beta) * orbit_normal(incl);
}

bool in_sunlight(Vec3 r_hat, double r_km, Vec3 sun, double earth_radius_km) {
    const double along = dot(r_hat, sun);
    if (along >= 0) return true;
    const double off_axis = r_km * std::sqrt(std::max(0.0, 1.0 - along * along));
    return off_axis >= earth_radius_km;
}

double heat_step(double temp_k, double power_w, const HeatBody& body, double dt) {
    const double k = body.emissivity * STEFAN_BOLTZMANN * body.area_m2;
    const double space4 = std::pow(body.space_temp_k, 4);
    const auto rate = [&](double t) {
        return (power_w - k * (t * t * t * t - space4)) / body.capacity_j_k;
    };
    // The time to settle near T is C / (4 k T^3); a step of a tenth of it is well inside what
    // Runge-Kutta keeps steady.
    const double hottest = std::max(temp_k, heat_equilibrium(power_w, body));
    const double settle = body.capacity_j_k / (4.0 * k * hottest * hottest * hottest);
    // A body that settles in a hundredth of the step is at its balance by the step's end.
    if (dt > 100 * settle) return heat_equilibrium(power_w, body);
    const int steps = std::max(1, static_cast<int>(std::ceil(dt / (0.1 * settle))));
    const double h = dt / steps;
    double t = temp_k;
    for (int i = 0; i < steps; ++i) {
        const double k1 = rate(t);
        const double k2 = rate(t + 0.5 * h * k1);
        const double k3 = rate(t + 0.5 * h * k2);
        const double k4 = rate(t + h * k3);
        t += h / 6.0 * (k1 + 2.0 * k2 + 2.0 * k3 + k4);
    }
    return std::max(t, 0.0);
}

double heat_equilibrium(double power_w, const HeatBody& body) {
    const double k = body.emissivity * STEFAN_BOLTZMANN * body.area_m2;
    return std::pow(power_w / k + std::pow(body.space_temp_k, 4), 0.25);
}
