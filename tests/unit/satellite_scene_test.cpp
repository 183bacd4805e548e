// The satellite's picture: the projection keeps the axes right-handed and where they belong, the
// arrows follow what MGET reads and what COIL sets, the body hides what is behind it, and with a
// simulation on the picture's frame stays where the orbit started while the orbit goes round.
#include "satellite_scene.h"

#include <gtest/gtest.h>

#include <cmath>

#include "interp.h"
#include "sim_field.h"
#include "simulation.h"
#include "test_support.h"

namespace {

constexpr int SIZE = 400;

struct SimMachine : TestMachine {
    ~SimMachine() { sim_off(); }
};

Vec3 axis(int i) {
    return {i == 0 ? 1.0 : 0.0, i == 1 ? 1.0 : 0.0, i == 2 ? 1.0 : 0.0};
}

// The 2D cross product of the projected X and Y tips about the projected centre, with y up.
double turn_from_x_to_y(const Scene& s, const ScreenPoint& o) {
    const double ax = s.axis_tip[0].x - o.x;
    const double ay = o.y - s.axis_tip[0].y;
    const double bx = s.axis_tip[1].x - o.x;
    const double by = o.y - s.axis_tip[1].y;
    return ax * by - ay * bx;
}

void expect_near(Vec3 a, Vec3 b, double tolerance) {
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

TEST(SatelliteScene, AxesLandWhereTheAttitudePutsThemAndStayRightHanded) {
    const SceneCamera camera;
    const Projector view(camera, SIZE, SIZE);
    const ScreenPoint o = view.project({});
    SceneState state;
    const Scene upright = build_scene(state, camera, SIZE, SIZE);
    // The first view: X towards the camera at the lower left, Y to the right, Z up.
    EXPECT_LT(upright.axis_tip[0].x, o.x - 30);
    EXPECT_GT(upright.axis_tip[0].y, o.y);
    EXPECT_LT(upright.axis_tip[0].depth, o.depth);
    EXPECT_GT(upright.axis_tip[1].x, o.x + 50);
    EXPECT_LT(upright.axis_tip[2].y, o.y - 50);
    EXPECT_GT(turn_from_x_to_y(upright, o), 0);  // Z points at the camera from above

    // 90 degrees about Z: X where Y was, Y where -X would be.
    state.attitude = quat_from_axis_angle({0, 0, 1}, PI / 2);
    const Scene about_z = build_scene(state, camera, SIZE, SIZE);
    EXPECT_NEAR(about_z.axis_tip[0].x, upright.axis_tip[1].x, 0.5);
    EXPECT_NEAR(about_z.axis_tip[0].y, upright.axis_tip[1].y, 0.5);
    const ScreenPoint minus_x = view.project(-AXIS_LENGTH * axis(0));
    EXPECT_NEAR(about_z.axis_tip[1].x, minus_x.x, 0.5);
    EXPECT_NEAR(about_z.axis_tip[1].y, minus_x.y, 0.5);

    // 90 degrees about X: X stays, Y where Z was, Z where -Y would be.
    state.attitude = quat_from_axis_angle({1, 0, 0}, PI / 2);
    const Scene about_x = build_scene(state, camera, SIZE, SIZE);
    EXPECT_NEAR(about_x.axis_tip[0].x, upright.axis_tip[0].x, 0.5);
    EXPECT_NEAR(about_x.axis_tip[1].x, upright.axis_tip[2].x, 0.5);
    EXPECT_NEAR(about_x.axis_tip[1].y, upright.axis_tip[2].y, 0.5);
    const ScreenPoint minus_y = view.project(-AXIS_LENGTH * axis(1));
    EXPECT_NEAR(about_x.axis_tip[2].x, minus_y.x, 0.5);
    EXPECT_NEAR(about_x.axis_tip[2].y, minus_y.y, 0.5);

    // From anywhere round the body, in any attitude: X turns towards Y counter-clockwise on the
    // screen exactly when Z points towards the camera.
    const Quat attitudes[] = {Quat{}, quat_from_axis_angle({1, 2, 3}, 2.0),
                              quat_from_axis_angle({0, 1, 0}, PI / 2)};
    for (const Quat& q : attitudes) {
        for (double az = -180; az < 180; az += 45) {
            for (double el : {-60.0, -10.0, 15.0, 70.0}) {
                SceneCamera c;
                c.azimuth_deg = az;
                c.elevation_deg = el;
                state.attitude = q;
                const Projector v(c, SIZE, SIZE, q);
                const Scene s = build_scene(state, c, SIZE, SIZE);
                const double z_towards_camera = dot(rotate(q, axis(2)), v.eye());
                if (std::abs(z_towards_camera) < 0.5) continue;  // nearly edge-on
                EXPECT_EQ(turn_from_x_to_y(s, v.project({})) > 0, z_towards_camera > 0)
                    << "azimuth " << az << ", elevation " << el;
            }
        }
    }
}

TEST(SatelliteScene, ArrowsFollowWhatMgetReadsAndWhatCoilSets) {
    TestMachine m;
    EXPECT_FALSE(build_scene(scene_state_now(), SceneCamera{}, SIZE, SIZE).field_shown);
    channel_set(Channel::MagX, 50);
    m.run("MGET A,B,C\nCOIL 0,0,-1");
    ASSERT_EQ(var_get(0), 0.5);  // A: what the arrow labelled X stands for
    SceneState state = scene_state_now();
    Scene s = build_scene(state, SceneCamera{}, SIZE, SIZE);
    ASSERT_TRUE(s.field_shown && s.coil_shown);
    expect_near(s.field_direction, axis(0), 1e-12);
    expect_near(s.coil_direction, -1.0 * axis(2), 1e-12);
    // On the screen the field's arrow points the way the X axis does.
    const ScreenPoint o = Projector(SceneCamera{}, SIZE, SIZE).project({});
    const double along_x = (s.field_tip.x - o.x) * (s.axis_tip[0].x - o.x) +
                           (s.field_tip.y - o.y) * (s.axis_tip[0].y - o.y);
    EXPECT_GT(along_x, 0);

    // A slider moved later: the field turns with it, in the body's axes whatever the attitude.
    channel_set(Channel::MagX, 0);
    channel_set(Channel::MagY, -80);
    state = scene_state_now();
    state.attitude = quat_from_axis_angle({0, 0, 1}, PI / 2);
    s = build_scene(state, SceneCamera{}, SIZE, SIZE);
    expect_near(s.field_direction, axis(0), 1e-12);  // body -Y turned onto reference +X
    EXPECT_EQ(scene_description(scene_state_now()),
              "Simulation off: the body's axes stand on the view's axes. Field 0.80 gauss, "
              "mostly along -Y: X 0.00, Y -0.80, Z 0.00. Coils X 0.00, Y 0.00, Z -1.00.");
}

// The head of the X axis's arrow: a triangle, or a dot when it points along the line of sight.
size_t index_of_x_head(const Scene& s) {
    for (size_t i = 0; i < s.primitives.size(); ++i) {
        const Primitive& p = s.primitives[i];
        const bool head =
            (p.kind == PrimitiveKind::Polygon && p.count == 3) || p.kind == PrimitiveKind::Disc;
        if (head && p.fill == AXIS_X_COLOUR) return i;
    }
    return s.primitives.size();
}

TEST(SatelliteScene, TheBodyHidesWhatIsBehindItAndNotWhatIsInFront) {
    SceneCamera facing_x;
    facing_x.azimuth_deg = 0;
    facing_x.elevation_deg = 0;
    SceneCamera behind_x = facing_x;
    behind_x.azimuth_deg = 180;
    for (const SceneCamera& c : {facing_x, behind_x}) {
        const Scene s = build_scene(SceneState{}, c, SIZE, SIZE);
        size_t faces = 0;
        size_t first_face = s.primitives.size();
        size_t last_face = 0;
        for (size_t i = 0; i < s.primitives.size(); ++i) {
            if (s.primitives[i].layer != LAYER_BODY) continue;
            ++faces;
            first_face = std::min(first_face, i);
            last_face = i;
        }
        // Straight on, one face of the cube is seen.
        EXPECT_EQ(faces, 1u);
        const size_t head = index_of_x_head(s);
        ASSERT_LT(head, s.primitives.size());
        if (c.azimuth_deg == 0) {
            EXPECT_GT(head, last_face);
        } else {
            EXPECT_LT(head, first_face);
        }
    }
}

// The reference frame is the orbit frame of the start and stays there: the field the body feels,
// turned by the scene's attitude, is the field in space seen from that frame, whatever the
// orbit's clock; a body that does not turn stands still while the Earth below comes round at
// the orbit's mean motion sqrt(mu / r^3) times the preset's speed-up; in the shadow the Sun is
// behind the Earth; the station lies on the Earth's side.
TEST(SatelliteScene, ABodyAtRestStandsStillWhileTheOrbitGoesRound) {
    SimMachine m;
    bool eclipse_seen = false;
    bool station_seen = false;
    for (const char* name : {"tumbling_1u", "hot_case", "ground_pass"}) {
        for (const bool at_rest : {false, true}) {
            SimPreset p = sim_preset_parse(sim_find_shipped(name)->text).preset;
            if (at_rest) p.rate_rad_s = {};
            sim_reset(p);
            const Vec3 along = orbit_along(p.orbit_start_deg * DEG, p.orbit_inclination_deg * DEG);
            const Vec3 normal = orbit_normal(p.orbit_inclination_deg * DEG);
            const Vec3 up = orbit_direction(p.orbit_start_deg * DEG, p.orbit_inclination_deg * DEG);
            const double r = p.earth_radius_km + p.orbit_altitude_km;
            const double mean_motion = std::sqrt(p.earth_mu_km3_s2 / (r * r * r));
            const Quat first = scene_state_now().attitude;
            for (int64_t t = 0; t <= 300000; t += 5000) {
                sim_advance_to(t);
                const SceneState s = scene_state_now();
                ASSERT_TRUE(s.simulated);
                const Vec3 b = simulation.state.field_inertial;
                expect_near(1e6 * rotate(s.attitude, simulation.state.field_body),
                            1e6 * Vec3{dot(b, along), dot(b, normal), dot(b, up)}, 1e-6);
                const double turned = mean_motion * p.env_speedup * static_cast<double>(t) / 1000;
                expect_near(s.nadir, {-std::sin(turned), 0, -std::cos(turned)}, 1e-9);
                if (at_rest) {
                    EXPECT_NEAR(std::abs(s.attitude.w * first.w + s.attitude.x * first.x +
                                         s.attitude.y * first.y + s.attitude.z * first.z),
                                1, 1e-12)
                        << name << " at " << t;
                    EXPECT_EQ(s.rate_deg_s, 0);
                }
                if (!s.sunlit) {
                    eclipse_seen = true;
                    EXPECT_GT(dot(s.sun, s.nadir), 0.3);
                }
                if (s.station_in_view) {
                    station_seen = true;
                    EXPECT_GT(dot(s.station, s.nadir), 0);
                }
                EXPECT_NEAR(s.rate_deg_s, sim_series_value(SIM_RATE), 1e-9);
            }
        }
    }
    EXPECT_TRUE(eclipse_seen);
    EXPECT_TRUE(station_seen);
}

}  // namespace
