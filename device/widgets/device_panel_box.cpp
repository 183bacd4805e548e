#include "device_panel_box.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <QSlider>
#include <QTimer>
#include <algorithm>

#include "format.h"
#include "window_colours.h"

static_assert(CHANNEL_COUNT <= 32, "one bit a channel in the panel's dirty set");

namespace {

constexpr int CAPTION_X = 16;
constexpr int SLIDER_X = 32;
constexpr int LABEL_X = 208;
constexpr int LABEL_W = 64;
constexpr int SLIDER_W = 177;
constexpr int BAR_W = 233;
constexpr int BAR_H = 21;
constexpr int PANEL_W = 273;
constexpr int TEXT_PX = 18;
constexpr int NOTE_PX = 14;

// The rows' rhythm: a section's caption, its first control below it, further sliders a slider
// apart, and the next caption below a slider or a bar. The design's spacing, and a compact one
// for short screens that keeps the rows just apart.
struct Rhythm {
    int first_caption_top;
    int caption_to_control;
    int slider_to_slider;
    int slider_to_caption;
    int bar_to_caption;
    int slider_h;
};
constexpr Rhythm DESIGN_RHYTHM{26, 30, 32, 42, 34, 33};
constexpr Rhythm COMPACT_RHYTHM{24, 22, 26, 30, 28, 26};

// From the compact rhythm (0) to the design's (1).
Rhythm rhythm(double spread) {
    auto between = [spread](int compact, int design) {
        return compact + qRound((design - compact) * spread);
    };
    const Rhythm& c = COMPACT_RHYTHM;
    const Rhythm& d = DESIGN_RHYTHM;
    return {between(c.first_caption_top, d.first_caption_top),
            between(c.caption_to_control, d.caption_to_control),
            between(c.slider_to_slider, d.slider_to_slider),
            between(c.slider_to_caption, d.slider_to_caption),
            between(c.bar_to_caption, d.bar_to_caption),
            between(c.slider_h, d.slider_h)};
}

int scaled(int pixels, double scale) {
    return qRound(pixels * scale);
}

// Walks the rows from the channel table as the panel lays them out: `place(channel,
// caption_top, control_top)` for each, caption_top -1 for a row without a section caption.
// Returns the top of the line under the last control.
template <class Place>
int walk_rows(const Rhythm& r, double s, Place&& place) {
    int top = scaled(r.first_caption_top, s) - scaled(r.caption_to_control, s);
    int below_last = 0;  // from the last control to the next caption
    int note_top = 0;
    for (int i = 0; i < CHANNEL_COUNT; ++i) {
        const Channel c = static_cast<Channel>(i);
        const ChannelInfo& info = info_of(c);
        // The waterfall speed lives with the waterfall.
        if (info.mover == Mover::Setting) continue;
        int caption_top = -1;
        if (info.section != nullptr) {
            caption_top = below_last == 0 ? scaled(r.first_caption_top, s) : top + below_last;
            top = caption_top + scaled(r.caption_to_control, s);
        } else {
            top += scaled(r.slider_to_slider, s);
        }
        place(c, caption_top, top);
        const bool bar = info.widget == Widget::Bar;
        below_last = scaled(bar ? r.bar_to_caption : r.slider_to_caption, s);
        note_top = top + scaled(bar ? BAR_H : r.slider_h, s) + scaled(6, s);
    }
    return note_top;
}

// The panel is redrawn at most this often: as often as a screen shows a new picture.
constexpr int PAINT_INTERVAL_MS = 16;

QFont panel_font(bool bold, int pixels = TEXT_PX) {
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

bool user_moves(const ChannelInfo& info) {
    return info.mover == Mover::User || info.mover == Mover::Setting;
}

QString colour_name(Rgb c) {
    return QColor(c.r, c.g, c.b).name();
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
    s->setEnabled(user_moves(info));
    QObject::connect(s, &QSlider::valueChanged, s, [c](int v) { channel_set(c, v); });
    return s;
}

DevicePanelBox::DevicePanelBox(QWidget* parent)
    : QGroupBox("Peripherals Simulation", parent), paint_timer_(new QTimer(this)) {
    setObjectName("GroupBox1");
    const QString text = colour_name(window_colours::PANEL_TEXT);
    setStyleSheet(QStringLiteral("QGroupBox { color: %1; } QLabel { color: %1; }").arg(text));
    setFont(panel_font(false));

    for (int i = 0; i < CHANNEL_COUNT; ++i) {
        const Channel c = static_cast<Channel>(i);
        const ChannelInfo& info = info_of(c);
        if (info.mover == Mover::Setting) continue;
        Row row{c};
        if (info.section != nullptr) row.section = add_caption(info.section, info.bold);
        rows_.push_back(row);
        if (info.widget == Widget::Bar) {
            add_bar(c);
        } else {
            add_slider_row(c);
        }
    }
    pb_spd = bar(Channel::Spd);
    pb_sys = bar(Channel::Sys);

    arrange(1.0, 1.0);

    paint_timer_->setSingleShot(true);
    connect(paint_timer_, &QTimer::timeout, this, &DevicePanelBox::flush);
    since_paint_.start();
    device_subscribe(channel_changed, this);
}

DevicePanelBox::~DevicePanelBox() {
    device_unsubscribe(channel_changed, this);
}

QLabel* DevicePanelBox::add_caption(const char* text, bool bold) {
    auto* caption = new QLabel(text, this);
    caption->setFont(panel_font(bold));
    return caption;
}

// The letter before a slider and the value after it are read as they are shown; their
// descriptions say which slider they belong to.
void DevicePanelBox::add_slider_row(Channel c) {
    const ChannelInfo& info = info_of(c);
    QSlider* s = make_channel_slider(c, this);
    if (info.caption != nullptr) {
        QLabel* letter = add_caption(info.caption, info.bold);
        letter->setBuddy(s);
        letter->setAccessibleDescription(info.accessible_name);
        rows_.back().letter = letter;
    }
    sliders_[static_cast<int>(c)] = s;
    if (info.label == nullptr) return;
    auto* label = new QLabel("---", this);
    label->setObjectName(info.label);
    label->setFont(panel_font(info.bold));
    label->setBuddy(s);
    label->setAccessibleDescription(QStringLiteral("%1 value").arg(info.accessible_name));
    labels_[static_cast<int>(c)] = label;
}

void DevicePanelBox::add_bar(Channel c) {
    const ChannelInfo& info = info_of(c);
    auto* b = new QProgressBar(this);
    b->setObjectName(info.control);
    b->setRange(info.minimum, info.maximum);
    b->setValue(channel_position(c));
    b->setTextVisible(false);
    b->setAccessibleName(info.accessible_name);
    b->setAccessibleDescription(info.description);
    bars_[static_cast<int>(c)] = b;
}

int DevicePanelBox::height_for(double scale, double spread) {
    const int note_top = walk_rows(rhythm(spread), scale, [](Channel, int, int) {});
    return note_top + scaled(NOTE_PX + 6 + 10, scale);
}

void DevicePanelBox::arrange(double scale, double spread) {
    scale_ = scale;
    spread_ = spread;
    const Rhythm r = rhythm(spread);
    const int text_px = scaled(TEXT_PX, scale);
    setFont(panel_font(false, text_px));
    size_t next = 0;
    note_top_ = walk_rows(r, scale, [&](Channel c, int caption_top, int top) {
        const Row& row = rows_[next++];
        const ChannelInfo& info = info_of(c);
        const int i = static_cast<int>(c);
        auto place_caption = [&](QLabel* caption, int y) {
            caption->setFont(panel_font(info.bold, text_px));
            caption->move(scaled(CAPTION_X, scale), y);
            caption->adjustSize();
        };
        if (row.section != nullptr) place_caption(row.section, caption_top);
        if (bars_[i] != nullptr) {
            bars_[i]->setGeometry(scaled(CAPTION_X, scale), top, scaled(BAR_W, scale),
                                  scaled(BAR_H, scale));
            return;
        }
        if (row.letter != nullptr) place_caption(row.letter, top + scaled(2, scale));
        sliders_[i]->setGeometry(scaled(SLIDER_X, scale), top, scaled(SLIDER_W, scale),
                                 scaled(r.slider_h, scale));
        if (labels_[i] != nullptr) {
            labels_[i]->setFont(panel_font(info.bold, text_px));
            labels_[i]->setGeometry(scaled(LABEL_X, scale), top + scaled(2, scale),
                                    scaled(LABEL_W, scale), text_px + scaled(6, scale));
        }
    });
    note_px_ = scaled(NOTE_PX, scale);
    setFixedSize(scaled(PANEL_W, scale), height_for(scale, spread));
    place_note();
}

void DevicePanelBox::place_note() {
    if (note_ == nullptr) return;
    note_->setFont(panel_font(false, note_px_));
    note_->setGeometry(scaled(CAPTION_X, scale_), note_top_, width() - 2 * scaled(CAPTION_X, scale_),
                       note_px_ + scaled(6, scale_));
    if (!note_->toolTip().isEmpty()) {
        note_->setText(QFontMetrics(note_->font())
                           .elidedText(note_->toolTip(), Qt::ElideMiddle, note_->width()));
    }
}

void DevicePanelBox::adopt_slider(Channel c, QSlider* s) {
    sliders_[static_cast<int>(c)] = s;
}

void DevicePanelBox::show_simulation(const QString& caption, const std::vector<Channel>& driven) {
    const bool on = !caption.isEmpty();
    if (on && note_ == nullptr) {
        note_ = new QLabel(this);
        note_->setObjectName("sim_note");
        note_->setStyleSheet("color: " + colour_name(window_colours::SIMULATED_TEXT));
        note_->setAccessibleDescription("Simulation");
        place_note();
    }
    if (note_ != nullptr) {
        const QString text = "Simulated: " + caption;
        note_->setText(
            on ? QFontMetrics(note_->font()).elidedText(text, Qt::ElideMiddle, note_->width())
               : QString());
        note_->setToolTip(on ? text : QString());
        note_->setVisible(on);
    }
    const QString tip =
        on ? QStringLiteral("Simulated (%1): the simulation moves this sensor").arg(caption)
           : QString();
    for (int i = 0; i < CHANNEL_COUNT; ++i) {
        const Channel c = static_cast<Channel>(i);
        const ChannelInfo& info = info_of(c);
        const bool simulated = on && std::find(driven.begin(), driven.end(), c) != driven.end();
        if (QSlider* s = sliders_[i]; s != nullptr) {
            s->setEnabled(!simulated && user_moves(info));
            s->setToolTip(simulated ? tip : QString());
            const QString description = QString::fromLatin1(info.description);
            s->setAccessibleDescription(simulated ? description + "; simulated" : description);
        }
        if (QLabel* l = labels_[i]; l != nullptr) {
            // Back to the panel's own colour when the simulation lets go.
            l->setStyleSheet(simulated ? QStringLiteral("color: %1; font-style: italic;")
                                             .arg(colour_name(window_colours::SIMULATED_TEXT))
                                       : QString());
            l->setToolTip(simulated ? tip : QString());
            l->setAccessibleDescription(
                QString::fromLatin1(simulated ? "%1 value, simulated" : "%1 value")
                    .arg(QString::fromLatin1(info.accessible_name)));
        }
    }
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
