// The satellite's heat: sunlight and the Earth's glow in, the CPU's heat, radiation out.
#pragma once

#include "sim_math.h"

// The Sun's direction for a Sun `beta` (rad) above the orbit plane, over the orbit argument
// `noon` (rad).
Vec3 sun_direction(double beta, double noon, double incl);
// False inside the Earth's cylindrical shadow: behind the Earth and less than an Earth radius
// from the line through its centre towards the Sun.
bool in_sunlight(Vec3 r_hat, double r_km, Vec3 sun, double earth_radius_km);

struct HeatBody {
    double capacity_j_k;
    double emissivity;
    double area_m2;
    double space_temp_k;
};

// The temperature (K) after `dt` seconds with `power_w` coming in:
// C dT/dt = P - eps sigma A (T^4 - T_space^4). Integrated in steps short against the time the
// body takes to settle, so that no choice of constants makes it swing.
double heat_step(double temp_k, double power_w, const HeatBody& body, double dt);
// Where the temperature settles with `power_w` coming in, K.
double heat_equilibrium(double power_w, const HeatBody& body);

inline constexpr double STEFAN_BOLTZMANN = 5.670374419e-8;
inline constexpr double ZERO_CELSIUS_K = 273.15;
