#include "machine_state.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <type_traits>

#include "clock.h"
#include "labels.h"
#include "sim_dynamics.h"
#include "sim_ground.h"
#include "sim_math.h"

// About 3 KiB, most of it the program's memory: a history can keep many.
static_assert(sizeof(MachineSnapshot) <= 4096, "a snapshot keeps the run's state, not the program");

MachineSnapshot machine_capture(const RunSession& session) {
    MachineSnapshot s;
    s.interp = interp;
    s.tokenizer = tokenizer;
    std::copy(std::begin(machine.variables), std::end(machine.variables), s.variables);
    std::memcpy(s.user_ram, machine.user_ram, sizeof s.user_ram);
    s.label_count = label_cache.count;
    for (int i = 0; i < CHANNEL_COUNT; ++i) {
        s.channels[i] =
            channel_info[i].mover != Mover::Setting ? device.position[i] : channel_info[i].start;
    }
    s.radio.tx_active = radio.tx_active;
    s.radio.tx_in_view = radio.tx_in_view;
    s.radio.tx_column = radio.tx_column;
    s.radio.tx_symbol = radio.tx_symbol;
    s.radio.tx_shift = radio.tx_shift;
    s.radio.noise_state = radio.noise_state;
    std::memcpy(s.radio.sdr_row, radio.sdr_row, sizeof s.radio.sdr_row);
    s.simulation.on = simulation.on;
    s.simulation.held = simulation.held;
    s.simulation.origin_ms = simulation.origin_ms;
    s.simulation.held_at_ms = simulation.held_at_ms;
    s.simulation.state = simulation.state;
    s.session = session.progress();
    s.clock_ms = clock_ms();
    return s;
}

void machine_restore(const MachineSnapshot& s, RunSession& session) {
    interp = s.interp;
    tokenizer = s.tokenizer;
    std::copy(std::begin(s.variables), std::end(s.variables), machine.variables);
    std::memcpy(machine.user_ram, s.user_ram, sizeof machine.user_ram);
    labels_truncate(s.label_count);
    radio.tx_active = s.radio.tx_active;
    radio.tx_in_view = s.radio.tx_in_view;
    radio.tx_column = s.radio.tx_column;
    radio.tx_symbol = s.radio.tx_symbol;
    radio.tx_shift = s.radio.tx_shift;
    radio.noise_state = s.radio.noise_state;
    std::memcpy(radio.sdr_row, s.radio.sdr_row, sizeof radio.sdr_row);
    simulation.on = s.simulation.on;
    simulation.held = s.simulation.held;
    simulation.origin_ms = s.simulation.origin_ms;
    simulation.held_at_ms = s.simulation.held_at_ms;
    simulation.state = s.simulation.state;
    std::array<bool, CHANNEL_COUNT> moved{};
    for (int i = 0; i < CHANNEL_COUNT; ++i) {
        if (channel_info[i].mover == Mover::Setting || device.position[i] == s.channels[i])
            continue;
        device.position[i] = s.channels[i];
        moved[i] = true;
    }
    session.restore_progress(s.session);
    if (VirtualClock* clock = session.virtual_clock()) {
        clock->advance_to(s.clock_ms);
    } else if (clock_is_steady()) {
        clock_set_real_time_from(s.clock_ms);
    }
    // Everything is back before anybody hears of it: a subscriber reads a whole machine.
    for (int i = 0; i < CHANNEL_COUNT; ++i) {
        if (!moved[i]) continue;
        for (int k = 0; k < device.subscriber_count; ++k) {
            const ChannelSubscriber& sub = device.subscribers[static_cast<size_t>(k)];
            sub.listener(static_cast<Channel>(i), sub.context);
        }
    }
    radio_changed();
    if (simulation.on) sim_notify_subscribers();
}

