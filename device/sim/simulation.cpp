#include "simulation.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "radio.h"
#include "sim_field.h"

Simulation simulation;

namespace {

struct SimSubscriber {
    SimListener listener;
    void* context;
};
std::array<SimSubscriber, MAX_SIM_SUBSCRIBERS> subscribers{};
int subscriber_count = 0;

constexpr double STEP_S = SIM_STEP_MS / 1000.0;

bool sunlit_at(const SimPreset& p, const SimWorld& w, double t) {
    return in_sunlight(sim_orbit_at(w, t).up, w.r_km, w.sun, p.earth_radius_km);
}

// The outputs that only the channels and the telemetry need: computed once per advance.
void observe(SimState& s, const SimPreset& p, const SimWorld& w) {
    s.orbit = sim_orbit_at(w, static_cast<double>(s.time_ms) / 1000.0);
    s.field_body = rotate_back(s.body.q, s.field_inertial);
    const Vec3 pos = w.r_km * s.orbit.up;
    // The orbit's own speed, however fast its clock goes: the Doppler shift is that of the orbit.
    const Vec3 vel = (w.r_km * w.n) * s.orbit.along;
    s.station = station_view(pos, vel, w.lat, w.lon, s.orbit.earth_angle, w.earth_rate,
                             p.earth_radius_km);
    s.in_view = s.station.elevation >= w.min_elevation;
    s.doppler_hz = doppler_shift(s.station.range_rate, p.radio_freq_mhz * 1e6);
}

long round_position(double v) {
    // Far outside every channel's range, and clamped there by channel_set.
    return std::lround(std::clamp(v, -1e6, 1e6));
}

// The state onto the device: the channels a statement would set, and the waterfall's trace.
void publish() {
    const SimState& s = simulation.state;
    channel_set(Channel::MagX, round_position(s.field_body.x * 1e6));
    channel_set(Channel::MagY, round_position(s.field_body.y * 1e6));
    channel_set(Channel::MagZ, round_position(s.field_body.z * 1e6));
    channel_set(Channel::Tem, round_position(s.temp_k - ZERO_CELSIUS_K));
    channel_set(Channel::Rx, s.in_view ? link_strength(s.station.range_km, simulation.world.r_km,
                                                       simulation.preset.earth_radius_km)
                                       : 0);
    const double columns = s.doppler_hz / simulation.preset.waterfall_hz_per_column;
    radio.tx_shift = static_cast<int32_t>(
        round_position(std::clamp(columns, -1.0 * SDR_WIDTH, 1.0 * SDR_WIDTH)));
    radio.tx_in_view = s.in_view;
    sim_notify_subscribers();
}

}  // namespace

bool sim_drives(Channel c) {
    return std::find(std::begin(SIM_DRIVEN), std::end(SIM_DRIVEN), c) != std::end(SIM_DRIVEN);
}

SimWorld sim_world(const SimPreset& p) {
    SimWorld w;
    w.r_km = p.earth_radius_km + p.orbit_altitude_km;
    w.n = orbit_rate(w.r_km, p.earth_mu_km3_s2);
    w.incl = p.orbit_inclination_deg * DEG;
    w.u0 = p.orbit_start_deg * DEG;
    w.earth_rate = p.earth_rate_deg_s * DEG;
    w.earth_angle0 = p.earth_angle_start_deg * DEG;
    w.dipole_fixed = dipole_axis(p.field_tilt_deg * DEG, p.field_tilt_lon_deg * DEG);
    w.sun = sun_direction(p.sun_beta_deg * DEG, p.sun_noon_deg * DEG, w.incl);
    w.heat = {p.heat_capacity_j_k, p.emissivity, p.radiator_area_m2, p.space_temp_k};
    w.speedup = p.env_speedup;
    w.lat = p.station_lat_deg * DEG;
    w.lon = p.station_lon_deg * DEG;
    w.min_elevation = p.station_min_elevation_deg * DEG;
    return w;
}

OrbitPlace sim_orbit_at(const SimWorld& w, double t) {
    const double orbit_s = w.speedup * t;
    OrbitPlace o;
    o.u = w.u0 + w.n * orbit_s;
    o.earth_angle = w.earth_angle0 + w.earth_rate * orbit_s;
    o.up = orbit_direction(o.u, w.incl);
    o.along = orbit_along(o.u, w.incl);
    return o;
}

Vec3 sim_field_at(const SimPreset& p, const SimWorld& w, double t) {
    const OrbitPlace o = sim_orbit_at(w, t);
    const Vec3 m_hat = earth_to_inertial(w.dipole_fixed, o.earth_angle);
    return dipole_field(o.up, w.r_km, m_hat, p.field_b0_t, p.earth_radius_km);
}

SimState sim_initial_state(const SimPreset& p, const SimWorld& w) {
    SimState s;
    s.body = {p.attitude_quat, p.rate_rad_s};
    s.temp_k = p.temp_start_c + ZERO_CELSIUS_K;
    s.field_inertial = sim_field_at(p, w, 0);
    s.sunlit = sunlit_at(p, w, 0);
    observe(s, p, w);
    return s;
}

