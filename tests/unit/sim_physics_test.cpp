// The simulated satellite's physics against what mechanics, the dipole and the heat balance
// say it must do. The tolerances are tight enough that a first-order integrator, a torque or a
// quaternion product the wrong way round, or a wrong sign in the field fails them.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "sim_dynamics.h"
#include "sim_field.h"
#include "sim_ground.h"
#include "sim_heat.h"
#include "simulation.h"

namespace {

constexpr double DT = SIM_STEP_MS / 1000.0;

Vec3 rotate_about(Vec3 v, Vec3 axis, double angle) {
    // Rodrigues' formula, axis of unit length.
    return std::cos(angle) * v + std::sin(angle) * cross(axis, v) +
           (1 - std::cos(angle)) * dot(axis, v) * axis;
}

BodyState free_steps(BodyState s, Vec3 inertia, int steps) {
    const Vec3 field[3] = {{1e-5, 2e-5, 3e-5}, {1e-5, 2e-5, 3e-5}, {1e-5, 2e-5, 3e-5}};
    for (int i = 0; i < steps; ++i) s = body_step(s, inertia, {}, field, DT);
    return s;
}

// Without torque the energy and the angular momentum in space axes stay as they were.
TEST(SimDynamics, TorqueFreeMotionKeepsEnergyAndMomentum) {
    const Vec3 inertia{2.0e-3, 2.1e-3, 1.7e-3};
    const BodyState start{normalized(Quat{0.9, 0.1, -0.3, 0.2}), {0.10, -0.08, 0.06}};
    const double e0 = body_energy(start, inertia);
    const Vec3 l0 = body_momentum(start, inertia);
    const BodyState end = free_steps(start, inertia, 60000);  // 600 s
    EXPECT_LT(std::fabs(body_energy(end, inertia) - e0) / e0, 1e-9);
    EXPECT_LT(norm(body_momentum(end, inertia) - l0) / norm(l0), 1e-9);
    EXPECT_NEAR(norm(end.q), 1.0, 1e-14);
}

// A body with two equal moments: in body axes the rate's x-y part turns at
// (I3 - I1) w3 / I1 while w3 stays; in space the symmetry axis cones about the angular
// momentum at |L| / I1.
TEST(SimDynamics, SymmetricBodyPrecessesAsTheClosedFormSays) {
    const Vec3 inertia{2.0e-3, 2.0e-3, 1.4e-3};
    const BodyState start{normalized(Quat{0.8, 0.3, 0.1, -0.2}), {0.05, 0.02, 0.3}};
    const double t = 600;
    const BodyState end = free_steps(start, inertia, 60000);

    const double omega = (inertia.z - inertia.x) * start.w.z / inertia.x;
    const double c = std::cos(omega * t);
    const double s = std::sin(omega * t);
    const Vec3 expected_w{start.w.x * c - start.w.y * s, start.w.x * s + start.w.y * c, start.w.z};
    EXPECT_LT(norm(end.w - expected_w), 1e-9);

    const Vec3 l = body_momentum(start, inertia);
    const Vec3 axis0 = rotate(start.q, {0, 0, 1});
    const Vec3 expected_axis = rotate_about(axis0, (1 / norm(l)) * l, norm(l) / inertia.x * t);
    EXPECT_LT(norm(rotate(end.q, {0, 0, 1}) - expected_axis), 1e-8);
}

// A magnet free to turn about z in a steady field swings with the period 2 pi sqrt(I / mB).
TEST(SimDynamics, CompassPendulumHasItsPeriod) {
    const Vec3 inertia{2.0e-3, 2.1e-3, 1.7e-3};
    const double m = 0.2;
    const double b = 30e-6;
    const Vec3 field[3] = {{b, 0, 0}, {b, 0, 0}, {b, 0, 0}};
    const double swing = 0.5 * DEG;
    BodyState s{{std::cos(swing / 2), 0, 0, std::sin(swing / 2)}, {}};
    const auto angle = [](const BodyState& st) { return 2 * std::atan2(st.q.z, st.q.w); };
    std::vector<double> crossings;  // times the angle passes 0 going up
    double previous = angle(s);
    for (int i = 1; i <= 60000; ++i) {
        s = body_step(s, inertia, {m, 0, 0}, field, DT);
        const double a = angle(s);
        if (previous < 0 && a >= 0) crossings.push_back(DT * (i - 1 + previous / (previous - a)));
        previous = a;
    }
    ASSERT_GE(crossings.size(), 4u);
    const double period = (crossings.back() - crossings.front()) / double(crossings.size() - 1);
    const double expected = 2 * PI * std::sqrt(inertia.z / (m * b));
    EXPECT_NEAR(period / expected, 1.0, 1e-3) << period << " s, expected " << expected;
    // It swings about the field, never further out than it started.
    EXPECT_LT(std::fabs(angle(s)), swing * 1.0001);
}

// B-dot: coils against the change of the field as the body sees it brake the tumbling. The
// energy never grows, and falls; with the sign turned round it grows.
TEST(SimDynamics, BdotNeverAddsEnergy) {
    const SimPreset p;
    const SimWorld w = sim_world(p);
    for (const int sign : {1, -1}) {
        SimState s = sim_initial_state(p, w);
        const double e0 = body_energy(s.body, p.inertia_kg_m2);
        Vec3 last = rotate_back(s.body.q, s.field_inertial);
        int coil[3] = {0, 0, 0};
        double e = e0;
        bool grew = false;
        for (int i = 0; i < 30000; ++i) {  // 300 s
            sim_step(s, p, w, coil, 4);
            const Vec3 now = rotate_back(s.body.q, s.field_inertial);
            const Vec3 change = now - last;
            last = now;
            const double k = -sign * 4e8;  // positions per tesla
            const double c[3] = {k * change.x, k * change.y, k * change.z};
            for (int a = 0; a < 3; ++a)
                coil[a] = static_cast<int>(std::fmax(-100, std::fmin(100, c[a])));
            const double next = body_energy(s.body, p.inertia_kg_m2);
            grew = grew || next > e * (1 + 1e-12);
            e = next;
        }
        if (sign > 0) {
            EXPECT_FALSE(grew);
            EXPECT_LT(e, 0.5 * e0);
        } else {
            EXPECT_GT(e, 1.5 * e0);
        }
    }
}

// The dipole's field: B0 (R/r)^3 pointing north at the magnetic equator, twice that pointing
// down at the magnetic poles.
TEST(SimField, DipoleAtTheEquatorAndThePoles) {
    const double b0 = 3.12e-5;
    const double re = 6371;
    const double r = 6871;
    const double k = b0 * std::pow(re / r, 3);
    const Vec3 axial = dipole_axis(0, 0);
    const Vec3 equator = dipole_field({1, 0, 0}, r, axial, b0, re);
    EXPECT_NEAR(equator.x, 0, 1e-15);
    EXPECT_NEAR(equator.z, k, 1e-15);
    const Vec3 north = dipole_field({0, 0, 1}, r, axial, b0, re);
    EXPECT_NEAR(north.z, -2 * k, 1e-15);
    // At the south pole the field leaves the ground: up there is -z.
    const Vec3 south = dipole_field({0, 0, -1}, r, axial, b0, re);
    EXPECT_NEAR(south.z, -2 * k, 1e-15);
    // On the ground at the equator: B0 itself.
    EXPECT_NEAR(norm(dipole_field({0, 1, 0}, re, axial, b0, re)), b0, 1e-15);

    // A tilted dipole: its poles are where its axis meets the sphere, its equator square to it.
    const Vec3 tilted = dipole_axis(11 * DEG, 70 * DEG);
    EXPECT_NEAR(norm(tilted), 1, 1e-15);
    EXPECT_LT(tilted.z, 0);  // the moment points south
    const Vec3 at_pole = dipole_field(-tilted, r, tilted, b0, re);
    EXPECT_LT(norm(at_pole - 2 * k * tilted), 1e-15);
    const Vec3 square = (1 / norm(cross(tilted, {1, 0, 0}))) * cross(tilted, {1, 0, 0});
    EXPECT_LT(norm(dipole_field(square, r, tilted, b0, re) + k * tilted), 1e-15);

    // Along a polar orbit the simulation passes the equator and then the pole.
    SimPreset polar;
    polar.orbit_inclination_deg = 90;
    const SimWorld w = sim_world(polar);
    const double quarter = PI / 2 / w.n;
    EXPECT_LT(norm(sim_field_at(polar, w, 0) - Vec3{0, 0, k}), 1e-12);
    EXPECT_LT(norm(sim_field_at(polar, w, quarter) - Vec3{0, 0, -2 * k}), 1e-12);
    EXPECT_NEAR(2 * PI / w.n / 60, 94.47, 0.01);  // the period in minutes
}

// A tilted dipole through a preset: its northern pole lies at colatitude TILT and east longitude
// TILT_LON of the Earth, where the field points straight down at twice its equator's strength.
// The orbit is laid to pass over that point at the start, the Earth turned to put it there.
TEST(SimField, ATiltedPresetHasItsPoleWhereItsLongitudeSays) {
    SimPreset p;
    p.field_tilt_deg = 11;
    p.field_tilt_lon_deg = -72;
    p.orbit_inclination_deg = 79;  // the pole's latitude
    p.orbit_start_deg = 90;        // the northernmost point, at inertial longitude 90
    p.earth_angle_start_deg = 90 - (-72);
    const SimWorld w = sim_world(p);
    const double k = p.field_b0_t * std::pow(p.earth_radius_km / w.r_km, 3);
    const Vec3 up = orbit_direction(w.u0, w.incl);
    EXPECT_LT(norm(sim_field_at(p, w, 0) + 2 * k * up), 1e-12 * k);
    // Over the other side's longitude the field is not radial.
    p.earth_angle_start_deg = 90 - 72;
    const Vec3 mirrored = sim_field_at(p, sim_world(p), 0);
    EXPECT_GT(norm(cross(mirrored, up)), 0.1 * k);
}

// One clock for the whole orbit. Over the station of a pass the field is the dipole's at the
// station's latitude: B0 (R/r)^3 sqrt(1 + 3 sin^2 lat), dipping atan(2 tan lat) into the ground.
// The shadow begins where the orbit has carried the satellite pi - asin(R/r) past the Sun's
// noon, at the orbit's mean motion times the preset's speed-up.
TEST(SimField, TheFieldTheShadowAndTheStationGoByOneOrbitClock) {
    struct Case {
        const char* preset;
        double seconds;  // long enough for the shadow to begin
    };
    for (const Case c : {Case{"ground_pass", 120}, Case{"tumbling_1u", 1800}}) {
        const SimPreset p = sim_preset_parse(sim_find_shipped(c.preset)->text).preset;
        const SimWorld w = sim_world(p);
        SimState s = sim_initial_state(p, w);
        const int coil[3] = {};
        double top_elevation = -PI;
        Vec3 top_field;
        Vec3 top_up;
        double shadow_at = -1;
        while (s.time_ms < static_cast<int64_t>(c.seconds * 1000)) {
            sim_step(s, p, w, coil, 0);
            if (!s.sunlit && shadow_at < 0) shadow_at = static_cast<double>(s.time_ms) / 1000;
            const OrbitPlace now = sim_orbit_at(w, static_cast<double>(s.time_ms) / 1000);
            const StationView v = station_view(w.r_km * now.up, {}, w.lat, w.lon,
                                               now.earth_angle, 0, p.earth_radius_km);
            if (v.elevation > top_elevation) {
                top_elevation = v.elevation;
                top_field = s.field_inertial;
                top_up = now.up;
            }
        }
        const double r = p.earth_radius_km + p.orbit_altitude_km;
        const double mean_motion = std::sqrt(p.earth_mu_km3_s2 / (r * r * r));
        const double to_shadow = PI - std::asin(p.earth_radius_km / r) -
                                 (p.orbit_start_deg - p.sun_noon_deg) * DEG;
        EXPECT_NEAR(shadow_at, to_shadow / (mean_motion * p.env_speedup), 0.02) << c.preset;
        if (std::string(c.preset) != "ground_pass") continue;
        // Overhead the 48 degree north station: about 40 uT, dipping about 66 degrees.
        const double lat = p.station_lat_deg * DEG;
        EXPECT_GT(top_elevation, 89 * DEG);
        const double strength = p.field_b0_t * std::pow(p.earth_radius_km / r, 3) *
                                std::sqrt(1 + 3 * std::sin(lat) * std::sin(lat));
        EXPECT_NEAR(norm(top_field) * 1e6, strength * 1e6, 0.1);
        EXPECT_NEAR(strength * 1e6, 40.5, 0.1);
        const double dip = std::asin(-dot(top_field, top_up) / norm(top_field));
        EXPECT_NEAR(dip, std::atan(2 * std::tan(lat)), 0.5 * DEG);
        EXPECT_NEAR(dip / DEG, 65.8, 0.1);
    }
}

TEST(SimHeat, SunlightShadowAndBalance) {
    const double incl = 51.6 * DEG;
    const Vec3 sun = sun_direction(0, 0, incl);
    EXPECT_TRUE(in_sunlight(orbit_direction(0, incl), 6871, sun, 6371));    // noon
    EXPECT_FALSE(in_sunlight(orbit_direction(PI, incl), 6871, sun, 6371));  // midnight
    EXPECT_TRUE(in_sunlight(orbit_direction(PI / 2, incl), 6871, sun, 6371));
    // The shadow's edge: sin of the angle past the terminator = R/r.
    const double edge = PI / 2 + std::acos(6371.0 / 6871.0);
    EXPECT_TRUE(in_sunlight(orbit_direction(edge - 1e-6, incl), 6871, sun, 6371));
    EXPECT_FALSE(in_sunlight(orbit_direction(edge + 1e-6, incl), 6871, sun, 6371));
    // A Sun high over the orbit's plane never sets.
    const Vec3 high = sun_direction(75 * DEG, 0, incl);
    for (double u = 0; u < 2 * PI; u += 0.01) {
        ASSERT_TRUE(in_sunlight(orbit_direction(u, incl), 6871, high, 6371)) << u;
    }

    const HeatBody body{1200, 0.8, 0.06, 3};
    const double k = 0.8 * STEFAN_BOLTZMANN * 0.06;
    // Warming from 20 C with 24.4 W: a short step follows C dT/dt = P - k (T^4 - Ts^4).
    const double t0 = 293.15;
    const double slope = (24.4 - k * (std::pow(t0, 4) - 81)) / 1200;
    EXPECT_NEAR(heat_step(t0, 24.4, body, 0.01) - t0, 0.01 * slope, 1e-5 * std::fabs(0.01 * slope));
    EXPECT_GT(slope, 0);
    // Then it settles where the radiation carries off what comes in.
    double t = t0;
    for (int i = 0; i < 5000; ++i) t = heat_step(t, 24.4, body, 20);
    EXPECT_NEAR(t, heat_equilibrium(24.4, body), 1e-6);
    EXPECT_NEAR(k * (std::pow(t, 4) - 81), 24.4, 1e-6);
    // A tiny capacity and a long step do not make it swing past the balance.
    const HeatBody light{1, 0.8, 0.06, 3};
    EXPECT_NEAR(heat_step(t0, 24.4, light, 200), heat_equilibrium(24.4, light), 1e-6);
}

TEST(SimGround, ElevationStrengthAndDoppler) {
    const double re = 6371;
    const double r = 6871;
    const double v = r * orbit_rate(r, 398600.4418);
    // Straight overhead a station on the equator at longitude 0, Earth not turning.
    StationView zenith = station_view({r, 0, 0}, {0, v, 0}, 0, 0, 0, 0, re);
    EXPECT_NEAR(zenith.elevation, PI / 2, 1e-12);
    EXPECT_NEAR(zenith.range_km, 500, 1e-9);
    EXPECT_NEAR(zenith.range_rate, 0, 1e-12);
    EXPECT_EQ(link_strength(zenith.range_km, r, re), 255);
    // On the horizon: the slant range is the tangent's length.
    const double beyond = std::acos(re / r);
    const Vec3 at_horizon = r * Vec3{std::cos(beyond), std::sin(beyond), 0};
    const Vec3 leaving = v * Vec3{-std::sin(beyond), std::cos(beyond), 0};
    const StationView horizon = station_view(at_horizon, leaving, 0, 0, 0, 0, re);
    EXPECT_NEAR(horizon.elevation, 0, 1e-9);
    EXPECT_NEAR(horizon.range_km, std::sqrt(r * r - re * re), 1e-6);
    EXPECT_EQ(link_strength(horizon.range_km, r, re), 85);
    // Leaving, the range grows and the frequency falls; coming, the other way round.
    EXPECT_GT(horizon.range_rate, 0);
    EXPECT_LT(doppler_shift(horizon.range_rate, 437e6), 0);
    const StationView coming =
        station_view({at_horizon.x, -at_horizon.y, 0}, leaving, 0, 0, 0, 0, re);
    EXPECT_NEAR(coming.range_rate, -horizon.range_rate, 1e-12);
    // About 10 kHz at 437 MHz as it rises.
    EXPECT_NEAR(doppler_shift(coming.range_rate, 437e6), 10.3e3, 0.1e3);
    // The station turns with the Earth: 90 degrees of turning puts it at inertial y.
    const StationView turned = station_view({0, r, 0}, {}, 0, 0, PI / 2, 0, re);
    EXPECT_NEAR(turned.elevation, PI / 2, 1e-12);

    // The Earth turning: the station's own speed counts against the satellite's. A satellite at
    // rest east of the station is coming nearer as the station turns towards it, at the
    // station's speed along the line of sight; one turning with the Earth keeps its range.
    const double earth_rate = 7.2921e-5;
    const double east = 800;
    const StationView ahead = station_view({r, east, 0}, {}, 0, 0, 0, earth_rate, re);
    const double slant = std::hypot(r - re, east);
    EXPECT_NEAR(ahead.range_rate, -east * earth_rate * re / slant, 1e-12);
    EXPECT_GT(doppler_shift(ahead.range_rate, 437e6), 0);
    const Vec3 above = r * Vec3{std::cos(0.1), std::sin(0.1), 0};
    const StationView along =
        station_view(above, cross(Vec3{0, 0, earth_rate}, above), 0, 0, 0, earth_rate, re);
    EXPECT_NEAR(along.range_rate, 0, 1e-12);
}

}  // namespace
