#include "run_session.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <thread>

#include "channels.h"
#include "device_stmts.h"
#include "labels.h"
#include "radio.h"
#include "simulation.h"
#include "tokenizer.h"

void session_install(const RunHost& host) {
    device_register_statements();
    interp_set_output(host.output, host.output_context);
    interp_set_report_sink(host.report, host.report_context);
    math_set_error_sink(host.math_error, host.math_error_context);
    if (host.virtual_clock != nullptr) {
        host.virtual_clock->install();
    } else {
        clock_set_source(nullptr, nullptr);
    }
}

void session_uninstall() {
    interp_set_output(nullptr, nullptr);
    interp_set_report_sink(nullptr, nullptr);
    math_set_error_sink(nullptr, nullptr);
    clock_set_source(nullptr, nullptr);
}

void session_reset_machine() {
    interp_reset_all();
    device_reset();
    radio_reset();
    sim_off();
    prep = PrepState{};
}

PreparedProgram run_fresh_start(const LineList& editor_lines,
                                const std::vector<int>& foreign_lines) {
    tx_reset();
    PreparedProgram prepared = prepare_program(editor_lines, foreign_lines);
    if (prepared.ok) {
        interp_start(machine.program_store);
    } else {
        interp.report = prepared.report;  // the last report is this start's, not a run's before
    }
    return prepared;
}

PreparedProgram RunSession::start(const LineList& editor_lines,
                                  const std::vector<int>& foreign_lines) {
    steps_ = 0;
    held_at_ = nullptr;
    resume_known_ = false;
    PreparedProgram prepared = run_fresh_start(editor_lines, foreign_lines);
    simulating_ = simulation.on;
    next_follow_ = 0;
    if (simulating_) {
        sim_restart();
        sim_start_clock(clock_ms());
    }
    return prepared;
}

namespace {
const bool no_row_due = false;
}  // namespace

RunSession::RunSession(VirtualClock* virtual_clock) : clock_(virtual_clock), row_due_(&no_row_due) {}

void RunSession::set_row_hook(RowHook hook, void* context, const bool* due) {
    row_hook_ = hook;
    row_context_ = context;
    row_due_ = hook != nullptr && due != nullptr ? due : &no_row_due;
}

void RunSession::restore_progress(const Progress& p) {
    steps_ = p.steps;
    next_follow_ = p.next_follow;
    held_at_ = p.held_at;
    simulating_ = p.simulating;
    resume_known_ = p.resume_known;
    resume_reached_ = p.resume_reached;
}

void RunSession::follow_simulation() {
    if (!simulating_) return;
    sim_follow(clock_ms());
    next_follow_ = steps_ + SIM_FOLLOW_STATEMENTS;
}

void RunSession::set_clock(VirtualClock* clock, bool jump) {
    clock_ = clock;
    jump_ = jump;
}

int32_t RunSession::wait_end() const {
    return time_limit ? std::min(interp.resume_time, *time_limit) : interp.resume_time;
}

void RunSession::pass_time(int64_t program_ms) {
    if (clock_ == nullptr || program_ms <= 0) return;
    const int32_t end = wait_end();
    if (clock_->now >= end) return;
    clock_->advance_to(static_cast<int32_t>(std::min<int64_t>(int64_t{clock_->now} + program_ms, end)));
    follow_simulation();
}

bool RunSession::resume_time_reached() {
    if (resume_known_ && resume_reached_ == interp.resume_time) return true;
    if (clock_ms() < interp.resume_time) {
        if (clock_ == nullptr || !jump_) return false;
        if (time_limit && interp.resume_time > *time_limit) {
            clock_->advance_to(*time_limit);
            follow_simulation();
            return false;
        }
        clock_->advance_to(interp.resume_time);
    }
    // The wait is over: the satellite has moved on meanwhile, and the clock for a row.
    follow_simulation();
    if (row_hook_ != nullptr) row_hook_(true, -1, row_context_);
    if (clock_watch_ != nullptr) clock_watch_(clock_watch_context_);
    resume_known_ = true;
    resume_reached_ = interp.resume_time;
    return true;
}

PassStop RunSession::run(long long budget) {
    budget_ = budget;
    if (row_hook_ != nullptr) row_hook_(true, -1, row_context_);
    follow_simulation();
    while (budget_ > 0) {
        if (interp_finished()) return PassStop::Finished;
        if (step_limit >= 0 && steps_ >= step_limit) return PassStop::StepLimit;
        const bool resumed = resume_time_reached();
        if (time_limit_reached()) return PassStop::StepLimit;
        if (!resumed) return PassStop::Waiting;
        if (simulating_ && steps_ >= next_follow_) follow_simulation();
        if (hook == nullptr && !time_limit) {
            if (*row_due_) row_hook_(false, current_line(), row_context_);
            // Nothing to ask between statements: run a stretch of them that ends at the end of
            // the run, at the step limit, at a DELAY (a new resume time for the checks above)
            // or at an interrupt.
            held_at_ = nullptr;
            const int32_t resume = interp.resume_time;
            long long left = step_limit >= 0 ? step_limit - steps_ : LLONG_MAX;
            if (simulating_) left = std::min(left, next_follow_ - steps_);
            // With a simulation on, the stretch also ends where the simulation wants the clock
            // looked at. The checks before the stretch and at the end of each pass have seen that
            // the program goes on.
            do {
                interp_step_within();
                ++steps_;
                tx_inject();
                --budget_;
            } while (--left > 0 && budget_ > 0 && interp.resume_time == resume &&
                     !interp_finished() && !*row_due_);
            continue;
        }
        if (hook != nullptr) {
            const char* position = tok_position();
            if (position != held_at_ &&
                hook(position, current_line(), hook_context) == HookAction::Hold) {
                held_at_ = position;
                return PassStop::Held;
            }
        }
        held_at_ = nullptr;
        // The hook may have changed what a row shows (a scenario's event): the row shows it.
        if (*row_due_) row_hook_(false, current_line(), row_context_);
        interp_step();
        ++steps_;
        tx_inject();
        --budget_;
    }
    return interp_finished() ? PassStop::Finished : PassStop::Budget;
}

PassStop RunSession::run_to_end() {
    for (;;) {
        const PassStop stop = run(LLONG_MAX);
        if (stop != PassStop::Waiting) return stop;
        int64_t wait = wait_ms();
        if (time_limit) wait = std::min<int64_t>(wait, int64_t{*time_limit} - clock_ms());
        std::this_thread::sleep_for(std::chrono::milliseconds(wait));
    }
}

int64_t RunSession::wait_ms() const {
    const int64_t wait = static_cast<int64_t>(interp.resume_time) - clock_ms();
    return wait > 0 ? wait : 0;
}
