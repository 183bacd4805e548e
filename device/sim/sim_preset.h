// A simulation preset: every constant of the simulated satellite and its world, read from a
// text file of "key = value" lines. A key left out keeps the value of the tumbling 1U in a
// 500 km, 51.6 degree orbit. Units are part of the key names.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sim_math.h"

struct SimPreset {
    std::string description = "A 1U tumbling at about 8 deg/s in a 500 km, 51.6 deg orbit";

    // The circular orbit and the Earth.
    double orbit_altitude_km = 500;
    double orbit_inclination_deg = 51.6;
    double orbit_start_deg = 0;  // argument of latitude at the start, from the ascending node
    double earth_radius_km = 6371;
    double earth_mu_km3_s2 = 398600.4418;
    double earth_rate_deg_s = 0.0041780746;  // one turn a sidereal day
    // The angle from the ascending node to the Greenwich meridian at the start.
    double earth_angle_start_deg = 0;

    // The Earth's field as a dipole; a tilt of 0 is the axial dipole.
    double field_b0_t = 3.12e-5;
    double field_tilt_deg = 0;
    double field_tilt_lon_deg = 0;  // east longitude the tilted axis leans towards

    // The body: principal moments of inertia, starting attitude (w x y z) and rates.
    Vec3 inertia_kg_m2{2.0e-3, 2.1e-3, 1.7e-3};
    Quat attitude_quat{1, 0, 0, 0};
    Vec3 rate_rad_s{0.10, -0.08, 0.06};
    // What a coil at full current (position 100) adds to the body's magnetic moment.
    double coil_dipole_max_a_m2 = 0.2;

    // The heat balance.
    double heat_capacity_j_k = 1200;
    double sun_power_w = 18.4;
    double earth_power_w = 4;
    double cpu_power_w_per_step = 0.5;  // per step of the CPU-speed bar
    double emissivity = 0.8;
    double radiator_area_m2 = 0.06;
    double space_temp_k = 3;
    double temp_start_c = 20;
    // The Sun: its angle above the orbit's plane, and the orbit argument of local noon.
    double sun_beta_deg = 0;
    double sun_noon_deg = 0;

    // How much faster than the program's clock the orbit goes: the satellite's place on it and
    // the Earth's turn, and with them the field, day and night, the heat and the ground passes.
    // The body turns at the program's pace, so B-dot brakes as in orbit only at 1.
    double env_speedup = 1;

    // The ground station and the radio link.
    double station_lat_deg = 48.0;
    double station_lon_deg = 10.0;
    double station_min_elevation_deg = 0;
    double radio_freq_mhz = 437.0;
    double waterfall_hz_per_column = 1000;
};

struct SimPresetRead {
    SimPreset preset;
    // The first bad line, counted from 1, and why; 0 when every line is good.
    int error_line = 0;
    std::string error;
};

// Lines "key = value", read as key_value.h says (comments, quotes, each key at most once). A
// number is written as 12, -0.5 or 3.12e-5; vectors and the attitude are three and four numbers
// apart. An unknown key, a bad number or one out of its range is refused.
SimPresetRead sim_preset_parse(std::string_view text);

// Preset files are small; a larger one is not a preset.
inline constexpr size_t MAX_SIM_PRESET_BYTES = 64 * 1024;

// The presets that come with the program, the tumbling 1U first.
struct ShippedPreset {
    const char* name;  // "tumbling_1u"
    const char* text;  // the file's contents
};
const std::vector<ShippedPreset>& sim_shipped_presets();
// The shipped preset of that name, or nullptr.
const ShippedPreset* sim_find_shipped(std::string_view name);
// Each key the format knows, in the order of the struct above: for the documentation and tests.
std::vector<std::string> sim_preset_keys();