namespace {

bool same(double a, double b) {
    return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}
bool same(const Vec3& a, const Vec3& b) {
    return same(a.x, b.x) && same(a.y, b.y) && same(a.z, b.z);
}
bool same(const Quat& a, const Quat& b) {
    return same(a.w, b.w) && same(a.x, b.x) && same(a.y, b.y) && same(a.z, b.z);
}
template <class T>
requires std::is_integral_v<T> || std::is_pointer_v<T> || std::is_enum_v<T>
bool same(T a, T b) {
    return a == b;
}
bool same(const ForEntry& a, const ForEntry& b) {
    return a.position == b.position && a.variable == b.variable && same(a.limit, b.limit);
}
template <class T, size_t N>
bool same(const T (&a)[N], const T (&b)[N]) {
    for (size_t i = 0; i < N; ++i) {
        if (!same(a[i], b[i])) return false;
    }
    return true;
}
template <class T, size_t N>
bool same(const std::array<T, N>& a, const std::array<T, N>& b) {
    return a == b;
}
bool same(const RunReport& a, const RunReport& b) {
    return a.kind == b.kind && a.line == b.line && a.statement_line == b.statement_line &&
           a.statement_column == b.statement_column && a.statement_offset == b.statement_offset &&
           a.expected == b.expected && a.got == b.got && same(a.left, b.left) &&
           same(a.right, b.right) && a.amount == b.amount && a.limit == b.limit &&
           a.fault_offset == b.fault_offset && a.open_count == b.open_count &&
           same(a.open_lines, b.open_lines);
}
bool same(const OrbitPlace& a, const OrbitPlace& b) {
    return same(a.u, b.u) && same(a.earth_angle, b.earth_angle) && same(a.up, b.up) &&
           same(a.along, b.along);
}
bool same(const BodyState& a, const BodyState& b) {
    return same(a.q, b.q) && same(a.w, b.w);
}
bool same(const StationView& a, const StationView& b) {
    return same(a.elevation, b.elevation) && same(a.range_km, b.range_km) &&
           same(a.range_rate, b.range_rate);
}
// The number of the current token is read only while that token is a number.
bool same(const TokenizerState& a, const TokenizerState& b) {
    return a.pos == b.pos && a.end == b.end && a.current == b.current &&
           (a.current != TK_NUMBER ||
            (same(a.number, b.number) && a.number_known == b.number_known));
}
bool same(const RadioSnapshot& a, const RadioSnapshot& b) {
    return a.tx_active == b.tx_active && a.tx_in_view == b.tx_in_view &&
           a.tx_column == b.tx_column && a.tx_symbol == b.tx_symbol && a.tx_shift == b.tx_shift &&
           a.noise_state == b.noise_state && same(a.sdr_row, b.sdr_row);
}
// The resume time known reached matters only while it is known.
bool same(const RunSession::Progress& a, const RunSession::Progress& b) {
    return a.steps == b.steps && a.next_follow == b.next_follow && a.held_at == b.held_at &&
           a.simulating == b.simulating && a.resume_known == b.resume_known &&
           (!a.resume_known || a.resume_reached == b.resume_reached);
}

// The first difference found, by name, as the parts are compared in turn.
struct Differ {
    const char* first = nullptr;

    template <class T>
    void operator()(const char* name, const T& a, const T& b) {
        if (first == nullptr && !same(a, b)) first = name;
    }
};

}  // namespace

std::string machine_difference(const MachineSnapshot& a, const MachineSnapshot& b) {
    Differ d;
    const InterpState& i = a.interp;
    const InterpState& j = b.interp;
    d("interp.run_stopped", i.run_stopped, j.run_stopped);
    d("interp.resume_time", i.resume_time, j.resume_time);
    d("interp.program_start", i.program_start, j.program_start);
    d("interp.text_extent", i.text_extent, j.text_extent);
    d("interp.error_reported", i.error_reported, j.error_reported);
    d("interp.statement_start", i.statement_start, j.statement_start);
    d("interp.gosub_stack", i.gosub_stack, j.gosub_stack);
    d("interp.gosub_level", i.gosub_level, j.gosub_level);
    d("interp.for_stack", i.for_stack, j.for_stack);
    d("interp.for_level", i.for_level, j.for_level);
    d("interp.string_buffer", i.string_buffer, j.string_buffer);
    d("interp.report", i.report, j.report);
    d("tokenizer", a.tokenizer, b.tokenizer);
    d("variables", a.variables, b.variables);
    d("user_ram", a.user_ram, b.user_ram);
    d("label_count", a.label_count, b.label_count);
    d("channels", a.channels, b.channels);
    d("radio", a.radio, b.radio);
    const SimulationSnapshot& m = a.simulation;
    const SimulationSnapshot& n = b.simulation;
    d("simulation.on", m.on, n.on);
    d("simulation.held", m.held, n.held);
    d("simulation.origin_ms", m.origin_ms, n.origin_ms);
    d("simulation.held_at_ms", m.held_at_ms, n.held_at_ms);
    d("simulation.state.time_ms", m.state.time_ms, n.state.time_ms);
    d("simulation.state.orbit", m.state.orbit, n.state.orbit);
    d("simulation.state.body", m.state.body, n.state.body);
    d("simulation.state.temp_k", m.state.temp_k, n.state.temp_k);
    d("simulation.state.field_inertial", m.state.field_inertial, n.state.field_inertial);
    d("simulation.state.field_body", m.state.field_body, n.state.field_body);
    d("simulation.state.sunlit", m.state.sunlit, n.state.sunlit);
    d("simulation.state.station", m.state.station, n.state.station);
    d("simulation.state.in_view", m.state.in_view, n.state.in_view);
    d("simulation.state.doppler_hz", m.state.doppler_hz, n.state.doppler_hz);
    d("session", a.session, b.session);
    d("clock_ms", a.clock_ms, b.clock_ms);
    return d.first != nullptr ? d.first : "";
}
