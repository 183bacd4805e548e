// View > Satellite: the painted picture puts the axes where the scene computes them and follows
// the magnetometer; the dock in the window, and the view moving only while a simulated run goes.
#include <QAction>
#include <QDockWidget>
#include <QImage>
#include <cmath>

#include "satellite_view.h"
#include "sim_preset.h"
#include "simulation.h"
#include "simulation_control.h"
#include "window_fixture.h"

namespace {

// Pixels of about `rgb` within `radius` of (x, y).
int pixels_like(const QImage& image, uint32_t rgb, double x, double y, int radius) {
    const int r = (rgb >> 16) & 0xFF;
    const int g = (rgb >> 8) & 0xFF;
    const int b = rgb & 0xFF;
    int n = 0;
    for (int py = static_cast<int>(y) - radius; py <= static_cast<int>(y) + radius; ++py) {
        for (int px = static_cast<int>(x) - radius; px <= static_cast<int>(x) + radius; ++px) {
            if (!image.rect().contains(px, py)) continue;
            const QRgb c = image.pixel(px, py);
            if (std::abs(qRed(c) - r) + std::abs(qGreen(c) - g) + std::abs(qBlue(c) - b) < 60) ++n;
        }
    }
    return n;
}

TEST(SatelliteView, PaintsTheAxesWhereTheSceneHasThemAndFollowsTheField) {
    device_reset();
    SatelliteView view;
    view.resize(400, 400);
    view.show();
    QImage image = view.grab().toImage();
    Scene scene = view.scene();
    EXPECT_GT(pixels_like(image, AXIS_X_COLOUR, scene.axis_tip[0].x, scene.axis_tip[0].y, 6), 5);
    EXPECT_GT(pixels_like(image, AXIS_Y_COLOUR, scene.axis_tip[1].x, scene.axis_tip[1].y, 6), 5);
    // A mirrored picture would put the red where -X lands.
    const ScreenPoint minus_x = Projector(view.camera(), 400, 400).project({-AXIS_LENGTH, 0, 0});
    EXPECT_EQ(pixels_like(image, AXIS_X_COLOUR, minus_x.x, minus_x.y, 6), 0);

    // The magnetometer moves: the view draws the field's arrow at its next frame.
    channel_set(Channel::MagZ, -60);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.state().field_gauss.z == -0.6; }, 2000));
    image = view.grab().toImage();
    scene = view.scene();
    ASSERT_TRUE(scene.field_shown);
    // Straight down the screen, along -Z.
    const ScreenPoint centre = Projector(view.camera(), 400, 400).project({});
    EXPECT_GT(scene.field_tip.y, centre.y + 40);
    EXPECT_NEAR(scene.field_tip.x, centre.x, 1);
    EXPECT_GT(pixels_like(image, 0xE040A0, scene.field_tip.x, scene.field_tip.y, 6), 5);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return view.accessibleDescription().contains("Field 0.60 gauss, mostly along -Z"); },
        2000));

    // The keys turn the camera; a double-click puts it back.
    QTest::keyClick(&view, Qt::Key_Left);
    QTest::keyClick(&view, Qt::Key_Up);
    EXPECT_EQ(view.camera().azimuth_deg, SceneCamera{}.azimuth_deg + 10);
    EXPECT_EQ(view.camera().elevation_deg, SceneCamera{}.elevation_deg + 10);
    QTest::mouseDClick(&view, Qt::LeftButton);
    EXPECT_EQ(view.camera().azimuth_deg, SceneCamera{}.azimuth_deg);
    device_reset();
}

// The satellite put back elsewhere with no channel changed (a moment of a run shown again,
// its field read the same): the picture follows the simulation's own word of it.
TEST(SatelliteView, FollowsASimulationPutBack) {
    device_reset();
    sim_reset(sim_preset_parse(sim_find_shipped("tumbling_1u")->text).preset);
    SatelliteView view;
    view.resize(200, 200);
    view.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.state().simulated; }, 2000));
    const Quat before = view.state().attitude;
    simulation.state.body.q = Quat{std::sqrt(0.5), 0, 0, std::sqrt(0.5)};
    sim_notify_subscribers();
    EXPECT_TRUE(QTest::qWaitFor([&] { return view.state().attitude.w != before.w; }, 2000));
    sim_off();
    device_reset();
}

using SatelliteDockTest = WindowTest;

TEST_F(SatelliteDockTest, DockedAtTheRightAndMovingOnlyWhileASimulatedRunGoes) {
    EXPECT_EQ(w->findChild<QDockWidget*>("satellite_dock"), nullptr);  // made when first wanted
    action("act_satellite")->trigger();
    auto* dock = w->findChild<QDockWidget*>("satellite_dock");
    ASSERT_NE(dock, nullptr);
    EXPECT_TRUE(dock->isVisible());
    EXPECT_EQ(w->dockWidgetArea(dock), Qt::RightDockWidgetArea);
    EXPECT_EQ(dock->windowTitle(), "Satellite");
    auto* view = dock->findChild<SatelliteView*>("satellite_view");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->accessibleName(), "Satellite");

    const auto waiting = [this] { return run_control(*w)->state() == RunControl::State::Waiting; };
    // Without a simulation the view waits for the channels, even while a program runs.
    bool animating_without = true;
    ASSERT_TRUE(
        run_steps("DELAY 200\nA=1", {{waiting, [&] { animating_without = view->animating(); }}}));
    EXPECT_FALSE(animating_without);

    w->simulation_control()->choose_shipped("tumbling_1u");
    bool animating_with = false;
    ASSERT_TRUE(
        run_steps("DELAY 300\nA=1", {{waiting, [&] { animating_with = view->animating(); }}}));
    EXPECT_TRUE(animating_with);
    EXPECT_FALSE(view->animating());
    EXPECT_TRUE(view->state().simulated);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return view->accessibleDescription().contains("degrees from the orbit frame"); },
        2000));

    // A loop of short waits switches between running and waiting every millisecond: the
    // picture still follows the tumbling satellite.
    Vec3 shown_at_start;
    bool followed = false;
    QTimer::singleShot(3000, w.get(), [this] { button("bt_stop")->click(); });
    ASSERT_TRUE(run_steps("LABEL 1\nDELAY 1\nGOTO 1",
                          {{waiting, [&] { shown_at_start = view->state().field_gauss; }},
                           {[&] {
                                const Vec3 now = view->state().field_gauss;
                                return now.x != shown_at_start.x || now.y != shown_at_start.y ||
                                       now.z != shown_at_start.z;
                            },
                            [&] {
                                followed = true;
                                button("bt_stop")->click();
                            }}}));
    EXPECT_TRUE(followed);
    w->simulation_control()->choose_off();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !view->state().simulated; }, 2000));

    // The dock's own close unticks the menu's entry.
    dock->close();
    EXPECT_FALSE(action("act_satellite")->isChecked());
}

}  // namespace
