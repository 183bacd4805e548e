// The ground station: where it sees the satellite, how strong the signal is and how far the
// Doppler effect moves its frequency.
#pragma once

#include "sim_math.h"

struct StationView {
    double elevation;   // rad above the station's horizon
    double range_km;    // slant range
    double range_rate;  // km/s, positive while the satellite moves away
};

// The station at latitude `lat` and east longitude `lon` (rad) on a sphere of radius
// `earth_radius_km` turning at `earth_rate` (rad/s), its meridian at `earth_angle` from the
// ascending node, and the satellite at `pos` (km) moving at `vel` (km/s), both inertial.
StationView station_view(Vec3 pos, Vec3 vel, double lat, double lon, double earth_angle,
                         double earth_rate, double earth_radius_km);

// The received strength, 0..255: 255 at the zenith, falling with the logarithm of the slant
// range to 85 at the horizon of a station under an orbit of radius r_km.
int link_strength(double range_km, double r_km, double earth_radius_km);
inline constexpr int LINK_ZENITH = 255;
inline constexpr int LINK_HORIZON = 85;

// The Doppler shift, Hz, of a carrier of `freq_hz` for a range changing at `range_rate` km/s.
double doppler_shift(double range_rate, double freq_hz);
inline constexpr double LIGHT_KM_S = 299792.458;
