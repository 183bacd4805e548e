#include "run_history.h"

#include <algorithm>
#include <iterator>

#include "channels.h"
#include "clock.h"
#include "labels.h"
#include "math_stmts.h"
#include "simulation.h"

namespace {

// Statements, and milliseconds of the program clock, after which the next pass keeps a
// snapshot: going to any kept moment runs at most about this much of the run again.
constexpr long long SNAPSHOT_STATEMENTS = 4096;
constexpr int32_t SNAPSHOT_MS = 1000;

int32_t clock_since(int32_t from, int32_t to) {
    return static_cast<int32_t>(static_cast<uint32_t>(to) - static_cast<uint32_t>(from));
}

// Whether something outside the program changed the machine between two passes: anything but
// the clock, the simulation's motion with what it drives (sensor channels, the station's
// Doppler shift and view of the transmitter), a pause's hold of the simulation (the clock
// stands while paused, so the hold moves nothing), the waterfall's noise (the window's timer
// scrolls it), and when the simulation is next looked at.
bool changed_outside(const MachineSnapshot& pass_end, const MachineSnapshot& now) {
    MachineSnapshot seen = now;
    seen.clock_ms = pass_end.clock_ms;
    seen.simulation.state = pass_end.simulation.state;
    seen.simulation.held = pass_end.simulation.held;
    seen.simulation.held_at_ms = pass_end.simulation.held_at_ms;
    seen.session.next_follow = pass_end.session.next_follow;
    seen.radio.noise_state = pass_end.radio.noise_state;
    std::copy(std::begin(pass_end.radio.sdr_row), std::end(pass_end.radio.sdr_row),
              seen.radio.sdr_row);
    if (pass_end.simulation.on && now.simulation.on) {
        for (Channel c : SIM_DRIVEN) {
            seen.channels[static_cast<size_t>(c)] = pass_end.channels[static_cast<size_t>(c)];
        }
        seen.radio.tx_shift = pass_end.radio.tx_shift;
        seen.radio.tx_in_view = pass_end.radio.tx_in_view;
    }
    return !(seen == pass_end);
}

void count_line(std::string_view, void* lines) {
    ++*static_cast<long long*>(lines);
}

}  // namespace

void RunHistory::set_bound(const HistoryBound& bound) {
    bound_ = bound;
    keep_within_bound();
}

void RunHistory::clear() {
    snapshots_.clear();
    marks_.clear();
    labels_.clear();
    pass_end_known_ = false;
    last_ = position_ = RunMoment{};
    past_ = false;
    host_bytes_ = 0;
}

void RunHistory::start(RunSession& session, long long output_lines) {
    clear();
    session.set_clock_watch(clock_moved, this);
    keep_snapshot(session, output_lines, false, machine_capture(session));
    after_pass(session, output_lines);
}

void RunHistory::clock_moved(void* self) {
    auto* history = static_cast<RunHistory*>(self);
    if (history->replaying_ || history->snapshots_.empty()) return;
    history->note_clock(history->recording_session_->steps(), clock_ms(), true);
}

void RunHistory::note_clock(long long step, int32_t clock, bool within_pass) {
    if (clock == clock_known_) return;
    clock_known_ = clock;
    if (!marks_.empty() && marks_.back().step == step && marks_.back().within_pass == within_pass) {
        marks_.back().clock_ms = clock;  // only the last move of its kind counts
    } else {
        marks_.push_back({step, clock, within_pass});
    }
}

void RunHistory::keep_labels() {
    for (int i = static_cast<int>(labels_.size()); i < label_cache.count; ++i) {
        const LabelEntry& e = label_cache.pool[i];
        labels_.push_back({e.number, e.position});
    }
}

void RunHistory::restore_labels(int count) const {
    for (int i = label_cache.count; i < count && i < static_cast<int>(labels_.size()); ++i) {
        label_add(labels_[static_cast<size_t>(i)].number, labels_[static_cast<size_t>(i)].position);
    }
}

