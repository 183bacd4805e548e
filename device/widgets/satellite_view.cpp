#include "satellite_view.h"

#include <QAction>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>

#include "simulation.h"

namespace {

// At most this many pictures a second, for a slider's move as for a simulation's.
constexpr int FRAME_MS = 33;
// A screen reader hears of a change at most this often.
constexpr int DESCRIPTION_MS = 250;
constexpr double DEGREES_PER_PIXEL = 0.5;
constexpr double KEY_STEP_DEG = 10;
constexpr double ZOOM_STEP = 1.15;

constexpr uint32_t BACKGROUND = 0x141A24;
constexpr uint32_t NOTE_COLOUR = 0xE0E6EE;
constexpr uint32_t HINT_COLOUR = 0x8792A2;

QColor colour(uint32_t rgb, int alpha = 255) {
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF, alpha);
}

bool shown_channel(Channel c) {
    switch (c) {
        case Channel::MagX:
        case Channel::MagY:
        case Channel::MagZ:
        case Channel::CoiX:
        case Channel::CoiY:
        case Channel::CoiZ:
            return true;
        default:
            return false;
    }
}

}  // namespace

SatelliteView::SatelliteView(QWidget* parent)
    : QWidget(parent),
      frame_timer_(new QTimer(this)),
      description_timer_(new QTimer(this)),
      reset_(new QAction("Reset view", this)) {
    setObjectName("satellite_view");
    setAccessibleName("Satellite");
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setToolTip("Drag to turn the view, the wheel to move closer; double-click to reset it");
    reset_->setObjectName("satellite_reset");
    reset_->setShortcut(QKeySequence(Qt::Key_Home));
    reset_->setShortcutContext(Qt::WidgetShortcut);
    connect(reset_, &QAction::triggered, this, &SatelliteView::reset_view);
    addAction(reset_);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    frame_timer_->setInterval(FRAME_MS);
    frame_timer_->setSingleShot(true);
    connect(frame_timer_, &QTimer::timeout, this, &SatelliteView::tick);
    description_timer_->setSingleShot(true);
    description_timer_->setInterval(DESCRIPTION_MS);
    connect(description_timer_, &QTimer::timeout, this, &SatelliteView::describe);

    state_ = scene_state_now();
    describe();
    device_subscribe(channel_changed, this);
    sim_subscribe(simulation_moved, this);
}

SatelliteView::~SatelliteView() {
    sim_unsubscribe(simulation_moved, this);
    device_unsubscribe(channel_changed, this);
}

// Called in the middle of statements: a flag and, once a frame, a timer.
void SatelliteView::channel_changed(Channel c, void* self) {
    auto* view = static_cast<SatelliteView*>(self);
    if (!shown_channel(c) || !view->isVisible()) return;
    if (view->animating_) return;  // the frame timer looks anyway
    if (!view->frame_timer_->isActive()) view->frame_timer_->start();
}

// The satellite put somewhere else while no run moves it (a moment of the run shown again) turns
// with no channel changed when its field reads the same: the picture follows it once a frame.
void SatelliteView::simulation_moved(void* self) {
    auto* view = static_cast<SatelliteView*>(self);
    if (view->animating_ || !view->isVisible()) return;
    if (!view->frame_timer_->isActive()) view->frame_timer_->start();
}

void SatelliteView::set_animating(bool on) {
    // A run switches between running and waiting at every DELAY: the frames go on through it.
    if (on == animating_) return;
    animating_ = on;
    frame_timer_->stop();
    frame_timer_->setSingleShot(!on);
    if (on && isVisible()) frame_timer_->start();
    if (!on) refresh();
}

// A frame: the picture again when the channels or the simulation moved since the last one.
void SatelliteView::tick() {
    if (!isVisible()) {
        frame_timer_->stop();
        return;
    }
    refresh();
}

void SatelliteView::refresh() {
    const SceneState now = scene_state_now();
    const int64_t sim_ms = simulation.on ? simulation.state.time_ms : -1;
    const auto same = [](Vec3 a, Vec3 b) { return a.x == b.x && a.y == b.y && a.z == b.z; };
    const Quat& q = now.attitude;
    const Quat& shown_q = state_.attitude;
    if (now.simulated == shown_simulated_ && sim_ms == shown_sim_ms_ &&
        same(now.field_gauss, state_.field_gauss) && same(now.coil, state_.coil) &&
        q.w == shown_q.w && q.x == shown_q.x && q.y == shown_q.y && q.z == shown_q.z) {
        return;
    }
    state_ = now;
    shown_simulated_ = now.simulated;
    shown_sim_ms_ = sim_ms;
    update();
    if (!description_timer_->isActive()) description_timer_->start();
}

void SatelliteView::describe() {
    const QString text = QString::fromStdString(scene_description(state_));
    if (text != accessibleDescription()) setAccessibleDescription(text);
}

void SatelliteView::set_camera(const SceneCamera& camera) {
    camera_ = camera;
    update();
}

void SatelliteView::reset_view() {
    set_camera(SceneCamera{});
}

Scene SatelliteView::scene() const {
    return build_scene(scene_state_now(), camera_, width(), height());
}

