#include "satellite_scene.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "channels.h"
#include "sim_field.h"
#include "simulation.h"

namespace {

// The picture is scaled so that a sphere of this radius round the body fills most of the view
// at the camera's first distance; moving the camera in or out then makes it larger or smaller.
constexpr double FIT_RADIUS = 2.0;
constexpr double FIT_SHARE = 0.46;  // of the smaller side, for that radius
constexpr double FIT_DISTANCE = SceneCamera{}.distance;
constexpr double MIN_DISTANCE = 3.5;
constexpr double MAX_DISTANCE = 20;

// Lines are cut into pieces this long, each sorted on its own against the rest.
constexpr double PIECE = 0.15;
constexpr double HEAD_LENGTH = 0.2;
constexpr double HEAD_HALF_WIDTH_PX = 5;
constexpr double LABEL_OFFSET_PX = 5;
constexpr int SHOW_THROUGH_ALPHA = 110;

// The stylised Earth and the markers of the Sun and the station, in body widths.
constexpr double EARTH_DISTANCE = 5.4;
constexpr double EARTH_RADIUS = 2.8;
constexpr double MARKER_DISTANCE = 2.3;

constexpr double PANEL_Z = -0.35;
constexpr double PANEL_HALF_WIDTH = 0.45;
constexpr double PANEL_START = 0.56;
constexpr double PANEL_LENGTH = 1.0;
constexpr int PANEL_CELLS_ACROSS = 2;
constexpr int PANEL_CELLS_ALONG = 4;

constexpr uint32_t BODY_COLOUR = 0xC9CCD3;
constexpr uint32_t BODY_EDGE = 0x3A3F4A;
constexpr uint32_t CELL_COLOUR = 0x2748A8;
constexpr uint32_t PANEL_BACK = 0x9AA0A8;
constexpr uint32_t PANEL_EDGE = 0x121A33;
constexpr uint32_t ANTENNA_COLOUR = 0x8A9099;
constexpr uint32_t FIELD_COLOUR = 0xE040A0;
constexpr uint32_t COIL_COLOUR = 0xF39C12;
constexpr uint32_t EARTH_COLOUR = 0x245C96;
constexpr uint32_t SUN_COLOUR = 0xFFD23F;
constexpr uint32_t ECLIPSED_SUN = 0x6B6B6B;
constexpr uint32_t STATION_COLOUR = 0x7FDBFF;
// The body's axes are the magnetometer's: their names and colours are its channels'.
constexpr Channel AXIS_CHANNELS[3] = {Channel::MagX, Channel::MagY, Channel::MagZ};
const char* axis_name(int i) {
    return info_of(AXIS_CHANNELS[i]).caption;
}
uint32_t axis_colour(int i) {
    return info_of(AXIS_CHANNELS[i]).colour;
}

Vec3 unit(Vec3 v) {
    const double n = norm(v);
    return n > 0 ? (1.0 / n) * v : Vec3{};
}

Vec3 axis(int i) {
    return {i == 0 ? 1.0 : 0.0, i == 1 ? 1.0 : 0.0, i == 2 ? 1.0 : 0.0};
}

double component(Vec3 v, int i) {
    return i == 0 ? v.x : i == 1 ? v.y : v.z;
}

Quat conjugate(Quat q) {
    return {q.w, -q.x, -q.y, -q.z};
}

// The rotation that takes the reference axes onto `a`, `b` and `c` (orthonormal, right-handed).
Quat quat_from_columns(Vec3 a, Vec3 b, Vec3 c) {
    const double trace = a.x + b.y + c.z;
    Quat q;
    if (trace > 0) {
        const double s = 2 * std::sqrt(trace + 1);
        q = {0.25 * s, (b.z - c.y) / s, (c.x - a.z) / s, (a.y - b.x) / s};
    } else if (a.x > b.y && a.x > c.z) {
        const double s = 2 * std::sqrt(1 + a.x - b.y - c.z);
        q = {(b.z - c.y) / s, 0.25 * s, (b.x + a.y) / s, (c.x + a.z) / s};
    } else if (b.y > c.z) {
        const double s = 2 * std::sqrt(1 + b.y - a.x - c.z);
        q = {(c.x - a.z) / s, (b.x + a.y) / s, 0.25 * s, (c.y + b.z) / s};
    } else {
        const double s = 2 * std::sqrt(1 + c.z - a.x - b.y);
        q = {(a.y - b.x) / s, (c.x + a.z) / s, (c.y + b.z) / s, 0.25 * s};
    }
    return normalized(q);
}

uint32_t shaded(uint32_t rgb, double k) {
    k = std::clamp(k, 0.0, 1.0);
    const auto part = [&](int shift) {
        return static_cast<uint32_t>(std::lround(((rgb >> shift) & 0xFF) * k)) << shift;
    };
    return part(16) | part(8) | part(0);
}

// "0.42", never "-0.00".
std::string fixed(double v, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    std::string s = text;
    if (s.find_first_not_of("-0.") == std::string::npos && s.front() == '-') s.erase(0, 1);
    return s;
}

struct Light {
    Vec3 direction;  // towards the light, reference axes; zero in the dark
    double ambient;
    double diffuse;
    double on(Vec3 normal) const {
        return ambient + diffuse * std::max(0.0, dot(normal, direction));
    }
};

class SceneBuilder {
   public:
    SceneBuilder(const SceneState& state, const SceneCamera& camera, int width, int height)
        : state_(state), view_(camera, width, height, state.attitude) {}

