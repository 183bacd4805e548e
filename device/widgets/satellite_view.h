// The satellite in three dimensions, painted: the scene of satellite_scene.h drawn back to
// front. A drag turns the camera round the body, the wheel moves it closer, a double-click or
// "Reset view" puts it back; the arrow keys, + and - and Home do the same from the keyboard.
//
// It repaints only when something it shows changed: it follows the channels as the device panel
// does, and while a simulation moves (set_animating) it looks at the simulation's clock on a
// timer of at most 30 frames a second. Hidden, it does nothing.
#pragma once

#include <QPoint>
#include <QString>
#include <QWidget>
#include <cstdint>

#include "channels.h"
#include "satellite_scene.h"

class QAction;
class QPainter;
class QTimer;

class SatelliteView : public QWidget {
    Q_OBJECT
   public:
    explicit SatelliteView(QWidget* parent = nullptr);
    ~SatelliteView() override;

    // While a simulation moves the satellite: look for its moves on a timer.
    void set_animating(bool on);
    bool animating() const { return animating_; }
    // Reads the channels and the simulation again and repaints if anything changed.
    void refresh();

    const SceneCamera& camera() const { return camera_; }
    void set_camera(const SceneCamera& camera);
    void reset_view();
    QAction* reset_action() const { return reset_; }

    // The scene as the last paint drew it, and that of the state now at this widget's size.
    SceneState state() const { return state_; }
    Scene scene() const;

    // Paints the scene for `state` onto `painter` over a `width` x `height` area.
    static void paint_scene(QPainter& painter, const Scene& scene, int width, int height);

    QSize sizeHint() const override { return {360, 360}; }
    QSize minimumSizeHint() const override { return {160, 160}; }

   protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

   private:
    static void channel_changed(Channel c, void* self);
    static void simulation_moved(void* self);
    void tick();
    void describe();

    SceneCamera camera_;
    SceneState state_;
    // The simulation's state as last shown: on or off, and its clock.
    bool shown_simulated_ = false;
    int64_t shown_sim_ms_ = -1;
    bool animating_ = false;
    QTimer* frame_timer_;
    QTimer* description_timer_;
    QAction* reset_;
    QPoint drag_from_;
    bool dragging_ = false;
};
