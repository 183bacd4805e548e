// What a run has been: enough of its past to put the machine back as it stood before any kept
// statement, and to go forward again to exactly where the run was.
//
// The history keeps whole snapshots of the machine (machine_state.h) now and then, and between
// two of them only the moments at which the clock moved. A run is deterministic but for its
// clock and what comes from outside the program (a slider moved, a variable edited while
// paused, a scenario's event applied between two passes): every change of the clock is kept as
// a mark with the statement count at which it happened, and anything else that changed the
// machine between two passes makes a snapshot of its own. Any kept moment is then a snapshot
// put back and at most a few thousand statements run again, silently: no output, no reports,
// no math boxes, no telemetry rows.
//
// Within one pass of statements the clock must read one value; a host on real time freezes it
// for the pass (RunControl does). A host that runs statement watches (a mission's) gives them
// to the history too, so that they follow the statements run again, and keeps what they know
// beside each snapshot.
#pragma once

#include <any>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "machine_state.h"
#include "run_session.h"

// How much of the past is kept: the oldest snapshots go once the history holds more than
// `statements` statements and more than `program_ms` of the program clock, or as soon as it
// takes more than `bytes`.
struct HistoryBound {
    long long statements = 1'000'000;
    int32_t program_ms = 600'000;
    std::size_t bytes = std::size_t{64} << 20;
};

// The host's side of a history: what it keeps beside the machine, and what it does while
// statements run again.
class HistoryHost {
   public:
    virtual ~HistoryHost() = default;
    // What the host knows at a snapshot that the machine does not (a mission's goals, the
    // scenario's next event), to be handed back by put_back.
    virtual std::any keep() { return {}; }
    virtual void put_back(const std::any&) {}
    // The bytes one keep() holds, counted against the bound.
    virtual std::size_t kept_bytes() const { return 0; }
    // Before each statement run again, as before each statement of the run itself; only called
    // when watches_statements().
    virtual bool watches_statements() const { return false; }
    virtual void before_statement() {}
};

// A moment of the run: the statements run before it, the program clock then, and the lines of
// output printed by then.
struct RunMoment {
    long long step = 0;
    int32_t clock_ms = 0;
    long long output_lines = 0;
};

class RunHistory {
   public:
    void set_bound(const HistoryBound& bound);
    const HistoryBound& bound() const { return bound_; }
    // Nullptr for none; the host must outlive the history's use of it.
    void set_host(HistoryHost* host) { host_ = host; }

    // --- Recording, by the host that runs the passes.
    // A fresh run has started (RunSession::start): the history forgets the last one.
    void start(RunSession& session, long long output_lines);
    // Before a pass, with the clock it will read in place: keeps a snapshot when one is due or
    // something outside the program changed the machine since the last pass.
    void before_pass(const RunSession& session, long long output_lines);
    // After a pass.
    void after_pass(const RunSession& session, long long output_lines);
    // Nothing kept.
    void clear();
    bool empty() const { return snapshots_.empty(); }

    // --- What is kept.
    // The first moment kept and the run's last one (where the live run stands).
    RunMoment first() const;
    RunMoment last() const { return last_; }
    std::size_t bytes() const;
    std::size_t snapshot_count() const { return snapshots_.size(); }
    std::size_t mark_count() const { return marks_.size(); }
    // Changes from outside the program (slider moves, edits, scenario events between passes)
    // after `step` up to the run's last moment.
    int outside_changes_after(long long step) const;

    // --- Moving.
    // The moment the machine shows: last() unless a seek went back.
    RunMoment position() const { return position_; }
    bool in_past() const { return past_; }
    // Puts the machine as it stood before statement `step` (clamped to what is kept) and
    // returns that moment. The session must be between two passes of the run recorded, with
    // its host's sinks installed: they are muted meanwhile.
    RunMoment seek_step(RunSession& session, long long step);
    // The machine at `ms` of the program clock, as a run stopped by a time limit of `ms` has it:
    // every statement begun before `ms` has run, and the clock and the simulation stand at `ms`
    // (within what is kept; the run's last moment from its clock on).
    RunMoment seek_time(RunSession& session, int32_t ms);
    // The last kept moment before `before` whose next statement is on a line `test` accepts
    // (a breakpoint's), looked for by running the kept past again; -1 when there is none. The
    // machine is left anywhere: seek to the moment found, or back, afterwards.
    using LineTest = bool (*)(int editor_line, void* context);
    long long last_step_where(RunSession& session, long long before, LineTest test,
                              void* context);
    // The program clock before statement `step`, as the run had it.
    int32_t clock_at(long long step) const;
    // Something outside the program (an edit, a slider) changed the machine since the last
    // seek: going forward is then no longer the run that was kept.
    bool changed_since_seek(const RunSession& session) const;
    // The run goes on from the position: what came after it is forgotten.
    void drop_future(RunSession& session);

   private:
    struct Snapshot {
        long long step = 0;
        long long output_lines = 0;
        bool outside = false;  // made for a change from outside the program
        std::size_t host_bytes = 0;
        MachineSnapshot machine;
        std::any host;
    };
    struct Mark {
        long long step;
        int32_t clock_ms;
        // Moved by a DELAY's end within a pass, which the statements run again make anyway;
        // otherwise between two passes, where the clock is the host's.
        bool within_pass;
    };
    static void clock_moved(void* self);
    static HookAction replayed_statement(const char* position, int editor_line, void* self);
    void note_clock(long long step, int32_t clock_ms, bool within_pass);
    // The labels the run has recorded, in order: putting a snapshot back forgets those recorded
    // after it, and going forward again brings them back as they were first met.
    void keep_labels();
    void restore_labels(int count) const;
    void keep_snapshot(const RunSession& session, long long output_lines, bool outside,
                       MachineSnapshot machine);
    void keep_within_bound();
    // A change made while the run stood at its last moment is kept before going anywhere.
    void settle(RunSession& session);
    // The snapshot to go forward from to reach `step`: at or before it, or strictly before it.
    const Snapshot& snapshot_before(long long step, bool inclusive) const;
    std::deque<Mark>::const_iterator first_mark_from(long long step) const;
    // Puts back the snapshot before `step` and runs the statements again up to `step`, moving
    // the clock at the marks on the way; the marks at `step` itself too when `marks_at_step`.
    RunMoment replay(RunSession& session, long long step, bool marks_at_step);
    // The same from the snapshot `from`; with `watch`, it is asked before each statement
    // instead of the host, the first one included.
    RunMoment replay_from(RunSession& session, const Snapshot& from, long long step,
                          bool marks_at_step, StatementHook watch, void* watch_context);
    void move_clock(RunSession& session, int32_t ms);

    HistoryBound bound_;
    HistoryHost* host_ = nullptr;
    std::deque<Snapshot> snapshots_;
    std::deque<Mark> marks_;
    // The machine at the end of the last pass: what the next pass must find unless something
    // outside the program changed it.
    MachineSnapshot pass_end_;
    bool pass_end_known_ = false;
    // The clock's value at the newest snapshot or mark.
    int32_t clock_known_ = 0;
    const RunSession* recording_session_ = nullptr;
    struct Label {
        int32_t number;
        const char* position;
    };
    std::vector<Label> labels_;
    RunMoment last_;
    RunMoment position_;
    bool past_ = false;
    bool replaying_ = false;
    // The machine as the last seek left it.
    MachineSnapshot seek_state_;
    std::size_t host_bytes_ = 0;
};