    Scene build() {
        light_ = choose_light();
        if (state_.simulated) add_earth();
        add_body();
        add_panels();
        add_antenna();
        for (int i = 0; i < 3; ++i) {
            scene_.axis_tip[i] =
                add_arrow(body(axis(i)), AXIS_LENGTH, axis_colour(i), axis_name(i), false, 3);
        }
        const double field = norm(state_.field_gauss);
        if (field > 0) {
            scene_.field_shown = true;
            scene_.field_direction = unit(body(state_.field_gauss));
            scene_.field_tip = add_arrow(scene_.field_direction, 1.1 + 0.6 * std::min(field, 1.0),
                                         FIELD_COLOUR, "B", false, 3);
        }
        const double coil = norm(state_.coil);
        if (coil > 0) {
            scene_.coil_shown = true;
            scene_.coil_direction = unit(body(state_.coil));
            scene_.coil_tip = add_arrow(scene_.coil_direction, 1.0 + 0.6 * std::min(coil, 1.0),
                                        COIL_COLOUR, "m", true, 3);
        }
        if (state_.simulated) {
            add_marker(unit(state_.sun), state_.sunlit ? SUN_COLOUR : ECLIPSED_SUN, 9,
                       state_.sunlit ? "Sun" : "Sun (eclipse)");
            if (state_.station_in_view) {
                add_marker(unit(state_.station), STATION_COLOUR, 5, "Station");
            }
        }
        add_notes();
        std::stable_sort(scene_.primitives.begin(), scene_.primitives.end(),
                         [](const Primitive& a, const Primitive& b) {
                             if (a.layer != b.layer) return a.layer < b.layer;
                             return a.depth > b.depth;
                         });
        return scene_;
    }

   private:
    Vec3 body(Vec3 v) const { return rotate(state_.attitude, v); }

    Light choose_light() const {
        if (!state_.simulated) {
            // A lamp over the camera's left shoulder.
            const Vec3 towards_camera = unit(view_.eye());
            return {unit(towards_camera + 0.6 * view_.up() - 0.5 * view_.right()), 0.4, 0.6};
        }
        if (state_.sunlit) return {unit(state_.sun), 0.45, 0.55};
        return {Vec3{}, 0.3, 0};
    }

    int layer_of(Vec3 p) const { return view_.behind_body(p) ? LAYER_BEHIND : LAYER_FRONT; }

    void add_earth() {
        const Vec3 centre = EARTH_DISTANCE * unit(state_.nadir);
        const ScreenPoint c = view_.project(centre);
        // Between the camera and the body, or seen from close by, the Earth would stand in front
        // of everything.
        if (c.depth < 1.3 * EARTH_RADIUS) return;
        Primitive earth;
        earth.kind = PrimitiveKind::Disc;
        earth.count = 1;
        earth.points[0] = c;
        earth.radius = view_.scale_at(c.depth) * EARTH_RADIUS;
        earth.fill = state_.sunlit ? EARTH_COLOUR : shaded(EARTH_COLOUR, 0.45);
        earth.line = 0x7FB2E5;
        earth.layer = LAYER_BACKDROP;
        earth.depth = c.depth;
        scene_.primitives.push_back(earth);
        // Its name just inside its edge, on the side that faces the picture's centre.
        const ScreenPoint mid = view_.project(Vec3{});
        double dx = mid.x - c.x;
        double dy = mid.y - c.y;
        const double d = std::hypot(dx, dy);
        if (d < 1) {
            dx = 0;
            dy = -1;
        } else {
            dx /= d;
            dy /= d;
        }
        Primitive label;
        label.kind = PrimitiveKind::Label;
        label.count = 1;
        label.points[0] = {c.x + dx * (earth.radius - 14), c.y + dy * (earth.radius - 14), c.depth};
        label.fill = 0xE8F1FA;
        label.text = "Earth";
        label.layer = LAYER_BACKDROP;
        label.depth = c.depth - 1;
        scene_.primitives.push_back(label);
    }

