#include "device_panel_box.h"

#include <QFontDatabase>
#include <QLabel>
#include <QProgressBar>
#include <QSlider>

#include "format.h"
#include "window_colours.h"

namespace {

constexpr int CAPTION_X = 16;
constexpr int SLIDER_X = 32;
constexpr int LABEL_X = 208;
constexpr int SLIDER_W = 177;
constexpr int SLIDER_H = 33;
constexpr int BAR_W = 233;
constexpr int BAR_H = 21;
constexpr int TEXT_PX = 18;

QFont panel_font(bool bold) {
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setPixelSize(TEXT_PX);
    f.setBold(bold);
    return f;
}

const char* label_name(Channel c) {
    static const char* const names[LABELLED_CHANNEL_COUNT] = {
        "lb_magx", "lb_magy", "lb_magz", "lb_colr", "lb_colg", "lb_colb",
        "lb_tem",  "lb_rx",   "lb_coix", "lb_coiy", "lb_coiz"};
    return names[static_cast<int>(c)];
}

}  // namespace

const char* channel_accessible_name(Channel c) {
    switch (c) {
        case Channel::MagX: return "Magnetometer X";
        case Channel::MagY: return "Magnetometer Y";
        case Channel::MagZ: return "Magnetometer Z";
        case Channel::ColR: return "Colour red";
        case Channel::ColG: return "Colour green";
        case Channel::ColB: return "Colour blue";
        case Channel::Tem: return "Temperature";
        case Channel::Rx: return "RX signal strength";
        case Channel::CoiX: return "Coil X";
        case Channel::CoiY: return "Coil Y";
        case Channel::CoiZ: return "Coil Z";
        case Channel::Spd: return "CPU speed";
        case Channel::Sys: return "System power";
        case Channel::Timer: return "Waterfall speed";
        default: return "";
    }
}

QSlider* make_channel_slider(Channel c, QWidget* parent) {
    const ChannelInfo& info = channel_info[static_cast<int>(c)];
    auto* s = new QSlider(Qt::Horizontal, parent);
    s->setObjectName(info.control);
    s->setRange(info.minimum, info.maximum);
    s->setValue(channel_position(c));
    s->setTickPosition(QSlider::TicksBelow);
    s->setTickInterval(1);
    s->setSingleStep(1);
    s->setPageStep(1);
    s->setAccessibleName(channel_accessible_name(c));
    QObject::connect(s, &QSlider::valueChanged, s, [c](int v) { channel_set(c, v); });
    return s;
}

DevicePanelBox::DevicePanelBox(QWidget* parent) : QGroupBox("Peripherals Simulation", parent) {
    setObjectName("GroupBox1");
    setFixedSize(273, 729);
    const QString text = QColor(window_colours::PANEL_TEXT.r, window_colours::PANEL_TEXT.g,
                                window_colours::PANEL_TEXT.b)
                             .name();
    setStyleSheet(QStringLiteral("QGroupBox { color: %1; } QLabel { color: %1; }").arg(text));
    setFont(panel_font(false));

    add_caption("Magnetic (Gauss):", 26, true);
    add_slider_row("X", Channel::MagX, 56, true);
    add_slider_row("Y", Channel::MagY, 88, true);
    add_slider_row("Z", Channel::MagZ, 120, true);
    add_caption("Color Sensor:", 162, true);
    add_slider_row("R", Channel::ColR, 192, true);
    add_slider_row("G", Channel::ColG, 224, true);
    add_slider_row("B", Channel::ColB, 256, true);
    add_caption("Temperature:", 298, false);
    add_slider_row("T", Channel::Tem, 328, false);
    add_caption("RX signal strength:", 370, false);
    add_slider_row("R", Channel::Rx, 400, false);
    add_caption("Coils:", 442, false);
    add_slider_row("X", Channel::CoiX, 472, false);
    add_slider_row("Y", Channel::CoiY, 504, false);
    add_slider_row("Z", Channel::CoiZ, 536, false);
    add_caption("CPU Speed:", 578, false);
    pb_spd = add_bar("pb_spd", Channel::Spd, 608);
    add_caption("System Power:", 642, false);
    pb_sys = add_bar("pb_sys", Channel::Sys, 672);

    // The user plays the world; only programs move the coils.
    for (Channel c : {Channel::CoiX, Channel::CoiY, Channel::CoiZ}) slider(c)->setEnabled(false);
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
void DevicePanelBox::add_slider_row(const char* caption, Channel c, int top, bool bold) {
    QLabel* letter = add_caption(caption, top + 2, bold);
    QSlider* s = make_channel_slider(c, this);
    letter->setBuddy(s);
    letter->setAccessibleDescription(channel_accessible_name(c));
    s->setGeometry(SLIDER_X, top, SLIDER_W, SLIDER_H);
    sliders_[static_cast<int>(c)] = s;

    auto* label = new QLabel("---", this);
    label->setObjectName(label_name(c));
    label->setFont(panel_font(bold));
    label->setGeometry(LABEL_X, top + 2, 64, TEXT_PX + 6);
    label->setBuddy(s);
    label->setAccessibleDescription(QStringLiteral("%1 value").arg(channel_accessible_name(c)));
    labels_[static_cast<int>(c)] = label;
}

QProgressBar* DevicePanelBox::add_bar(const char* name, Channel c, int top) {
    const ChannelInfo& info = channel_info[static_cast<int>(c)];
    auto* bar = new QProgressBar(this);
    bar->setObjectName(name);
    bar->setRange(info.minimum, info.maximum);
    bar->setValue(channel_position(c));
    bar->setTextVisible(false);
    bar->setAccessibleName(channel_accessible_name(c));
    bar->setGeometry(CAPTION_X, top, BAR_W, BAR_H);
    return bar;
}

void DevicePanelBox::refresh_labels() {
    for (int i = 0; i < LABELLED_CHANNEL_COUNT; ++i) {
        char text[FORMAT_BUFFER_SIZE];
        channel_label_text(static_cast<Channel>(i), text);
        labels_[i]->setText(QString::fromLatin1(text));
    }
}

void DevicePanelBox::mirror(Channel c) {
    const int position = channel_position(c);
    if (c == Channel::Spd) {
        pb_spd->setValue(position);
    } else if (c == Channel::Sys) {
        pb_sys->setValue(position);
    } else if (QSlider* s = slider(c); s != nullptr && s->value() != position) {
        s->setValue(position);
    }
}
