#include "device_panel_box.h"

#include <QFontDatabase>
#include <QLabel>
#include <QProgressBar>
#include <QSlider>
#include <QTimer>

#include "format.h"
#include "window_colours.h"

static_assert(CHANNEL_COUNT <= 32, "one bit a channel in the panel's dirty set");

namespace {

constexpr int CAPTION_X = 16;
constexpr int SLIDER_X = 32;
constexpr int LABEL_X = 208;
constexpr int SLIDER_W = 177;
constexpr int SLIDER_H = 33;
constexpr int BAR_W = 233;
constexpr int BAR_H = 21;
constexpr int TEXT_PX = 18;

// The rows' rhythm: a section's caption, its first control 30 pixels below, further sliders
// 32 apart, and the next caption 42 below a slider or 34 below a bar.
constexpr int FIRST_CAPTION_TOP = 26;
constexpr int CAPTION_TO_CONTROL = 30;
constexpr int SLIDER_TO_SLIDER = 32;
constexpr int SLIDER_TO_CAPTION = 42;
constexpr int BAR_TO_CAPTION = 34;

// The panel is redrawn at most this often: as often as a screen shows a new picture.
constexpr int PAINT_INTERVAL_MS = 16;

QFont panel_font(bool bold) {
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setPixelSize(TEXT_PX);
    f.setBold(bold);
    return f;
}

}  // namespace

QSlider* make_channel_slider(Channel c, QWidget* parent) {
    const ChannelInfo& info = info_of(c);
    auto* s = new QSlider(Qt::Horizontal, parent);
    s->setObjectName(info.control);
    s->setRange(info.minimum, info.maximum);
    s->setValue(channel_position(c));
    s->setTickPosition(QSlider::TicksBelow);
    s->setTickInterval(1);
    s->setSingleStep(1);
    s->setPageStep(1);
    s->setAccessibleName(info.accessible_name);
    s->setAccessibleDescription(info.description);
    // The user plays the world; only programs move the coils.
    s->setEnabled(info.mover == Mover::User || info.mover == Mover::Setting);
    QObject::connect(s, &QSlider::valueChanged, s, [c](int v) { channel_set(c, v); });
    return s;
}

DevicePanelBox::DevicePanelBox(QWidget* parent)
    : QGroupBox("Peripherals Simulation", parent), paint_timer_(new QTimer(this)) {
    setObjectName("GroupBox1");
    setFixedSize(273, 729);
    const QString text = QColor(window_colours::PANEL_TEXT.r, window_colours::PANEL_TEXT.g,
                                window_colours::PANEL_TEXT.b)
                             .name();
    setStyleSheet(QStringLiteral("QGroupBox { color: %1; } QLabel { color: %1; }").arg(text));
    setFont(panel_font(false));

    int top = FIRST_CAPTION_TOP - CAPTION_TO_CONTROL;
    int below_last = 0;  // from the last control to the next caption
    for (int i = 0; i < CHANNEL_COUNT; ++i) {
        const Channel c = static_cast<Channel>(i);
        const ChannelInfo& info = info_of(c);
        // The waterfall speed lives with the waterfall.
        if (info.mover == Mover::Setting) continue;
        if (info.section != nullptr) {
            const int caption_top = below_last == 0 ? FIRST_CAPTION_TOP : top + below_last;
            add_caption(info.section, caption_top, info.bold);
            top = caption_top + CAPTION_TO_CONTROL;
        } else {
            top += SLIDER_TO_SLIDER;
        }
        if (info.widget == Widget::Bar) {
            add_bar(c, top);
            below_last = BAR_TO_CAPTION;
        } else {
            add_slider_row(c, top);
            below_last = SLIDER_TO_CAPTION;
        }
    }
    pb_spd = bar(Channel::Spd);
    pb_sys = bar(Channel::Sys);

    paint_timer_->setSingleShot(true);
    connect(paint_timer_, &QTimer::timeout, this, &DevicePanelBox::flush);
    since_paint_.start();
    device_subscribe(channel_changed, this);
}