    void add_polygon(const Vec3 (&corners)[4], uint32_t fill, uint32_t line, int layer) {
        Primitive p;
        p.kind = PrimitiveKind::Polygon;
        p.count = 4;
        double depth = 0;
        for (int k = 0; k < 4; ++k) {
            p.points[k] = view_.project(corners[k]);
            depth += p.points[k].depth / 4;
        }
        p.fill = fill;
        p.line = line;
        p.layer = layer;
        p.depth = depth;
        scene_.primitives.push_back(p);
    }

    // The faces that look towards the camera; those that look away are hidden behind them.
    void add_body() {
        for (int i = 0; i < 3; ++i) {
            for (double sign : {1.0, -1.0}) {
                const Vec3 n = sign * axis(i);
                const Vec3 a = axis((i + 1) % 3);
                const Vec3 b = axis((i + 2) % 3);
                const Vec3 centre_b = BODY_HALF * n;
                const Vec3 normal = body(n);
                const Vec3 centre = body(centre_b);
                if (dot(normal, view_.eye() - centre) <= 0) continue;
                const Vec3 corners[4] = {
                    body(centre_b + BODY_HALF * a + BODY_HALF * b),
                    body(centre_b - BODY_HALF * a + BODY_HALF * b),
                    body(centre_b - BODY_HALF * a - BODY_HALF * b),
                    body(centre_b + BODY_HALF * a - BODY_HALF * b),
                };
                add_polygon(corners, shaded(BODY_COLOUR, light_.on(normal)), BODY_EDGE, LAYER_BODY);
            }
        }
    }

    // Two wings off the Y faces, cells on the +Z side.
    void add_panels() {
        const Vec3 cells_normal = body(axis(2));
        const double across = 2 * PANEL_HALF_WIDTH / PANEL_CELLS_ACROSS;
        const double along = PANEL_LENGTH / PANEL_CELLS_ALONG;
        for (double side : {1.0, -1.0}) {
            for (int i = 0; i < PANEL_CELLS_ACROSS; ++i) {
                for (int j = 0; j < PANEL_CELLS_ALONG; ++j) {
                    const double x0 = -PANEL_HALF_WIDTH + i * across;
                    const double y0 = side * (PANEL_START + j * along);
                    const double y1 = side * (PANEL_START + (j + 1) * along);
                    const Vec3 corners[4] = {
                        body({x0, y0, PANEL_Z}), body({x0 + across, y0, PANEL_Z}),
                        body({x0 + across, y1, PANEL_Z}), body({x0, y1, PANEL_Z})};
                    const Vec3 centre = body({x0 + across / 2, (y0 + y1) / 2, PANEL_Z});
                    const bool cells_seen = dot(cells_normal, view_.eye() - centre) > 0;
                    const uint32_t fill = cells_seen ? shaded(CELL_COLOUR, light_.on(cells_normal))
                                                     : shaded(PANEL_BACK, light_.on(-cells_normal));
                    // A cell with a corner behind the body is behind it: the body covers
                    // whatever of it overlaps the body's picture.
                    const bool behind = std::any_of(std::begin(corners), std::end(corners),
                                                    [&](Vec3 c) { return view_.behind_body(c); });
                    add_polygon(corners, fill, PANEL_EDGE, behind ? LAYER_BEHIND : LAYER_FRONT);
                }
            }
        }
    }

    void add_antenna() {
        const Vec3 foot = body({-0.3, -0.3, -BODY_HALF});
        const Vec3 tip = body({-0.3, -0.3, -1.25});
        add_line(foot, tip, ANTENNA_COLOUR, 2, false);
        add_disc(tip, ANTENNA_COLOUR, 2.5);
    }