void RunHistory::before_pass(const RunSession& session, long long output_lines) {
    if (snapshots_.empty() || past_) return;
    recording_session_ = &session;
    MachineSnapshot now = machine_capture(session);
    const bool outside = pass_end_known_ && changed_outside(pass_end_, now);
    const Snapshot& newest = snapshots_.back();
    const long long step = session.steps();
    const bool due = step > newest.step &&
                     (step - newest.step >= SNAPSHOT_STATEMENTS ||
                      clock_since(newest.machine.clock_ms, now.clock_ms) >= SNAPSHOT_MS);
    if (outside || due) {
        keep_snapshot(session, output_lines, outside, std::move(now));
    } else {
        note_clock(step, now.clock_ms, false);
    }
}

void RunHistory::after_pass(const RunSession& session, long long output_lines) {
    if (snapshots_.empty() || past_) return;
    recording_session_ = &session;
    pass_end_ = machine_capture(session);
    pass_end_known_ = true;
    last_ = position_ = {session.steps(), pass_end_.clock_ms, output_lines};
    if (label_cache.count > static_cast<int>(labels_.size())) keep_labels();
}

void RunHistory::keep_snapshot(const RunSession& session, long long output_lines, bool outside,
                               MachineSnapshot machine) {
    recording_session_ = &session;
    const long long step = session.steps();
    // Marks before a snapshot at their own step are in it.
    while (!marks_.empty() && marks_.back().step >= step) marks_.pop_back();
    if (!snapshots_.empty() && snapshots_.back().step == step) {
        outside = outside || snapshots_.back().outside;
        host_bytes_ -= snapshots_.back().host_bytes;
        snapshots_.pop_back();
    }
    Snapshot& s = snapshots_.emplace_back();
    s.step = step;
    s.output_lines = output_lines;
    s.outside = outside;
    s.machine = machine;
    if (host_ != nullptr) {
        s.host = host_->keep();
        s.host_bytes = host_->kept_bytes();
        host_bytes_ += s.host_bytes;
    }
    clock_known_ = machine.clock_ms;
    keep_within_bound();
}

void RunHistory::keep_within_bound() {
    while (snapshots_.size() > 1) {
        const Snapshot& second = snapshots_[1];
        const long long newest_step = std::max(last_.step, snapshots_.back().step);
        const int32_t newest_ms = std::max(last_.clock_ms, snapshots_.back().machine.clock_ms);
        const bool enough = newest_step - second.step >= bound_.statements &&
                            clock_since(second.machine.clock_ms, newest_ms) >= bound_.program_ms;
        if (!enough && bytes() <= bound_.bytes) break;
        host_bytes_ -= snapshots_.front().host_bytes;
        snapshots_.pop_front();
        const long long first_step = snapshots_.front().step;
        while (!marks_.empty() && marks_.front().step < first_step) marks_.pop_front();
    }
}

RunMoment RunHistory::first() const {
    if (snapshots_.empty()) return {};
    const Snapshot& s = snapshots_.front();
    return {s.step, s.machine.clock_ms, s.output_lines};
}

std::size_t RunHistory::bytes() const {
    return snapshots_.size() * sizeof(Snapshot) + marks_.size() * sizeof(Mark) + host_bytes_;
}

int RunHistory::outside_changes_after(long long step) const {
    return static_cast<int>(std::count_if(snapshots_.begin(), snapshots_.end(),
                                          [step](const Snapshot& s) {
                                              return s.outside && s.step > step;
                                          }));
}

int32_t RunHistory::clock_at(long long step) const {
    if (snapshots_.empty()) return 0;
    const Snapshot& from = snapshot_before(step, true);
    int32_t clock = from.machine.clock_ms;
    for (auto it = first_mark_from(from.step); it != marks_.end() && it->step <= step; ++it) {
        clock = it->clock_ms;
    }
    return step >= last_.step ? last_.clock_ms : clock;
}

const RunHistory::Snapshot& RunHistory::snapshot_before(long long step, bool inclusive) const {
    // The first snapshot past `step`, and the one before it.
    auto it = std::upper_bound(snapshots_.begin(), snapshots_.end(), step,
                               [inclusive](long long s, const Snapshot& snapshot) {
                                   return inclusive ? s < snapshot.step : s <= snapshot.step;
                               });
    return it == snapshots_.begin() ? snapshots_.front() : *std::prev(it);
}