DevicePanelBox::~DevicePanelBox() {
    device_unsubscribe(channel_changed, this);
}

QLabel* DevicePanelBox::add_caption(const char* text, int top, bool bold) {
    auto* caption = new QLabel(text, this);
    caption->setFont(panel_font(bold));
    caption->move(CAPTION_X, top);
    caption->adjustSize();
    return caption;
}

// The letter before a slider and the value after it are read as they are shown; their
// descriptions say which slider they belong to.
void DevicePanelBox::add_slider_row(Channel c, int top) {
    const ChannelInfo& info = info_of(c);
    QSlider* s = make_channel_slider(c, this);
    if (info.caption != nullptr) {
        QLabel* letter = add_caption(info.caption, top + 2, info.bold);
        letter->setBuddy(s);
        letter->setAccessibleDescription(info.accessible_name);
    }
    s->setGeometry(SLIDER_X, top, SLIDER_W, SLIDER_H);
    sliders_[static_cast<int>(c)] = s;
    if (info.label == nullptr) return;
    auto* label = new QLabel("---", this);
    label->setObjectName(info.label);
    label->setFont(panel_font(info.bold));
    label->setGeometry(LABEL_X, top + 2, 64, TEXT_PX + 6);
    label->setBuddy(s);
    label->setAccessibleDescription(QStringLiteral("%1 value").arg(info.accessible_name));
    labels_[static_cast<int>(c)] = label;
}

void DevicePanelBox::add_bar(Channel c, int top) {
    const ChannelInfo& info = info_of(c);
    auto* b = new QProgressBar(this);
    b->setObjectName(info.control);
    b->setRange(info.minimum, info.maximum);
    b->setValue(channel_position(c));
    b->setTextVisible(false);
    b->setAccessibleName(info.accessible_name);
    b->setAccessibleDescription(info.description);
    b->setGeometry(CAPTION_X, top, BAR_W, BAR_H);
    bars_[static_cast<int>(c)] = b;
}

void DevicePanelBox::adopt_slider(Channel c, QSlider* s) {
    sliders_[static_cast<int>(c)] = s;
}

void DevicePanelBox::refresh_labels() {
    for (int i = 0; i < CHANNEL_COUNT; ++i) {
        if (labels_[i] == nullptr) continue;
        char text[FORMAT_BUFFER_SIZE];
        channel_label_text(static_cast<Channel>(i), text);
        labels_[i]->setText(QString::fromLatin1(text));
    }
}

// Marks the channel and asks for one redraw: a program that sets a channel a million times a
// second costs the panel a bit and a look at a flag each time.
void DevicePanelBox::channel_changed(Channel c, void* self) {
    auto* panel = static_cast<DevicePanelBox*>(self);
    const bool scheduled = panel->dirty_ != 0;
    panel->dirty_ |= 1u << static_cast<int>(c);
    if (scheduled) return;
    const qint64 since = panel->since_paint_.elapsed();
    panel->paint_timer_->start(since >= PAINT_INTERVAL_MS
                                   ? 0
                                   : static_cast<int>(PAINT_INTERVAL_MS - since));
}

void DevicePanelBox::flush() {
    paint_timer_->stop();
    uint32_t dirty = dirty_;
    dirty_ = 0;
    since_paint_.restart();
    for (int i = 0; dirty != 0; ++i, dirty >>= 1) {
        if ((dirty & 1u) != 0) show(static_cast<Channel>(i));
    }
}

void DevicePanelBox::show(Channel c) {
    const int i = static_cast<int>(c);
    const int position = channel_position(c);
    if (QSlider* s = sliders_[i]; s != nullptr && s->value() != position) s->setValue(position);
    if (QProgressBar* b = bars_[i]; b != nullptr && b->value() != position) b->setValue(position);
    if (QLabel* l = labels_[i]; l != nullptr) {
        char text[FORMAT_BUFFER_SIZE];
        channel_label_text(c, text);
        const QString shown = QString::fromLatin1(text);
        if (l->text() != shown) l->setText(shown);
    }
}