namespace {

// The pieces of one line that follow each other in the painting order are drawn as one
// polyline: fewer calls, and no darker dots where two antialiased pieces overlap.
bool continues(const Primitive& a, const Primitive& b) {
    return b.kind == PrimitiveKind::Segment && a.kind == PrimitiveKind::Segment &&
           a.line == b.line && a.width == b.width && a.alpha == b.alpha && a.dashed == b.dashed &&
           a.points[1].x == b.points[0].x && a.points[1].y == b.points[0].y;
}

}  // namespace

void SatelliteView::paint_scene(QPainter& p, const Scene& scene, int width, int height) {
    p.fillRect(0, 0, width, height, colour(BACKGROUND));
    p.setRenderHint(QPainter::Antialiasing);
    QFont label_font = p.font();
    label_font.setPixelSize(13);
    label_font.setBold(true);
    QFont note_font = p.font();
    note_font.setPixelSize(12);
    p.setFont(label_font);
    const QFontMetricsF metrics(label_font);
    QPolygonF line;
    const std::vector<Primitive>& all = scene.primitives;
    for (size_t i = 0; i < all.size(); ++i) {
        const Primitive& s = all[i];
        switch (s.kind) {
            case PrimitiveKind::Polygon: {
                QPointF corners[4];
                for (int k = 0; k < s.count; ++k) corners[k] = {s.points[k].x, s.points[k].y};
                p.setPen(QPen(colour(s.line, s.alpha), 1));
                p.setBrush(colour(s.fill, s.alpha));
                p.drawPolygon(corners, s.count);
                break;
            }
            case PrimitiveKind::Segment:
                line.clear();
                line << QPointF(s.points[0].x, s.points[0].y)
                     << QPointF(s.points[1].x, s.points[1].y);
                while (i + 1 < all.size() && continues(all[i], all[i + 1])) {
                    ++i;
                    line << QPointF(all[i].points[1].x, all[i].points[1].y);
                }
                p.setPen(QPen(colour(s.line, s.alpha), s.width,
                              s.dashed ? Qt::DashLine : Qt::SolidLine, Qt::RoundCap,
                              Qt::RoundJoin));
                p.drawPolyline(line);
                break;
            case PrimitiveKind::Disc:
                p.setPen(QPen(colour(s.line, s.alpha), 1));
                p.setBrush(colour(s.fill, s.alpha));
                p.drawEllipse(QPointF(s.points[0].x, s.points[0].y), s.radius, s.radius);
                break;
            case PrimitiveKind::Label: {
                const QString text = QString::fromStdString(s.text);
                const double w = metrics.horizontalAdvance(text);
                const double h = metrics.ascent();
                // The text's box centred beyond the point, away from what it names.
                const double off_x = s.count > 1 ? s.points[1].x * w / 2 : 0;
                const double off_y = s.count > 1 ? s.points[1].y * h / 2 : 0;
                p.setPen(colour(s.fill));
                p.drawText(
                    QPointF(s.points[0].x + off_x - w / 2, s.points[0].y + off_y + h / 2 - 1),
                    text);
                break;
            }
        }
    }
    p.setFont(note_font);
    p.setPen(colour(NOTE_COLOUR));
    const QFontMetricsF note_metrics(note_font);
    double y = 6 + note_metrics.ascent();
    for (const std::string& note : scene.notes) {
        p.drawText(QPointF(8, y), QString::fromStdString(note));
        y += note_metrics.lineSpacing();
    }
}

void SatelliteView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    paint_scene(p, build_scene(state_, camera_, width(), height()), width(), height());
}

void SatelliteView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragging_ = true;
        drag_from_ = event->position().toPoint();
    }
    QWidget::mousePressEvent(event);
}

void SatelliteView::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_ || !(event->buttons() & Qt::LeftButton)) return;
    const QPoint at = event->position().toPoint();
    const QPoint moved = at - drag_from_;
    drag_from_ = at;
    // The picture follows the hand: dragging right turns the body's front to the right.
    camera_orbit(camera_, -moved.x() * DEGREES_PER_PIXEL, moved.y() * DEGREES_PER_PIXEL);
    update();
}

void SatelliteView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) reset_view();
}

void SatelliteView::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y() / 120;
    if (steps == 0) return;
    camera_zoom(camera_, steps > 0 ? 1 / ZOOM_STEP : ZOOM_STEP);
    update();
}

void SatelliteView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
            camera_orbit(camera_, KEY_STEP_DEG, 0);
            break;
        case Qt::Key_Right:
            camera_orbit(camera_, -KEY_STEP_DEG, 0);
            break;
        case Qt::Key_Up:
            camera_orbit(camera_, 0, KEY_STEP_DEG);
            break;
        case Qt::Key_Down:
            camera_orbit(camera_, 0, -KEY_STEP_DEG);
            break;
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            camera_zoom(camera_, 1 / ZOOM_STEP);
            break;
        case Qt::Key_Minus:
            camera_zoom(camera_, ZOOM_STEP);
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    update();
}

void SatelliteView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refresh();
    if (animating_) frame_timer_->start();
}

void SatelliteView::hideEvent(QHideEvent* event) {
    frame_timer_->stop();
    QWidget::hideEvent(event);
}
