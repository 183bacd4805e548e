#include "channels.h"

#include "format.h"

DevicePanel device;

void device_reset() {
    device.position = start_positions();
}

void device_set_listener(ChannelListener listener, void* context) {
    device.listener = listener;
    device.listener_context = context;
}

void channel_set(Channel c, int64_t position) {
    const ChannelInfo& info = channel_info[static_cast<int>(c)];
    if (position < info.minimum) position = info.minimum;
    if (position > info.maximum) position = info.maximum;
    int32_t& current = device.position[static_cast<int>(c)];
    if (current == position) return;
    current = static_cast<int32_t>(position);
    if (device.listener != nullptr) device.listener(c, device.listener_context);
}

Channel channel_from_control(std::string_view control) {
    for (int i = 0; i < CHANNEL_COUNT; ++i) {
        if (control == channel_info[i].control) return static_cast<Channel>(i);
    }
    return Channel::Count;
}

double channel_value(Channel c) {
    const int32_t p = channel_position(c);
    switch (c) {
        case Channel::MagX:
        case Channel::MagY:
        case Channel::MagZ:
        case Channel::CoiX:
        case Channel::CoiY:
        case Channel::CoiZ:
            // Formed in extended precision and rounded once, so 37 reads as 0.37.
            return static_cast<double>(static_cast<long double>(p) * 0.01L);
        case Channel::Sys:
            return static_cast<double>(p / 10);
        default:
            return static_cast<double>(p);
    }
}

int channel_label_text(Channel c, char* out) {
    return format_general(channel_value(c), PRINT_DIGITS, out);
}
