#include "channels.h"

#include <string>

#include "format.h"

DevicePanel device;

void device_reset() {
    device.position = start_positions();
}

bool device_subscribe(ChannelListener listener, void* context) {
    for (int i = 0; i < device.subscriber_count; ++i) {
        const ChannelSubscriber& s = device.subscribers[static_cast<size_t>(i)];
        if (s.listener == listener && s.context == context) return true;
    }
    if (device.subscriber_count == MAX_CHANNEL_SUBSCRIBERS) return false;
    device.subscribers[static_cast<size_t>(device.subscriber_count++)] = {listener, context};
    return true;
}

void device_unsubscribe(ChannelListener listener, void* context) {
    int kept = 0;
    for (int i = 0; i < device.subscriber_count; ++i) {
        const ChannelSubscriber s = device.subscribers[static_cast<size_t>(i)];
        if (s.listener != listener || s.context != context) {
            device.subscribers[static_cast<size_t>(kept++)] = s;
        }
    }
    device.subscriber_count = kept;
}

void channel_set(Channel c, int64_t position) {
    const ChannelInfo& info = info_of(c);
    if (position < info.minimum) position = info.minimum;
    if (position > info.maximum) position = info.maximum;
    int32_t& current = device.position[static_cast<int>(c)];
    if (current == position) return;
    current = static_cast<int32_t>(position);
    for (int i = 0; i < device.subscriber_count; ++i) {
        const ChannelSubscriber& s = device.subscribers[static_cast<size_t>(i)];
        s.listener(c, s.context);
    }
}

Channel channel_from_control(std::string_view control) {
    for (int i = 0; i < CHANNEL_COUNT; ++i) {
        if (control == channel_info[i].control) return static_cast<Channel>(i);
    }
    return Channel::Count;
}

Channel channel_from_name(std::string_view name) {
    for (int i = 0; i < CHANNEL_COUNT; ++i) {
        if (name == channel_info[i].name) return static_cast<Channel>(i);
    }
    return Channel::Count;
}

Channel sensor_from_name(std::string_view name) {
    const Channel c = channel_from_name(name);
    return c != Channel::Count && info_of(c).mover == Mover::User ? c : Channel::Count;
}

const char* sensor_name_list() {
    static const std::string list = [] {
        std::string names;
        for (const ChannelInfo& c : channel_info) {
            if (c.mover != Mover::User) continue;
            if (!names.empty()) names += ", ";
            names += c.name;
        }
        return names;
    }();
    return list.c_str();
}

double channel_value(Channel c) {
    const int32_t p = channel_position(c);
    switch (info_of(c).scaling) {
        case Scaling::Hundredths:
            // Formed in extended precision and rounded once, so 37 reads as 0.37.
            return static_cast<double>(static_cast<long double>(p) * 0.01L);
        case Scaling::Tens:
            return static_cast<double>(p / 10);
        case Scaling::Unit:
            break;
    }
    return static_cast<double>(p);
}

int channel_label_text(Channel c, char* out) {
    return format_general(channel_value(c), PRINT_DIGITS, out);
}
