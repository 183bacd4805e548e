// The device panel as a model: one table that says everything about each channel (its names,
// range, scaling, captions, where it is kept and shown), the positions of the sliders and bars,
// and the subscribers told when a position really changes. The window's widgets, the settings
// file, the trace, the telemetry and the runner's options all read the table.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

enum class Channel : int {
    // The magnetometer, read by MGET.
    MagX,
    MagY,
    MagZ,
    // The colour sensor, read by CGET.
    ColR,
    ColG,
    ColB,
    Tem,  // temperature, read by TGET
    Rx,   // received signal strength, read by RX
    // The coils, set by COIL; the user cannot move them.
    CoiX,
    CoiY,
    CoiZ,
    Spd,    // CPU speed bar, set by SPEED
    Sys,    // system power bar; nothing changes it
    Timer,  // waterfall speed slider
    Count
};

inline constexpr int CHANNEL_COUNT = static_cast<int>(Channel::Count);

// What a program reads for a position.
enum class Scaling {
    Unit,        // the position itself
    Hundredths,  // 37 reads as 0.37
    Tens,        // whole tens: 1000 reads as 100
};

// Who moves a channel.
enum class Mover {
    User,     // a sensor slider: the user plays the world
    Program,  // set by a device statement; the user cannot move it
    Nobody,   // shown, never changed
    Setting,  // a setting of the window, no business of the program
};

// How the panel shows a channel.
enum class Widget { Slider, Bar };

// The telemetry chart a channel is drawn in.
enum class ChartGroup { None, Field, Thermal, Radio };

// How its line is drawn: the coils dashed in the colour of their field axis, so a field and
// the coil that answers it read as a pair; the colour sensor dotted.
enum class LineStyle { Solid, Dashed, Dotted };

struct ChannelInfo {
    const char* name;     // "magx": options, scenario files, trace column, chart series
    const char* control;  // the slider's or bar's name in the window: "tb_magx"
    const char* label;    // its value label's name ("lb_magx"), or nullptr for none
    int32_t minimum;
    int32_t maximum;
    int32_t start;
    Scaling scaling;
    Mover mover;
    Widget widget;
    // The panel: a section caption opens a new group of rows ("Magnetic (Gauss):", or nullptr
    // to go on with the group above); the row's own caption ("X"), bold for the whole group.
    const char* section;
    const char* caption;
    bool bold;
    // For screen readers: the control's name, and what the value means.
    const char* accessible_name;
    const char* description;
    // Line of the settings file (0 = first), or -1 when it is not kept.
    int settings_slot;
    // A column of the trace and a series of the telemetry (the first channels only).
    bool traced;
    ChartGroup chart;
    uint32_t colour;  // 0xRRGGBB
    LineStyle line;
};

inline constexpr uint32_t AXIS_X_COLOUR = 0xDC322F;
inline constexpr uint32_t AXIS_Y_COLOUR = 0x3C9600;
inline constexpr uint32_t AXIS_Z_COLOUR = 0x266ED2;

