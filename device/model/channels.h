// The device panel as a model: the positions of its sliders and bars, their ranges, and a
// notification when a position really changes. The window's widgets mirror it.
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
// The channels with a value label, in the order the label refresh sets them.
inline constexpr int LABELLED_CHANNEL_COUNT = 11;

struct ChannelInfo {
    const char* control;  // the control's name in the window
    int32_t minimum;
    int32_t maximum;
    int32_t start;
};

// order: Channel
inline constexpr ChannelInfo channel_info[CHANNEL_COUNT] = {
    {"tb_magx", -100, 100, 0}, {"tb_magy", -100, 100, 0}, {"tb_magz", -100, 100, 0},
    {"tb_colr", 0, 100, 0},    {"tb_colg", 0, 100, 0},    {"tb_colb", 0, 100, 0},
    {"tb_tem", -40, 80, 0},    {"tb_rx", 0, 255, 0},      {"tb_coix", -100, 100, 0},
    {"tb_coiy", -100, 100, 0}, {"tb_coiz", -100, 100, 0}, {"pb_spd", 0, 4, 4},
    {"pb_sys", 0, 1000, 1000}, {"tb_timer", 0, 10, 5},
};

using ChannelListener = void (*)(Channel channel, void* context);

constexpr std::array<int32_t, CHANNEL_COUNT> start_positions() {
    std::array<int32_t, CHANNEL_COUNT> p{};
    for (int i = 0; i < CHANNEL_COUNT; ++i) p[i] = channel_info[i].start;
    return p;
}

struct DevicePanel {
    std::array<int32_t, CHANNEL_COUNT> position = start_positions();
    ChannelListener listener = nullptr;
    void* listener_context = nullptr;
};

extern DevicePanel device;

// Back to the start positions; the listener stays.
void device_reset();
void device_set_listener(ChannelListener listener, void* context);

inline int32_t channel_position(Channel c) {
    return device.position[static_cast<int>(c)];
}
// Clamps into the channel's range; notifies only when the position changes.
void channel_set(Channel c, int64_t position);
// The channel of a control name such as "tb_magx", or Channel::Count.
Channel channel_from_control(std::string_view control);

// What a program reads: magnetometer and coil positions are hundredths.
double channel_value(Channel c);
// The value label text of one of the eleven labelled channels ("0.37", "-1", "255"); returns
// its length. `out` holds at least FORMAT_BUFFER_SIZE bytes.
int channel_label_text(Channel c, char* out);
