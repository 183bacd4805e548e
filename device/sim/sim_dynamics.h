// The satellite as a rigid body: its attitude and rates, turned by the torque of its magnetic
// moment in the Earth's field, integrated with fourth-order Runge-Kutta.
#pragma once

#include "sim_math.h"

struct BodyState {
    Quat q;  // body to inertial
    Vec3 w;  // body rates, rad/s, in body axes
};

// One step of `dt` seconds for a body with principal moments `inertia` (kg m^2) and magnetic
// moment `dipole` (A m^2, body axes, held through the step) in a field given in inertial axes
// at the step's start, middle and end (tesla): I dw/dt = m x B_b - w x Iw, dq/dt = q (0, w)/2.
// The attitude comes out normalised.
BodyState body_step(const BodyState& s, Vec3 inertia, Vec3 dipole, const Vec3 field[3], double dt);

// Rotational energy 1/2 w.Iw, J.
double body_energy(const BodyState& s, Vec3 inertia);
// Angular momentum in inertial axes, N m s.
Vec3 body_momentum(const BodyState& s, Vec3 inertia);
