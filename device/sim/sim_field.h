// The circular orbit and the Earth's magnetic field along it, in inertial axes: x towards the
// orbit's ascending node, z along the Earth's axis.
#pragma once

#include "sim_math.h"

// Mean motion of a circular orbit of radius r_km, rad/s: sqrt(mu / r^3).
double orbit_rate(double r_km, double mu_km3_s2);
// The unit vector to the satellite at orbit argument u (rad) on an orbit inclined by `incl`:
// (cos u, sin u cos i, sin u sin i).
Vec3 orbit_direction(double u, double incl);
// Its derivative by u: the direction of flight.
Vec3 orbit_along(double u, double incl);
// The orbit plane's normal: the direction of the orbit's angular momentum.
Vec3 orbit_normal(double incl);

// A vector fixed to the Earth (x to the Greenwich meridian, z to the north pole) in inertial
// axes, when the Greenwich meridian stands at `earth_angle` (rad) from the ascending node.
Vec3 earth_to_inertial(Vec3 v, double earth_angle);

// The unit vector of the Earth's dipole moment, fixed to the Earth: it points south, tilted by
// `tilt` (rad) from the axis towards east longitude `tilt_lon`.
Vec3 dipole_axis(double tilt, double tilt_lon);
// The dipole's field at distance r_km in direction r_hat, tesla:
// B0 (R_E/r)^3 (3 (m.r) r - m), with m the dipole's unit vector.
Vec3 dipole_field(Vec3 r_hat, double r_km, Vec3 m_hat, double b0_t, double earth_radius_km);