    void add_line(Vec3 from, Vec3 to, uint32_t colour, double width, bool dashed) {
        const int n = std::max(1, static_cast<int>(std::ceil(norm(to - from) / PIECE)));
        for (int k = 0; k < n; ++k) {
            if (dashed && k % 2 == 1) continue;
            const Vec3 a = from + (static_cast<double>(k) / n) * (to - from);
            const Vec3 b = from + (static_cast<double>(k + 1) / n) * (to - from);
            const Vec3 mid = 0.5 * (a + b);
            Primitive p;
            p.kind = PrimitiveKind::Segment;
            p.count = 2;
            p.points[0] = view_.project(a);
            p.points[1] = view_.project(b);
            p.line = colour;
            p.width = width;
            p.layer = layer_of(mid);
            p.depth = view_.project(mid).depth;
            scene_.primitives.push_back(p);
        }
    }

    void add_disc(Vec3 at, uint32_t colour, double radius_px) {
        Primitive p;
        p.kind = PrimitiveKind::Disc;
        p.count = 1;
        p.points[0] = view_.project(at);
        p.radius = radius_px;
        p.fill = colour;
        p.line = colour;
        p.layer = layer_of(at);
        p.depth = p.points[0].depth;
        scene_.primitives.push_back(p);
    }

    void add_label(const ScreenPoint& anchor, double dx, double dy, uint32_t colour,
                   const char* text, int layer) {
        Primitive p;
        p.kind = PrimitiveKind::Label;
        p.count = 2;
        p.points[0] = {anchor.x + dx * LABEL_OFFSET_PX, anchor.y + dy * LABEL_OFFSET_PX,
                       anchor.depth};
        p.points[1] = {dx, dy, 0};
        p.fill = colour;
        p.text = text;
        p.layer = layer;
        // Over its own arrow's head.
        p.depth = anchor.depth - 0.01;
        scene_.primitives.push_back(p);
    }

    // From the body's centre along `direction` (reference axes, unit); returns the tip.
    ScreenPoint add_arrow(Vec3 direction, double length, uint32_t colour, const char* label,
                          bool dashed, double width) {
        const Vec3 tip = length * direction;
        const Vec3 base = (length - HEAD_LENGTH) * direction;
        add_line(Vec3{}, base, colour, width, dashed);
        // The whole shaft again, faintly, over everything.
        Primitive through;
        through.kind = PrimitiveKind::Segment;
        through.count = 2;
        through.points[0] = view_.project(Vec3{});
        through.points[1] = view_.project(base);
        through.line = colour;
        through.width = 1.2;
        through.alpha = SHOW_THROUGH_ALPHA;
        through.dashed = dashed;
        through.layer = LAYER_SHOW_THROUGH;
        scene_.primitives.push_back(through);
        const ScreenPoint t = view_.project(tip);
        const ScreenPoint b = view_.project(base);
        double dx = t.x - b.x;
        double dy = t.y - b.y;
        const double d = std::hypot(dx, dy);
        const int layer = layer_of(0.5 * (tip + base));
        Primitive head;
        head.fill = colour;
        head.line = colour;
        head.layer = layer;
        head.depth = 0.5 * (t.depth + b.depth);
        if (d < 2) {
            // Straight at the camera or away from it: a dot.
            head.kind = PrimitiveKind::Disc;
            head.count = 1;
            head.points[0] = t;
            head.radius = HEAD_HALF_WIDTH_PX;
            dx = 0.7;
            dy = -0.7;
        } else {
            dx /= d;
            dy /= d;
            head.kind = PrimitiveKind::Polygon;
            head.count = 3;
            head.points[0] = t;
            head.points[1] = {b.x - dy * HEAD_HALF_WIDTH_PX, b.y + dx * HEAD_HALF_WIDTH_PX,
                              b.depth};
            head.points[2] = {b.x + dy * HEAD_HALF_WIDTH_PX, b.y - dx * HEAD_HALF_WIDTH_PX,
                              b.depth};
        }
        scene_.primitives.push_back(head);
        if (layer == LAYER_BEHIND) {
            head.layer = LAYER_SHOW_THROUGH;
            head.alpha = SHOW_THROUGH_ALPHA;
            scene_.primitives.push_back(head);
        }
        add_label(t, dx, dy, colour, label, LAYER_NAMES);
        return t;
    }