// order: Channel
inline constexpr ChannelInfo channel_info[CHANNEL_COUNT] = {
    {"magx", "tb_magx", "lb_magx", -100, 100, 0, Scaling::Hundredths, Mover::User, Widget::Slider,
     "Magnetic (Gauss):", "X", true, "Magnetometer X", "Magnetic field along X in gauss; MGET reads it",
     0, true, ChartGroup::Field, AXIS_X_COLOUR, LineStyle::Solid},
    {"magy", "tb_magy", "lb_magy", -100, 100, 0, Scaling::Hundredths, Mover::User, Widget::Slider,
     nullptr, "Y", true, "Magnetometer Y", "Magnetic field along Y in gauss; MGET reads it",
     1, true, ChartGroup::Field, AXIS_Y_COLOUR, LineStyle::Solid},
    {"magz", "tb_magz", "lb_magz", -100, 100, 0, Scaling::Hundredths, Mover::User, Widget::Slider,
     nullptr, "Z", true, "Magnetometer Z", "Magnetic field along Z in gauss; MGET reads it",
     2, true, ChartGroup::Field, AXIS_Z_COLOUR, LineStyle::Solid},
    {"colr", "tb_colr", "lb_colr", 0, 100, 0, Scaling::Unit, Mover::User, Widget::Slider,
     "Color Sensor:", "R", true, "Colour red", "Red light seen by the colour sensor; CGET reads it",
     3, true, ChartGroup::Thermal, AXIS_X_COLOUR, LineStyle::Dotted},
    {"colg", "tb_colg", "lb_colg", 0, 100, 0, Scaling::Unit, Mover::User, Widget::Slider,
     nullptr, "G", true, "Colour green", "Green light seen by the colour sensor; CGET reads it",
     4, true, ChartGroup::Thermal, AXIS_Y_COLOUR, LineStyle::Dotted},
    {"colb", "tb_colb", "lb_colb", 0, 100, 0, Scaling::Unit, Mover::User, Widget::Slider,
     nullptr, "B", true, "Colour blue", "Blue light seen by the colour sensor; CGET reads it",
     5, true, ChartGroup::Thermal, AXIS_Z_COLOUR, LineStyle::Dotted},
    {"tem", "tb_tem", "lb_tem", -40, 80, 0, Scaling::Unit, Mover::User, Widget::Slider,
     "Temperature:", "T", false, "Temperature", "Temperature in degrees Celsius; TGET reads it",
     6, true, ChartGroup::Thermal, 0x000000, LineStyle::Solid},
    {"rx", "tb_rx", "lb_rx", 0, 255, 0, Scaling::Unit, Mover::User, Widget::Slider,
     "RX signal strength:", "R", false, "RX signal strength",
     "Strength of the received signal; RX reads it", 7, true, ChartGroup::Radio, 0xB56400,
     LineStyle::Solid},
    {"coix", "tb_coix", "lb_coix", -100, 100, 0, Scaling::Hundredths, Mover::Program,
     Widget::Slider, "Coils:", "X", false, "Coil X", "Current of the X coil; COIL sets it", -1,
     true, ChartGroup::Field, AXIS_X_COLOUR, LineStyle::Dashed},
    {"coiy", "tb_coiy", "lb_coiy", -100, 100, 0, Scaling::Hundredths, Mover::Program,
     Widget::Slider, nullptr, "Y", false, "Coil Y", "Current of the Y coil; COIL sets it", -1,
     true, ChartGroup::Field, AXIS_Y_COLOUR, LineStyle::Dashed},
    {"coiz", "tb_coiz", "lb_coiz", -100, 100, 0, Scaling::Hundredths, Mover::Program,
     Widget::Slider, nullptr, "Z", false, "Coil Z", "Current of the Z coil; COIL sets it", -1,
     true, ChartGroup::Field, AXIS_Z_COLOUR, LineStyle::Dashed},
    {"spd", "pb_spd", nullptr, 0, 4, 4, Scaling::Unit, Mover::Program, Widget::Bar,
     "CPU Speed:", nullptr, false, "CPU speed", "The processor's speed step; SPEED sets it", -1,
     true, ChartGroup::Thermal, 0x646464, LineStyle::Solid},
    {"sys", "pb_sys", nullptr, 0, 1000, 1000, Scaling::Tens, Mover::Nobody, Widget::Bar,
     "System Power:", nullptr, false, "System power", "Power left in the battery; PGET reads it",
     -1, false, ChartGroup::None, 0x646464, LineStyle::Solid},
    {"timer", "tb_timer", nullptr, 0, 10, 5, Scaling::Unit, Mover::Setting, Widget::Slider,
     nullptr, nullptr, false, "Waterfall speed", "How fast the waterfall scrolls", 8, false,
     ChartGroup::None, 0x646464, LineStyle::Solid},
};

constexpr const ChannelInfo& info_of(Channel c) {
    return channel_info[static_cast<int>(c)];
}