std::deque<RunHistory::Mark>::const_iterator RunHistory::first_mark_from(long long step) const {
    return std::lower_bound(marks_.begin(), marks_.end(), step,
                            [](const Mark& m, long long s) { return m.step < s; });
}

void RunHistory::settle(RunSession& session) {
    if (past_ || !pass_end_known_) return;
    MachineSnapshot now = machine_capture(session);
    if (!changed_outside(pass_end_, now)) return;
    // Changed while paused at the run's last moment (a variable edited): that is where the
    // run now stands.
    keep_snapshot(session, last_.output_lines, true, now);
    pass_end_ = now;
}

HookAction RunHistory::replayed_statement(const char*, int, void* self) {
    static_cast<RunHistory*>(self)->host_->before_statement();
    return HookAction::Go;
}

RunMoment RunHistory::replay(RunSession& session, long long step, bool marks_at_step) {
    return replay_from(session, snapshot_before(step, marks_at_step || step == first().step), step,
                       marks_at_step, nullptr, nullptr);
}

RunMoment RunHistory::replay_from(RunSession& session, const Snapshot& from, long long step,
                                  bool marks_at_step, StatementHook watch, void* watch_context) {
    replaying_ = true;
    long long lines = from.output_lines;
    const InterpSinks sinks = interp_sinks();
    interp_set_sinks({count_line, &lines, nullptr, nullptr});
    void* math_context = nullptr;
    const MathErrorSink math_sink = math_error_sink(&math_context);
    math_set_error_sink(nullptr, nullptr);
    const StatementHook hook = session.hook;
    void* const hook_context = session.hook_context;
    const RunSession::RowHookSetting rows = session.row_hook_setting();
    session.set_row_hook(nullptr, nullptr, nullptr);
    const bool watching = host_ != nullptr && host_->watches_statements();
    session.hook = watch != nullptr ? watch : watching ? replayed_statement : nullptr;
    session.hook_context = watch != nullptr ? watch_context : this;
    // The run again on a clock that moves only at the marks and at a DELAY's end.
    VirtualClock* const clock = session.virtual_clock();
    const bool jump = session.jumps_waits();
    const ClockInstalled installed = clock_installed();
    VirtualClock replay_clock;
    VirtualClock* const moved = clock != nullptr ? clock : &replay_clock;
    if (clock == nullptr) replay_clock.install();
    session.set_clock(moved, true);

    machine_restore(from.machine, session);
    restore_labels(from.machine.label_count);
    if (host_ != nullptr) host_->put_back(from.host);
    if (watch != nullptr) {
        RunSession::Progress progress = session.progress();
        progress.held_at = nullptr;
        session.restore_progress(progress);
    }
    auto mark = first_mark_from(from.step);
    for (;;) {
        bool marked = false;
        // At `step` itself, the moment is where the last pass began there: a DELAY's end within
        // that pass comes with the statement after it.
        while (mark != marks_.end() && mark->step == session.steps() &&
               (session.steps() < step || (marks_at_step && !mark->within_pass))) {
            moved->advance_to(mark->clock_ms);
            marked = true;
            ++mark;
        }
        if (marked) session.follow_simulation();
        if (session.steps() >= step) break;
        long long end = step;
        if (mark != marks_.end() && mark->step < end) end = mark->step;
        const PassStop stop = session.run(end - session.steps());
        if (stop != PassStop::Budget) break;
    }
    // Before the next statement the satellite stands at the clock, as a pass begins.
    session.follow_simulation();

    const RunMoment moment{session.steps(), clock_ms(), lines};
    if (clock == nullptr) {
        clock_restore(installed);
        if (clock_is_steady()) clock_set_real_time_from(moment.clock_ms);
    }
    session.set_clock(clock, jump);
    session.hook = hook;
    session.hook_context = hook_context;
    session.set_row_hook(rows.hook, rows.context, rows.due);
    math_set_error_sink(math_sink, math_context);
    interp_set_sinks(sinks);
    replaying_ = false;
    return moment;
}

