#include "run_control.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <climits>

#include "clock.h"
#include "simulation.h"

namespace {

// Statements between two looks at the clock, and at most once a millisecond at the window's
// event queue, while a program runs: a few tens of microseconds at full speed.
constexpr int PASSES_PER_PUMP = 1009;
// At this rate or slower the window follows every statement.
constexpr int FOLLOWED_RATE = 10;
// While a DELAY passes on the program clock, the window is served at least this often: the
// panels, the waterfall and the satellite keep up at their paint rate.
constexpr int WAIT_SLICE_MS = 15;

// Milliseconds of the steady clock since `from`, across its wrap.
int32_t steady_since(int32_t from) {
    return static_cast<int32_t>(static_cast<uint32_t>(steady_clock_ms()) -
                                static_cast<uint32_t>(from));
}

}  // namespace

RunControl::RunControl(AppendOutput append_output, QObject* parent)
    : QObject(parent), resume_timer_(new QTimer(this)), append_output_(std::move(append_output)) {
    resume_timer_->setSingleShot(true);
    resume_timer_->setTimerType(Qt::PreciseTimer);
    history_host_.control = this;
    history_.set_host(&history_host_);
}

RunControl::~RunControl() {
    // Nobody may read a clock that is gone.
    const void* installed = clock_installed().context;
    if (installed == &pass_clock_) clock_restore(pass_host_clock_);
    if (installed == &program_clock_) clock_restore(host_clock_);
}

ClockInstalled RunControl::host_clock_now() const {
    const ClockInstalled installed = clock_installed();
    return installed.context == &pass_clock_ ? pass_host_clock_ : installed;
}

void RunControl::set_state(State s) {
    if (state_ == s) return;
    state_ = s;
    use_clock();
    emit stateChanged(s);
}

// Real time only at a speed of real time while the program goes on by itself: a paused or
// stepped program holds the world where it stands, whatever the speed.
void RunControl::use_clock() {
    const bool wanted = speed_.time_factor != REAL_TIME || state_ == State::Paused ||
                        step_pending_ || (state_ == State::Idle && showing_past_);
    // Another clock put in since (a test's): that is the host's clock now.
    if (on_program_clock_ && clock_installed().context != &program_clock_) {
        on_program_clock_ = false;
    }
    if (wanted != on_program_clock_) {
        const int32_t now = clock_ms();
        if (wanted) {
            host_clock_ = host_clock_now();
            program_clock_.now = now;
            program_clock_.install();
        } else if (host_clock_.source == nullptr) {
            clock_set_real_time_from(now);
        } else {
            clock_restore(host_clock_);
        }
        on_program_clock_ = wanted;
    }
    session_.set_clock(on_program_clock_ ? &program_clock_ : nullptr, speed_.time_factor == 0);
}

bool RunControl::start(const std::vector<std::string>& lines, const std::vector<int>& foreign_lines,
                       bool paused, PreparedProgram& prepared) {
    history_.clear();
    showing_past_ = false;
    printed_lines_ = 0;
    prepared = session_.start(lines, foreign_lines);
    if (!prepared.ok) return false;
    run_started_ms_ = clock_ms();
    if (recording_) history_.start(session_, 0);
    step_pending_ = false;
    set_state(paused ? State::Paused : State::Running);
    return true;
}

void RunControl::resume() {
    if (state_ != State::Paused) return;
    step_pending_ = false;
    set_state(State::Running);
}

void RunControl::pause() {
    if (state_ != State::Running && state_ != State::Waiting) return;
    step_pending_ = false;
    session_.interrupt();
    set_state(State::Paused);
}

void RunControl::step() {
    if (state_ != State::Paused) return;
    step_pending_ = true;
    set_state(State::Running);
}

void RunControl::stop() {
    if (state_ == State::Idle) return;
    step_pending_ = false;
    // Without a loop (a run started paused whose loop has not begun) nobody else ends it.
    if (!in_loop_) {
        flush_output();
        set_state(State::Idle);
        return;
    }
    stop_requested_ = true;
    session_.interrupt();
}

void RunControl::set_speed(const RunSpeed& speed) {
    speed_ = speed;
    rate_ = speed.rate > 0 ? speed.rate : 0;
    next_due_ = steady_clock_ms();
    use_clock();
}

void RunControl::set_hold_before(QObject* owner, std::function<bool(int)> hold) {
    hold_owner_ = owner;
    hold_before_ = owner != nullptr ? std::move(hold) : nullptr;
}

void RunControl::set_statement_watch(QObject* owner, std::function<void()> watch) {
    watch_owner_ = owner;
    statement_watch_ = owner != nullptr ? std::move(watch) : nullptr;
}

