// The satellite as a picture: a 1U body with two solar panels and an antenna, its X, Y and Z
// axes as MGET and COIL see them, the field the magnetometer reads and the coils' dipole as
// arrows, and, with a simulation on, the Earth below, the Sun and the ground station's line of
// sight. Everything here is plain geometry: what to draw, where, in which order. A widget only
// paints the primitives it gets, back to front.
//
// Frames. The body's axes are the magnetometer's and the coils'. With a simulation on, the
// reference frame the camera orbits in is the orbit's own as it stood at the start: x along the
// direction of flight, y along the orbit's normal, z up, away from the Earth. It does not turn
// after that, so a body that does not turn stands still in the picture, while the Earth, the
// station and the shadow come round it as the orbit goes on. With the simulation off there is
// no orbit: the body sits with its axes on the reference axes.
//
// The picture is right-handed: X x Y = Z holds on the screen as it does in space.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim_math.h"

// Where the camera stands: on a sphere round the body, looking at its centre, the reference z
// axis up on the screen.
struct SceneCamera {
    double azimuth_deg = 35;    // about the reference z axis, from the x axis
    double elevation_deg = 25;  // above the reference x-y plane
    double distance = 7;        // in body widths
};

inline constexpr double CAMERA_MAX_ELEVATION_DEG = 85;

// Turns the camera round the body; the elevation stops short of the poles.
void camera_orbit(SceneCamera& camera, double azimuth_deg, double elevation_deg);
// Moves it closer (factor below 1) or farther, within reason.
void camera_zoom(SceneCamera& camera, double factor);

// What the picture shows, taken from the channels and the simulation.
struct SceneState {
    Quat attitude;     // body to reference axes
    Vec3 field_gauss;  // body axes: what MGET reads
    Vec3 coil;         // body axes, -1..1 each: what COIL set
    bool simulated = false;
    // With a simulation on, unit vectors in reference axes.
    Vec3 nadir{0, 0, -1};
    Vec3 sun{1, 0, 0};
    bool sunlit = true;
    bool station_in_view = false;
    Vec3 station{0, 0, -1};  // from the satellite towards the station
    double rate_deg_s = 0;   // |w|
};

// The channels now, and the simulation's state when one is on.
SceneState scene_state_now();

// A point on the screen: pixels from the top left, and its distance in front of the camera.
struct ScreenPoint {
    double x = 0;
    double y = 0;
    double depth = 0;
};

// The one projection every item of the picture goes through: reference axes to pixels, in
// perspective, for a body in `attitude`.
class Projector {
   public:
    Projector(const SceneCamera& camera, int width, int height, Quat attitude = {});
    ScreenPoint project(Vec3 p) const;
    // Pixels per body width at `depth`.
    double scale_at(double depth) const;
    // Whether `p` (reference axes) is hidden behind the body, or inside it.
    bool behind_body(Vec3 p) const;
    Vec3 eye() const { return eye_; }
    // The camera's looking direction, and the screen's right and up, in reference axes.
    Vec3 forward() const { return forward_; }
    Vec3 right() const { return right_; }
    Vec3 up() const { return up_; }

   private:
    Quat attitude_;
    Vec3 eye_, right_, up_, forward_;
    Vec3 eye_body_;
    double cx_ = 0, cy_ = 0, focal_ = 0;
};

enum class PrimitiveKind { Polygon, Segment, Disc, Label };

// One thing to paint. Colours are 0xRRGGBB.
struct Primitive {
    PrimitiveKind kind = PrimitiveKind::Polygon;
    int count = 0;  // points used
    // A polygon's corners; a segment's ends; a disc's centre. A label's point, and the
    // direction (x, y) it stands off in from there: its text lies beyond the point that way.
    ScreenPoint points[4];
    uint32_t fill = 0;    // polygon, disc, label text
    uint32_t line = 0;    // a polygon's outline, a segment's colour
    double width = 1;     // a segment's width in pixels
    double radius = 0;    // a disc's, pixels
    int alpha = 255;      // of the fill, or of a segment
    bool dashed = false;  // a segment drawn in dashes
    std::string text;     // a label's
    int layer = 0;        // drawn in this order first
    double depth = 0;     // then the farthest first
};

// The layers, back to front: what is far, what the body hides, the body, what is in front; then
// faint copies of the arrows, so that what the body or a panel hides still shows through, and
// the arrows' names over everything.
enum SceneLayer : int {
    LAYER_BACKDROP,
    LAYER_BEHIND,
    LAYER_BODY,
    LAYER_FRONT,
    LAYER_SHOW_THROUGH,
    LAYER_NAMES
};

struct Scene {
    std::vector<Primitive> primitives;  // in painting order
    ScreenPoint axis_tip[3];            // X, Y, Z
    bool field_shown = false;
    ScreenPoint field_tip;
    Vec3 field_direction;  // reference axes, unit
    bool coil_shown = false;
    ScreenPoint coil_tip;
    Vec3 coil_direction;  // reference axes, unit
    // Lines for the corner of the picture: the rate, the field, the light, the station.
    std::vector<std::string> notes;
};

// Arrow lengths and the body's size, in body widths.
inline constexpr double BODY_HALF = 0.5;
inline constexpr double AXIS_LENGTH = 1.6;

Scene build_scene(const SceneState& state, const SceneCamera& camera, int width, int height);

// The picture in words, for a screen reader: the attitude, the field, the coils and, with a
// simulation on, the rate and the light.
std::string scene_description(const SceneState& state);

// Rotation between two frames given as a quaternion; for the tests and the orbit frame.
Quat quat_from_axis_angle(Vec3 axis, double angle_rad);