long long RunHistory::last_step_where(RunSession& session, long long before, LineTest test,
                                     void* context) {
    if (snapshots_.empty()) return -1;
    settle(session);
    struct Search {
        RunSession* session;
        LineTest test;
        void* context;
        long long found = -1;
    } search{&session, test, context};
    const StatementHook look = [](const char*, int line, void* self) {
        auto* s = static_cast<Search*>(self);
        if (s->test(line, s->context)) s->found = s->session->steps();
        return HookAction::Go;
    };
    // From the newest stretch between two snapshots back to the oldest, until one holds it.
    for (size_t i = snapshots_.size(); i-- > 0;) {
        const long long from = snapshots_[i].step;
        if (from >= before) continue;
        const long long to = i + 1 < snapshots_.size() ? std::min(before, snapshots_[i + 1].step)
                                                       : before;
        replay_from(session, snapshots_[i], to, false, look, &search);
        if (search.found >= 0) return search.found;
    }
    return -1;
}

RunMoment RunHistory::seek_step(RunSession& session, long long step) {
    if (snapshots_.empty()) return position_;
    settle(session);
    step = std::clamp(step, first().step, last_.step);
    position_ = replay(session, step, true);
    past_ = position_.step < last_.step;
    seek_state_ = machine_capture(session);
    return position_;
}

RunMoment RunHistory::seek_time(RunSession& session, int32_t ms) {
    if (snapshots_.empty()) return position_;
    settle(session);
    const RunMoment oldest = first();
    if (clock_since(oldest.clock_ms, ms) <= 0) return seek_step(session, oldest.step);
    if (clock_since(last_.clock_ms, ms) >= 0) return seek_step(session, last_.step);
    // The first moment at `ms` or later: the clock reached `ms` before that statement.
    long long step = last_.step;
    auto later = [ms](int32_t clock) { return clock_since(ms, clock) >= 0; };
    auto snapshot = std::find_if(snapshots_.begin(), snapshots_.end(),
                                 [&](const Snapshot& s) { return later(s.machine.clock_ms); });
    if (snapshot != snapshots_.end()) step = snapshot->step;
    auto mark = std::find_if(marks_.begin(), marks_.end(),
                             [&](const Mark& m) { return later(m.clock_ms); });
    if (mark != marks_.end()) step = std::min(step, mark->step);
    position_ = replay(session, step, false);
    // Between two statements the program waited, or ran on an earlier reading: the clock and the
    // satellite are at `ms` all the same.
    if (clock_since(position_.clock_ms, ms) > 0) {
        move_clock(session, ms);
        position_.clock_ms = ms;
    }
    past_ = true;
    seek_state_ = machine_capture(session);
    return position_;
}

bool RunHistory::changed_since_seek(const RunSession& session) const {
    return past_ && changed_outside(seek_state_, machine_capture(session));
}

void RunHistory::move_clock(RunSession& session, int32_t ms) {
    if (VirtualClock* clock = session.virtual_clock()) {
        clock->advance_to(ms);
    } else if (clock_is_steady()) {
        clock_set_real_time_from(ms);
    }
    session.follow_simulation();
}

void RunHistory::drop_future(RunSession& session) {
    if (snapshots_.empty() || !past_) return;
    const long long step = position_.step;
    while (snapshots_.size() > 1 && snapshots_.back().step >= step) {
        host_bytes_ -= snapshots_.back().host_bytes;
        snapshots_.pop_back();
    }
    while (!marks_.empty() && marks_.back().step >= step) marks_.pop_back();
    if (static_cast<int>(labels_.size()) > label_cache.count) labels_.resize(label_cache.count);
    past_ = false;
    last_ = position_;
    // The position is kept whole: it may be a moment within a wait that no mark describes.
    pass_end_ = machine_capture(session);
    keep_snapshot(session, position_.output_lines, false, pass_end_);
    pass_end_known_ = true;
}