void RunControl::install_hook() {
    const bool watching = statement_watch_ && watch_owner_ != nullptr;
    session_.hook = holds_before() || watching ? before_statement : nullptr;
}

HookAction RunControl::before_statement(const char*, int editor_line, void* self) {
    auto* control = static_cast<RunControl*>(self);
    // An owner may go while the program runs (the window closing from inside a pass).
    if (control->statement_watch_ && control->watch_owner_ != nullptr) control->statement_watch_();
    if (!control->holds_before()) return HookAction::Go;
    return control->hold_before_(editor_line) ? HookAction::Hold : HookAction::Go;
}

// One flat loop for the whole run: a resume or a step inside the event processing below only
// changes the state, so clicks never stack loops on top of each other.
void RunControl::run_loop() {
    if (in_loop_) return;
    in_loop_ = true;
    stop_requested_ = false;
    session_.hook_context = this;
    while (!stop_requested_ && state_ != State::Idle) {
        if (state_ == State::Paused) {
            flush_output();
            wait_for_events(-1);
            continue;
        }
        const bool paced = rate_ > 0 && !step_pending_;
        if (paced) {
            // Statements are paced in real time; the program clock waits for them.
            const int32_t early = -steady_since(next_due_);
            if (early > 0) {
                flush_output();
                wait_for_events(early);
                continue;
            }
            next_due_ = steady_clock_ms() + 1000 / rate_;
        }
        install_hook();
        const bool steady = clock_is_steady();
        pass_clock_ms_ = steady && served_read_fresh_ ? served_read_ms_ : clock_ms();
        served_read_fresh_ = false;
        const bool batch = recorder_ != nullptr && steady;
        const bool keeping = recording_ && !history_.empty();
        if (keeping && steady) {
            pass_host_clock_ = clock_installed();
            pass_clock_.now = pass_clock_ms_;
            pass_clock_.install();
        }
        in_pass_ = true;
        if (batch) recorder_->begin_pass(pass_clock_ms_);
        if (keeping) history_.before_pass(session_, printed_lines_);
        const long long steps_before = session_.steps();
        const PassStop stop = session_.run(step_pending_ || paced ? 1 : PASSES_PER_PUMP);
        if (keeping) history_.after_pass(session_, printed_lines_);
        if (batch) recorder_->end_pass();
        in_pass_ = false;
        // The steady clock again, as it went on meanwhile (unless a pause from within the pass
        // put the program clock in).
        if (clock_installed().context == &pass_clock_) clock_restore(pass_host_clock_);
        // A pass that found the program still waiting ran nothing: on the program clock it
        // stands between two statements, a moment the runner never sees.
        if (session_.steps() != steps_before) emit passEnded();
        if (paced && rate_ <= FOLLOWED_RATE && stop == PassStop::Budget) emit stepped();
        switch (stop) {
            case PassStop::Finished:
            case PassStop::StepLimit:
                stop_requested_ = true;
                break;
            case PassStop::Waiting:
                set_state(State::Waiting);
                flush_output();
                if (on_program_clock_) {
                    pass_wait();
                } else {
                    wait_for_events(session_.wait_ms());
                }
                if (state_ == State::Waiting) set_state(State::Running);
                break;
            case PassStop::Held:
                step_pending_ = false;
                set_state(State::Paused);
                break;
            case PassStop::Budget:
                if (step_pending_) {
                    step_pending_ = false;
                    set_state(State::Paused);
                } else {
                    serve_window();
                }
                break;
        }
    }
    in_loop_ = false;
    stop_requested_ = false;
    flush_output();
    set_state(State::Idle);
}

void RunControl::pass_wait() {
    while (state_ == State::Waiting && on_program_clock_ && !session_.jumps_waits() &&
           !stop_requested_) {
        const int64_t left = int64_t{session_.wait_end()} - program_clock_.now;
        if (left <= 0) return;
        // A paused or stepped run at real time passes its DELAYs in real time.
        const int factor = std::max(speed_.time_factor, 1);
        const int32_t from = steady_clock_ms();
        wait_for_events(std::clamp<int64_t>((left + factor - 1) / factor, 1, WAIT_SLICE_MS));
        if (!on_program_clock_) return;  // the speed went back to real time meanwhile
        session_.pass_time(int64_t{steady_since(from)} * factor);
    }
}

int32_t RunControl::clock_now() const {
    return in_pass_ && clock_is_steady() ? pass_clock_ms_ : clock_ms();
}

// A visit to the event queue costs about as much as the statements between two visits. At
// most one visit a millisecond keeps the window as live as anybody can tell, and the program
// at the speed it has without a window.
void RunControl::serve_window() {
    const int32_t now = steady_clock_ms();
    served_read_ms_ = clock_from_steady(now);
    served_read_fresh_ = true;
    if (now == last_served_ms_) return;
    last_served_ms_ = now;
    flush_output();
    QCoreApplication::processEvents();
    // Serving may have taken a while: the next pass reads the clock again.
    served_read_fresh_ = false;
}

