#include "sim_ground.h"

#include <algorithm>
#include <cmath>

#include "sim_field.h"

StationView station_view(Vec3 pos, Vec3 vel, double lat, double lon, double earth_angle,
                         double earth_rate, double earth_radius_km) {
    const Vec3 up_fixed{std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon),
                        std::sin(lat)};
    const Vec3 up = earth_to_inertial(up_fixed, earth_angle);
    const Vec3 station = earth_radius_km * up;
    const Vec3 station_vel = cross(Vec3{0, 0, earth_rate}, station);
    const Vec3 los = pos - station;
    const double range = norm(los);
    StationView v;
    v.range_km = range;
    v.elevation = std::asin(std::clamp(dot(los, up) / range, -1.0, 1.0));
    v.range_rate = dot(los, vel - station_vel) / range;
    return v;
}

int link_strength(double range_km, double r_km, double earth_radius_km) {
    const double zenith = r_km - earth_radius_km;
    const double horizon = std::sqrt(r_km * r_km - earth_radius_km * earth_radius_km);
    const double fall = std::log(std::max(range_km, zenith) / zenith) / std::log(horizon / zenith);
    const double s = LINK_ZENITH - (LINK_ZENITH - LINK_HORIZON) * fall;
    return static_cast<int>(std::lround(std::clamp(s, 0.0, double{LINK_ZENITH})));
}

double doppler_shift(double range_rate, double freq_hz) {
    return -range_rate / LIGHT_KM_S * freq_hz;
}