    // A direction from the body: a dashed line out to a marker and its name.
    void add_marker(Vec3 direction, uint32_t colour, double radius_px, const char* label) {
        const Vec3 at = MARKER_DISTANCE * direction;
        add_line(BODY_HALF * direction, at, colour, 1.5, true);
        add_disc(at, colour, radius_px);
        const ScreenPoint p = view_.project(at);
        const ScreenPoint o = view_.project(Vec3{});
        double dx = p.x - o.x;
        double dy = p.y - o.y;
        const double d = std::hypot(dx, dy);
        if (d < 1) {
            dx = 0.7;
            dy = -0.7;
        } else {
            dx /= d;
            dy /= d;
        }
        add_label({p.x + dx * radius_px, p.y + dy * radius_px, p.depth}, dx, dy, colour, label,
                  LAYER_NAMES);
    }

    void add_notes() {
        if (state_.simulated) {
            scene_.notes.push_back("|\xCF\x89| " + fixed(state_.rate_deg_s, 2) + " \xC2\xB0/s");
        }
        scene_.notes.push_back("B " + fixed(norm(state_.field_gauss), 2) + " G");
        if (state_.simulated) {
            scene_.notes.push_back(state_.sunlit ? "Sunlit" : "In the Earth's shadow");
            if (state_.station_in_view) scene_.notes.push_back("Station in view");
        }
    }

    const SceneState& state_;
    Projector view_;
    Light light_{};
    Scene scene_;
};

}  // namespace

Quat quat_from_axis_angle(Vec3 axis_v, double angle_rad) {
    const Vec3 a = unit(axis_v);
    const double s = std::sin(angle_rad / 2);
    return {std::cos(angle_rad / 2), s * a.x, s * a.y, s * a.z};
}

void camera_orbit(SceneCamera& camera, double azimuth_deg, double elevation_deg) {
    camera.azimuth_deg = std::remainder(camera.azimuth_deg + azimuth_deg, 360.0);
    camera.elevation_deg = std::clamp(camera.elevation_deg + elevation_deg,
                                      -CAMERA_MAX_ELEVATION_DEG, CAMERA_MAX_ELEVATION_DEG);
}

void camera_zoom(SceneCamera& camera, double factor) {
    camera.distance = std::clamp(camera.distance * factor, MIN_DISTANCE, MAX_DISTANCE);
}

SceneState scene_state_now() {
    SceneState s;
    // MGET reads the magnetometer in this order, and COIL sets the coils in this order.
    s.field_gauss = {channel_value(Channel::MagX), channel_value(Channel::MagY),
                     channel_value(Channel::MagZ)};
    s.coil = {channel_value(Channel::CoiX), channel_value(Channel::CoiY),
              channel_value(Channel::CoiZ)};
    if (!simulation.on) return s;
    const SimWorld& w = simulation.world;
    const SimState& now = simulation.state;
    s.simulated = true;
    // The reference frame stays where the orbit frame stood at the start, so that a body that
    // does not turn stands still however fast the orbit's clock goes; the Earth, the Sun and
    // the station come round it from the orbit's place now.
    const OrbitPlace start = sim_orbit_at(w, 0);
    const Vec3 along = start.along;
    const Vec3 normal = orbit_normal(w.incl);
    const Vec3 up = start.up;
    const auto to_reference = [&](Vec3 v) {
        return Vec3{dot(v, along), dot(v, normal), dot(v, up)};
    };
    s.attitude = normalized(conjugate(quat_from_columns(along, normal, up)) * now.body.q);
    s.nadir = -to_reference(now.orbit.up);
    s.sun = unit(to_reference(w.sun));
    s.sunlit = now.sunlit;
    s.station_in_view = now.in_view;
    if (now.in_view) {
        const Vec3 station_up{std::cos(w.lat) * std::cos(w.lon), std::cos(w.lat) * std::sin(w.lon),
                              std::sin(w.lat)};
        const Vec3 station = simulation.preset.earth_radius_km *
                             earth_to_inertial(station_up, now.orbit.earth_angle);
        s.station = unit(to_reference(station - w.r_km * now.orbit.up));
    }
    s.rate_deg_s = norm(now.body.w) / DEG;
    return s;
}