// Sleeps in the event queue until the next event, or until `milliseconds` have passed (-1:
// no limit), so that a paused or waiting program costs no CPU.
void RunControl::wait_for_events(int64_t milliseconds) {
    if (milliseconds == 0) return;
    if (milliseconds > 0)
        resume_timer_->start(static_cast<int>(std::min<int64_t>(milliseconds, INT_MAX)));
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    resume_timer_->stop();
}

void RunControl::queue_output(std::string_view line) {
    ++printed_lines_;
    emit linePrinted(line);
    if (queued_lines_ > 0) queued_output_ += '\n';
    queued_output_ += QLatin1StringView(line.data(), static_cast<qsizetype>(line.size()));
    ++queued_lines_;
}

void RunControl::queue_report(const RunReport& report) {
    queued_reports_.push_back({queued_lines_, report});
}

void RunControl::flush_output() {
    if (queued_lines_ == 0) return;
    append_output_(queued_output_, queued_reports_);
    queued_output_.clear();
    queued_lines_ = 0;
    queued_reports_.clear();
}

// ---- the run's past ----

void RunControl::set_recording(bool on) {
    recording_ = on;
    // A history cut short would not take the run back to where it is.
    if (!on) history_.clear();
}

void RunControl::forget_history() {
    if (state_ != State::Idle) return;
    history_.clear();
    showing_past_ = false;
    use_clock();
}

void RunControl::set_history_host(QObject* owner, HistoryHost* host) {
    kept_host_owner_ = owner;
    kept_host_ = owner != nullptr ? host : nullptr;
}

std::any RunControl::HostOfHistory::keep() {
    return control->kept_host_ != nullptr && control->kept_host_owner_ != nullptr
               ? control->kept_host_->keep()
               : std::any();
}

void RunControl::HostOfHistory::put_back(const std::any& kept) {
    if (control->kept_host_ != nullptr && control->kept_host_owner_ != nullptr) {
        control->kept_host_->put_back(kept);
    }
}

std::size_t RunControl::HostOfHistory::kept_bytes() const {
    return control->kept_host_ != nullptr && control->kept_host_owner_ != nullptr
               ? control->kept_host_->kept_bytes()
               : 0;
}

bool RunControl::HostOfHistory::watches_statements() const {
    return control->statement_watch_ && control->watch_owner_ != nullptr;
}

void RunControl::HostOfHistory::before_statement() {
    control->statement_watch_();
}

// Between two passes only: paused, or after the run has ended (its program still prepared).
bool RunControl::can_seek() const {
    return !in_pass_ && !history_.empty() && (state_ == State::Paused || state_ == State::Idle);
}

// After a run, the machine shown stands at its moment: the program clock holds it there.
void RunControl::hold_the_moment() {
    if (state_ != State::Idle || showing_past_) return;
    showing_past_ = true;
    use_clock();
}

std::optional<RunMoment> RunControl::seek_step(long long step) {
    if (!can_seek()) return std::nullopt;
    flush_output();
    hold_the_moment();
    const RunMoment moment = history_.seek_step(session_, step);
    // A paused run holds the satellite where it stands.
    if (state_ == State::Paused && simulation.on) sim_hold(clock_ms());
    return moment;
}

std::optional<RunMoment> RunControl::seek_time(int32_t ms) {
    if (!can_seek()) return std::nullopt;
    flush_output();
    hold_the_moment();
    const RunMoment moment = history_.seek_time(session_, ms);
    if (state_ == State::Paused && simulation.on) sim_hold(clock_ms());
    return moment;
}

std::optional<RunMoment> RunControl::seek_back_to_hold() {
    if (!can_seek()) return std::nullopt;
    long long found = -1;
    if (holds_before()) {
        found = history_.last_step_where(
            session_, history_.position().step,
            [](int line, void* self) { return static_cast<RunControl*>(self)->hold_before_(line); },
            this);
    }
    return seek_step(found >= 0 ? found : history_.first().step);
}

void RunControl::drop_future() {
    if (!can_seek() || !history_.in_past()) return;
    history_.drop_future(session_);
    printed_lines_ = history_.last().output_lines;
}

bool RunControl::reopen_paused() {
    if (state_ != State::Idle || history_.empty() || in_loop_) return false;
    step_pending_ = false;
    stop_requested_ = false;
    set_state(State::Paused);
    // The program clock reads the moment shown, not the real time that passed since.
    if (on_program_clock_) program_clock_.now = history_.position().clock_ms;
    if (simulation.on) sim_hold(clock_ms());
    return true;
}