void sim_step(SimState& s, const SimPreset& p, const SimWorld& w, const int coil[3], int speed) {
    const double t = static_cast<double>(s.time_ms) / 1000.0;
    const double m = p.coil_dipole_max_a_m2 / 100.0;
    const Vec3 dipole{m * coil[0], m * coil[1], m * coil[2]};
    const Vec3 field[3] = {s.field_inertial, sim_field_at(p, w, t + 0.5 * STEP_S),
                           sim_field_at(p, w, t + STEP_S)};
    s.body = body_step(s.body, p.inertia_kg_m2, dipole, field, STEP_S);
    const double rate = norm(s.body.w);
    if (!(rate <= SIM_MAX_RATE_RAD_S)) {
        s.body.w = std::isfinite(rate) ? (SIM_MAX_RATE_RAD_S / rate) * s.body.w : Vec3{};
    }
    s.field_inertial = field[2];

    // The heat goes on the orbit's clock, as the sunlight that warms it does.
    const double power =
        (s.sunlit ? p.sun_power_w : 0.0) + p.earth_power_w + p.cpu_power_w_per_step * speed;
    s.temp_k = heat_step(s.temp_k, power, w.heat, w.speedup * STEP_S);
    s.time_ms += SIM_STEP_MS;
    s.sunlit = sunlit_at(p, w, static_cast<double>(s.time_ms) / 1000.0);
}

void sim_reset(const SimPreset& preset) {
    simulation.preset = preset;
    sim_restart();
}

void sim_restart() {
    simulation.on = true;
    simulation.world = sim_world(simulation.preset);
    simulation.state = sim_initial_state(simulation.preset, simulation.world);
    simulation.held = false;
    publish();
}

void sim_off() {
    simulation.on = false;
    radio.tx_shift = 0;
    radio.tx_in_view = true;
}

void sim_advance_to(int64_t sim_ms) {
    if (!simulation.on || sim_ms < simulation.state.time_ms + SIM_STEP_MS) return;
    while (simulation.state.time_ms + SIM_STEP_MS <= sim_ms) {
        const int coil[3] = {channel_position(Channel::CoiX), channel_position(Channel::CoiY),
                             channel_position(Channel::CoiZ)};
        sim_step(simulation.state, simulation.preset, simulation.world, coil,
                 channel_position(Channel::Spd));
    }
    observe(simulation.state, simulation.preset, simulation.world);
    publish();
}

void sim_start_clock(int32_t program_ms) {
    simulation.origin_ms = program_ms;
    simulation.held = false;
}

namespace {

// Milliseconds from `from` to `to` on the 32-bit program clock, across its wrap; negative for a
// reading from before `from`.
int32_t clock_difference(int32_t from, int32_t to) {
    return static_cast<int32_t>(static_cast<uint32_t>(to) - static_cast<uint32_t>(from));
}

}  // namespace

void sim_follow(int32_t program_ms) {
    if (!simulation.on || simulation.held) return;
    // A reading older than the start (a clock value a host kept from before it) is no time at
    // all, not 49 days.
    const int32_t elapsed = clock_difference(simulation.origin_ms, program_ms);
    if (elapsed > 0) sim_advance_to(elapsed);
}

void sim_hold(int32_t program_ms) {
    if (simulation.held) return;
    sim_follow(program_ms);
    simulation.held = true;
    simulation.held_at_ms = program_ms;
}

void sim_release(int32_t program_ms) {
    if (!simulation.held) return;
    simulation.held = false;
    const int32_t paused = clock_difference(simulation.held_at_ms, program_ms);
    if (paused > 0) {
        simulation.origin_ms = static_cast<int32_t>(static_cast<uint32_t>(simulation.origin_ms) +
                                                    static_cast<uint32_t>(paused));
    }
}

double sim_series_value(int series) {
    const SimState& s = simulation.state;
    constexpr double PER_DEG = 1.0 / DEG;
    switch (series) {
        case SIM_RATE_X:
            return s.body.w.x * PER_DEG;
        case SIM_RATE_Y:
            return s.body.w.y * PER_DEG;
        case SIM_RATE_Z:
            return s.body.w.z * PER_DEG;
        case SIM_RATE:
            return norm(s.body.w) * PER_DEG;
        case SIM_FIELD:
            return norm(s.field_inertial) * 1e6;
        case SIM_SUNLIT:
            return s.sunlit ? 1 : 0;
        case SIM_ELEVATION:
            return s.station.elevation * PER_DEG;
        default:
            return 0;
    }
}

void sim_notify_subscribers() {
    for (int i = 0; i < subscriber_count; ++i) {
        const SimSubscriber& sub = subscribers[static_cast<size_t>(i)];
        sub.listener(sub.context);
    }
}

bool sim_subscribe(SimListener listener, void* context) {
    for (int i = 0; i < subscriber_count; ++i) {
        const SimSubscriber& s = subscribers[static_cast<size_t>(i)];
        if (s.listener == listener && s.context == context) return true;
    }
    if (subscriber_count == MAX_SIM_SUBSCRIBERS) return false;
    subscribers[static_cast<size_t>(subscriber_count++)] = {listener, context};
    return true;
}

void sim_unsubscribe(SimListener listener, void* context) {
    int kept = 0;
    for (int i = 0; i < subscriber_count; ++i) {
        const SimSubscriber s = subscribers[static_cast<size_t>(i)];
        if (s.listener != listener || s.context != context) {
            subscribers[static_cast<size_t>(kept++)] = s;
        }
    }
    subscriber_count = kept;
}