Projector::Projector(const SceneCamera& camera, int width, int height, Quat attitude)
    : attitude_(attitude) {
    const double az = camera.azimuth_deg * DEG;
    const double el =
        std::clamp(camera.elevation_deg, -CAMERA_MAX_ELEVATION_DEG, CAMERA_MAX_ELEVATION_DEG) * DEG;
    const Vec3 out{std::cos(el) * std::cos(az), std::cos(el) * std::sin(az), std::sin(el)};
    eye_ = std::clamp(camera.distance, MIN_DISTANCE, MAX_DISTANCE) * out;
    forward_ = -out;
    right_ = unit(cross(forward_, Vec3{0, 0, 1}));
    up_ = cross(right_, forward_);
    cx_ = width / 2.0;
    cy_ = height / 2.0;
    focal_ = FIT_SHARE * std::min(width, height) * FIT_DISTANCE / FIT_RADIUS;
    eye_body_ = rotate_back(attitude_, eye_);
}

ScreenPoint Projector::project(Vec3 p) const {
    const Vec3 rel = p - eye_;
    const double depth = dot(rel, forward_);
    const double k = scale_at(depth);
    return {cx_ + k * dot(rel, right_), cy_ - k * dot(rel, up_), depth};
}

double Projector::scale_at(double depth) const {
    return focal_ / std::max(depth, 0.05);
}

// The segment from the point to the eye against the body's box, in body axes.
bool Projector::behind_body(Vec3 p) const {
    const Vec3 from = rotate_back(attitude_, p);
    const Vec3 d = eye_body_ - from;
    double t0 = 0;
    double t1 = 1;
    for (int i = 0; i < 3; ++i) {
        const double o = component(from, i);
        const double v = component(d, i);
        if (std::abs(v) < 1e-12) {
            if (o < -BODY_HALF || o > BODY_HALF) return false;
            continue;
        }
        double a = (-BODY_HALF - o) / v;
        double b = (BODY_HALF - o) / v;
        if (a > b) std::swap(a, b);
        t0 = std::max(t0, a);
        t1 = std::min(t1, b);
        if (t0 > t1) return false;
    }
    return true;
}

Scene build_scene(const SceneState& state, const SceneCamera& camera, int width, int height) {
    return SceneBuilder(state, camera, width, height).build();
}

std::string scene_description(const SceneState& state) {
    std::string s;
    if (state.simulated) {
        const Quat q = normalized(state.attitude);
        const double angle = 2 * std::acos(std::clamp(std::abs(q.w), 0.0, 1.0)) / DEG;
        const double sign = q.w < 0 ? -1 : 1;
        const Vec3 a = unit(Vec3{sign * q.x, sign * q.y, sign * q.z});
        s = "Turned " + fixed(angle, 0) + " degrees from the orbit frame at the start";
        if (norm(a) > 0) {
            s += " about the axis " + fixed(a.x, 2) + ", " + fixed(a.y, 2) + ", " + fixed(a.z, 2);
        }
        s += ". ";
    } else {
        s = "Simulation off: the body's axes stand on the view's axes. ";
    }
    const double field = norm(state.field_gauss);
    if (field > 0) {
        int main_axis = 0;
        for (int i = 1; i < 3; ++i) {
            if (std::abs(component(state.field_gauss, i)) >
                std::abs(component(state.field_gauss, main_axis))) {
                main_axis = i;
            }
        }
        s += "Field " + fixed(field, 2) + " gauss, mostly along " +
             (component(state.field_gauss, main_axis) < 0 ? "-" : "+") + axis_name(main_axis) +
             ": X " + fixed(state.field_gauss.x, 2) + ", Y " + fixed(state.field_gauss.y, 2) +
             ", Z " + fixed(state.field_gauss.z, 2) + ". ";
    } else {
        s += "No field. ";
    }
    if (norm(state.coil) > 0) {
        s += "Coils X " + fixed(state.coil.x, 2) + ", Y " + fixed(state.coil.y, 2) + ", Z " +
             fixed(state.coil.z, 2) + ".";
    } else {
        s += "Coils off.";
    }
    if (state.simulated) {
        s += " Turning at " + fixed(state.rate_deg_s, 1) + " degrees a second. ";
        s += state.sunlit ? "In sunlight." : "In the Earth's shadow.";
        if (state.station_in_view) s += " The ground station sees it.";
    }
    return s;
}