// The channels with a value label, in the order the label refresh sets them.
constexpr int count_labelled() {
    int n = 0;
    for (const ChannelInfo& c : channel_info) n += c.label != nullptr ? 1 : 0;
    return n;
}
inline constexpr int LABELLED_CHANNEL_COUNT = count_labelled();

// The trace's columns and the telemetry's first series are the traced channels, which come
// first in the table.
constexpr int count_traced() {
    int n = 0;
    while (n < CHANNEL_COUNT && channel_info[n].traced) ++n;
    return n;
}
inline constexpr int TRACED_CHANNEL_COUNT = count_traced();

// The settings file's lines, one per kept channel.
constexpr int count_settings() {
    int n = 0;
    for (const ChannelInfo& c : channel_info) n += c.settings_slot >= 0 ? 1 : 0;
    return n;
}
inline constexpr int SETTINGS_CHANNEL_COUNT = count_settings();

constexpr std::array<Channel, SETTINGS_CHANNEL_COUNT> settings_order() {
    std::array<Channel, SETTINGS_CHANNEL_COUNT> order{};
    for (int i = 0; i < CHANNEL_COUNT; ++i) {
        if (channel_info[i].settings_slot >= 0) {
            order[static_cast<size_t>(channel_info[i].settings_slot)] = static_cast<Channel>(i);
        }
    }
    return order;
}

// The channels a program sets, in table order: what --state shows.
constexpr int count_moved_by(Mover mover) {
    int n = 0;
    for (const ChannelInfo& c : channel_info) n += c.mover == mover ? 1 : 0;
    return n;
}
inline constexpr int PROGRAM_CHANNEL_COUNT = count_moved_by(Mover::Program);
constexpr std::array<Channel, PROGRAM_CHANNEL_COUNT> program_channels() {
    std::array<Channel, PROGRAM_CHANNEL_COUNT> out{};
    size_t n = 0;
    for (int i = 0; i < CHANNEL_COUNT; ++i) {
        if (channel_info[i].mover == Mover::Program) out[n++] = static_cast<Channel>(i);
    }
    return out;
}

constexpr std::array<int32_t, CHANNEL_COUNT> start_positions() {
    std::array<int32_t, CHANNEL_COUNT> p{};
    for (int i = 0; i < CHANNEL_COUNT; ++i) p[i] = channel_info[i].start;
    return p;
}

// Told after a channel's position really changed.
using ChannelListener = void (*)(Channel channel, void* context);

// Few parts of a window care: the panel, the telemetry, a trace.
inline constexpr int MAX_CHANNEL_SUBSCRIBERS = 8;

struct ChannelSubscriber {
    ChannelListener listener;
    void* context;
};

struct DevicePanel {
    std::array<int32_t, CHANNEL_COUNT> position = start_positions();
    std::array<ChannelSubscriber, MAX_CHANNEL_SUBSCRIBERS> subscribers{};
    int subscriber_count = 0;
};

extern DevicePanel device;

// Back to the start positions; the subscribers stay.
void device_reset();
// Adds a subscriber; subscribing the same listener and context twice adds it once. False when
// the list is full.
bool device_subscribe(ChannelListener listener, void* context);
void device_unsubscribe(ChannelListener listener, void* context);

inline int32_t channel_position(Channel c) {
    return device.position[static_cast<int>(c)];
}
// Clamps into the channel's range; notifies every subscriber once, only when the position
// changes.
void channel_set(Channel c, int64_t position);
// The channel of a control name such as "tb_magx", or Channel::Count.
Channel channel_from_control(std::string_view control);
// The channel of a name such as "magx", or Channel::Count.
Channel channel_from_name(std::string_view name);
// The sensor a user moves by its name ("magx" ... "rx"), or Channel::Count for any other name.
Channel sensor_from_name(std::string_view name);
// The sensors' names for a message: "magx, magy, ..., rx".
const char* sensor_name_list();

// What a program reads: magnetometer and coil positions are hundredths.
double channel_value(Channel c);
// The value label text of a labelled channel ("0.37", "-1", "255"); returns its length. `out`
// holds at least FORMAT_BUFFER_SIZE bytes.
int channel_label_text(Channel c, char* out);
