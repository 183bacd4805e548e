// The simulated satellite as the device panel sees it: when a simulation is on, the
// magnetometer, the temperature and the received signal follow a satellite whose attitude the
// coils turn and whose heat the CPU-speed bar adds to, instead of the sliders. It moves on a
// fixed grid of 10 ms of the run's own time, so that a run without real waits gives the same
// numbers every time; the run session moves it on as the program clock goes.
//
// A host uses it like this: sim_reset(preset) turns it on; at RUN, sim_restart() and
// sim_start_clock(clock_ms()) (the run session does both in start()); then sim_follow(clock_ms())
// whenever the clock has been read anyway (the session does it at the start of each pass, every
// thousand statements, and when a DELAY's wait ends; a window calls it from a timer too while a
// DELAY waits); sim_hold()/sim_release() around a pause, so that time spent paused does not
// count; sim_off() when the simulation is turned off.
#pragma once

#include <cstdint>

#include "channels.h"
#include "sim_dynamics.h"
#include "sim_ground.h"
#include "sim_heat.h"
#include "sim_preset.h"

inline constexpr int SIM_STEP_MS = 10;
// Rates beyond this are cut back to it, so that a body spun up without end still integrates.
inline constexpr double SIM_MAX_RATE_RAD_S = 20;

// The channels the simulation drives while it is on: magnetometer, temperature, RX.
inline constexpr Channel SIM_DRIVEN[] = {Channel::MagX, Channel::MagY, Channel::MagZ, Channel::Tem,
                                         Channel::Rx};
bool sim_drives(Channel c);

// What the simulation shows beside the channels: the trace's extra columns and the charts'
// extra series, in this order.
enum SimSeries : int {
    SIM_RATE_X,  // body rates, deg/s
    SIM_RATE_Y,
    SIM_RATE_Z,
    SIM_RATE,       // |w|, deg/s
    SIM_FIELD,      // |B|, microtesla
    SIM_SUNLIT,     // 1 in sunlight, 0 in the Earth's shadow
    SIM_ELEVATION,  // the satellite's elevation above the station's horizon, deg
    SIM_SERIES_COUNT
};

struct SimSeriesInfo {
    const char* name;     // trace column and series name
    const char* caption;  // for a chart's legend
    const char* unit;
    int decimals;  // in the trace
};

// order: SimSeries
inline constexpr SimSeriesInfo sim_series_info[SIM_SERIES_COUNT] = {
    {"rate_x", "Rate X", "deg/s", 3},
    {"rate_y", "Rate Y", "deg/s", 3},
    {"rate_z", "Rate Z", "deg/s", 3},
    {"rate", "Rate", "deg/s", 3},
    {"field", "Field", "uT", 2},
    {"sunlit", "Sunlit", "", 0},
    {"elevation", "Station elevation", "deg", 2},
};

// The preset in the units the integration uses.
struct SimWorld {
    double r_km;          // orbit radius
    double n;             // mean motion, rad/s
    double incl;          // rad
    double u0;            // orbit argument at the start, rad
    double earth_rate;    // rad/s
    double earth_angle0;  // rad
    Vec3 dipole_fixed;    // the dipole's unit vector, fixed to the Earth
    Vec3 sun;             // unit vector, inertial
    HeatBody heat;
    double speedup;        // of the orbit's clock against the simulation's
    double lat, lon;       // the station's, rad
    double min_elevation;  // rad
};

// Where the orbit has the satellite. One place, on the orbit's one clock, gives the field, the
// Sun's light and the shadow, the station and the picture's Earth.
struct OrbitPlace {
    double u = 0;            // orbit argument, rad
    double earth_angle = 0;  // the Greenwich meridian from the ascending node, rad
    Vec3 up;                 // unit vector from the Earth's centre to the satellite, inertial
    Vec3 along;              // unit direction of flight, inertial
};

struct SimState {
    int64_t time_ms = 0;  // since the start, on the grid
    OrbitPlace orbit;     // now
    BodyState body;
    double temp_k = 0;
    Vec3 field_inertial;  // tesla, now
    Vec3 field_body;      // tesla, now, in body axes
    bool sunlit = true;
    StationView station{};
    bool in_view = false;  // above the station's lowest elevation
    double doppler_hz = 0;
};

struct Simulation {
    bool on = false;
    SimPreset preset;
    SimWorld world{};
    SimState state;
    // The program clock at the start, moved on by the time spent held.
    int32_t origin_ms = 0;
    bool held = false;
    int32_t held_at_ms = 0;
};

extern Simulation simulation;

// Turns the simulation on with `preset` and puts it in the preset's starting state at time 0.
void sim_reset(const SimPreset& preset);
// The current preset's starting state at time 0 again.
void sim_restart();
// Turns it off. The channels keep their last positions; the waterfall shows transmissions
// plainly again.
void sim_off();

// Moves the simulation on to `sim_ms` milliseconds after its start (down to the grid), step by
// step; a time it has passed already changes nothing. Each step reads the coils and the
// CPU-speed bar as they are, so a change takes effect at the next grid point. Afterwards the
// driven channels, the waterfall's Doppler shift and the subscribers hear of the new state.
void sim_advance_to(int64_t sim_ms);

// The simulation's time is the program clock since sim_start_clock, less the time held.
void sim_start_clock(int32_t program_ms);
void sim_follow(int32_t program_ms);
void sim_hold(int32_t program_ms);
void sim_release(int32_t program_ms);

// A series' value now.
double sim_series_value(int series);

// Subscribers are told after the state moved on or was reset, as the channels' are after a
// change: the telemetry and whatever else of a host follows the satellite.
using SimListener = void (*)(void* context);
inline constexpr int MAX_SIM_SUBSCRIBERS = 8;
// Adds a subscriber; the same listener and context twice are added once. False when full.
bool sim_subscribe(SimListener listener, void* context);
void sim_unsubscribe(SimListener listener, void* context);
// Tells the subscribers, as after a move: for a host that has put a saved state back itself.
void sim_notify_subscribers();

// For tests and tools: the world a preset makes, and one grid step of a state in it with the
// coils at `coil` positions (-100..100) and the CPU-speed bar at `speed`.
SimWorld sim_world(const SimPreset& preset);
SimState sim_initial_state(const SimPreset& preset, const SimWorld& world);
void sim_step(SimState& s, const SimPreset& preset, const SimWorld& world, const int coil[3],
              int speed);
// The orbit's clock: `t` seconds after the start the orbit (its place, the Earth's turn, and
// with them the field, the Sun, the shadow, the station and the heat) has gone on by
// world.speedup * t seconds. The body turns on the simulation's own seconds.
OrbitPlace sim_orbit_at(const SimWorld& world, double t);
// The field in inertial axes at `t` seconds after the start.
Vec3 sim_field_at(const SimPreset& preset, const SimWorld& world, double t);
