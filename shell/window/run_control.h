// The window's run control: one flat loop that runs the program between visits to the event
// queue, the timer that ends a DELAY's wait, and the queue of output lines, with an explicit
// state. RUN, PAUSE, STEP and STOP only change the state; the one loop does the rest, however
// often they are clicked.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <any>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "run_history.h"
#include "run_session.h"
#include "telemetry_recorder.h"

class QTimer;

// A run speed, as the speed box and Run > Run Speed offer it.
struct RunSpeed {
    const char* text;  // UTF-8
    // Statements per second; 0: as fast as they go.
    int rate;
    // How a DELAY passes: REAL_TIME, in real time on the steady clock; otherwise on the
    // program clock, which stands still while statements run, as the runner's --no-wait has
    // it: this many milliseconds of it for each real one, or at once for 0.
    int time_factor;
    const char* tip;  // what the speed does, for its tooltip and the status bar
};
inline constexpr int REAL_TIME = -1;

// order: the box's entries; a new speed goes at the end, after those a user may know by place.
inline constexpr RunSpeed RUN_SPEEDS[] = {
    {"Full speed", 0, REAL_TIME,
     "statements as fast as they go, and real time: a DELAY waits as long as it says."},
    {"1000 / s", 1000, 1,
     "1000 statements a second on the program's clock: the satellite waits for the program, "
     "a DELAY passes in real time."},
    {"100 / s", 100, 1,
     "100 statements a second on the program's clock: the satellite waits for the program, a "
     "DELAY passes in real time."},
    {"10 / s", 10, 1,
     "10 statements a second on the program's clock: the satellite waits for the program, a "
     "DELAY passes in real time."},
    {"2 / s", 2, 1,
     "2 statements a second on the program's clock: the satellite waits for the program, a "
     "DELAY passes in real time."},
    {"10\u00D7 time", 0, 10,
     "ten times real time: statements as fast as they go, a DELAY passes in a tenth of its "
     "time, and the satellite waits for the program."},
    {"60\u00D7 time", 0, 60,
     "sixty times real time: statements as fast as they go, a minute of DELAY passes in a "
     "second, and the satellite waits for the program."},
    {"No waits", 0, 0,
     "a DELAY moves the program's clock on at once, as zorvant-run --no-wait does: a mission "
     "is decided in seconds, as the runner decides it."},
};

// A report among the output lines handed over at once: the index of its first line there.
struct ReportAt {
    int line = 0;
    RunReport report;
};

class RunControl : public QObject {
    Q_OBJECT
   public:
    enum class State {
        Idle,     // no program active
        Running,  // statements run
        Paused,   // held by PAUSE, STEP or a breakpoint; the next statement waits
        Waiting,  // a DELAY holds the program in real time
    };
    Q_ENUM(State)

    // `append_output` receives queued output lines, many joined by '\n' in one call, and the
    // reports among them.
    using AppendOutput =
        std::function<void(const QString& lines, const std::vector<ReportAt>& reports)>;
    RunControl(AppendOutput append_output, QObject* parent);
    ~RunControl() override;

    State state() const { return state_; }
    // The program clock now, as cheaply as it can be had: while statements run, the steady
    // clock's reading from the start of their pass (at most a thousand statements old).
    int32_t clock_now() const;
    // Told of every pass of statements, so that it marks changes instead of recording each.
    void set_recorder(TelemetryRecorder* recorder) {
        recorder_ = recorder;
        session_.set_row_hook(TelemetryRecorder::row_hook, recorder, recorder->row_due());
    }
    // Statements the current (or last) run has made.
    long long steps() const { return session_.steps(); }
    bool active() const { return state_ != State::Idle; }

    // A fresh start of the editor lines. False when the program cannot run; `prepared` says
    // why. Otherwise the state is Running, or Paused before the first statement.
    bool start(const std::vector<std::string>& lines, const std::vector<int>& foreign_lines,
               bool paused, PreparedProgram& prepared);
    // Runs the program until it ends or is stopped, serving the window in between. Only the
    // click that started the program runs it; every later click changes the state.
    void run_loop();
    void resume();
    void pause();
    // Paused: one statement, then paused again (a DELAY still running is waited out first).
    void step();
    void stop();

    // Before each statement: true holds the program there, as a breakpoint does. A decision,
    // not an event: one owner answers it (the debugger, for the breakpoints), so it is one
    // function rather than a signal whose receivers would have to agree. It is let go when
    // `owner` is destroyed, so it never calls into a part of the window that is gone. Empty
    // (none set, or its owner gone) when nothing can hold the program, so that no statement
    // pays for the question.
    void set_hold_before(QObject* owner, std::function<bool(int editor_line)> hold);
    void clear_hold_before() { set_hold_before(nullptr, nullptr); }
    bool holds_before() const { return hold_before_ && hold_owner_ != nullptr; }
    // The program clock's value at which the run stops as at a step limit; none: no limit.
    void set_time_limit(std::optional<int32_t> at) { session_.time_limit = at; }

    // The run speed, at once, also during a run. Every speed but real time runs the program on
    // the program clock, and so does a paused or stepped run at any speed: the satellite and
    // the mission wait for the program, and the run's moments are the runner's.
    void set_speed(const RunSpeed& speed);
    int rate() const { return rate_; }
    // The run's clock now is the program clock rather than real time.
    bool on_program_clock() const { return on_program_clock_; }
    // A look at the machine now sees a moment the runner sees too: always in real time; on the
    // program clock between two statements, not within a DELAY.
    bool at_statement_moment() const { return !on_program_clock_ || session_.wait_ms() == 0; }

    // Called before each statement while set, before a hold is asked for: for a part of the
    // window that must see the machine as each statement finds it, as the runner's mission
    // watch does. Let go when `owner` is destroyed; nullptr for none.
    void set_statement_watch(QObject* owner, std::function<void()> watch);

    // --- The run's past. While recording (the default), every run keeps a history of itself;
    // off, nothing is kept and nothing is paid.
    void set_recording(bool on);
    bool recording() const { return recording_; }
    const RunHistory& history() const { return history_; }
    void set_history_bound(const HistoryBound& bound) { history_.set_bound(bound); }
    // Kept beside each snapshot and told of each statement run again; let go when `owner` is
    // destroyed.
    void set_history_host(QObject* owner, HistoryHost* host);
    // Paused, or after a run has ended: puts the machine back at a kept moment (and forward
    // again up to the run's last one). Nothing is printed; the output lines printed by then
    // are in the moment returned. None when nothing is kept or a pass is running.
    std::optional<RunMoment> seek_step(long long step);
    std::optional<RunMoment> seek_time(int32_t ms);
    // Back to the last kept moment before the one shown whose statement a hold (a breakpoint)
    // would stop at, or to the oldest moment kept.
    std::optional<RunMoment> seek_back_to_hold();
    // The run goes on from the moment the machine shows: what came after it is forgotten
    // (the caller asks the user first, and takes back the output lines past it).
    void drop_future();
    // After a run has ended and the machine was put back at a moment of it: the run is
    // active again, paused there, as if it had been paused at that moment. False when there
    // is no such moment or the program has been prepared again since.
    bool reopen_paused();
    // Something outside the program changed the machine since the last seek into the past.
    bool changed_since_seek() const { return history_.changed_since_seek(session_); }
    // Another program is in the editor: the last run's past is of no use any more.
    void forget_history();
    // The program clock when the current (or last) run started.
    int32_t run_started_ms() const { return run_started_ms_; }
    // Lines the current (or last) run has printed, reports included.
    long long printed_lines() const { return printed_lines_; }

    // Output lines wait here until the window is next served: one append for many lines keeps
    // a printing program fast, and nobody can see the pane before the window is served anyway.
    void queue_output(std::string_view line);
    // A report whose lines are queued next.
    void queue_report(const RunReport& report);
    void flush_output();

   signals:
    void stateChanged(RunControl::State state);
    // After each statement at a slow rate (10 a second or fewer), for a window that follows
    // the program line by line.
    void stepped();
    // After each pass that ran statements, and with each line the program prints (before it is
    // queued for the pane): for the parts of the window that follow the run as it goes.
    void passEnded();
    void linePrinted(std::string_view line);

   private:
    void set_state(State s);
    // Puts in force the clock the speed and the state ask for.
    void use_clock();
    void install_hook();
    // On the program clock: moves it on with real time, at the speed's factor, until the DELAY
    // is over or the state or the clock changes, serving the window meanwhile.
    void pass_wait();
    void wait_for_events(int64_t milliseconds);
    void serve_window();
    static HookAction before_statement(const char* position, int editor_line, void* self);

    RunSession session_;
    // What the history keeps beside its snapshots is the registered host's; what it does for
    // each statement run again is the statement watch's.
    struct HostOfHistory : HistoryHost {
        RunControl* control = nullptr;
        std::any keep() override;
        void put_back(const std::any& kept) override;
        std::size_t kept_bytes() const override;
        bool watches_statements() const override;
        void before_statement() override;
    };
    HostOfHistory history_host_;
    RunHistory history_;
    bool recording_ = true;
    HistoryHost* kept_host_ = nullptr;
    QPointer<QObject> kept_host_owner_;
    long long printed_lines_ = 0;
    int32_t run_started_ms_ = 0;
    // On real time, a pass reads the clock once: the clock stands at that reading while its
    // statements run, so that the history can run them again exactly.
    VirtualClock pass_clock_;
    ClockInstalled pass_host_clock_;
    // The clock in force, with the pass's own taken for the one it stands in for.
    ClockInstalled host_clock_now() const;
    bool can_seek() const;
    void hold_the_moment();
    // After a run, a seek has put the machine at one of its moments.
    bool showing_past_ = false;
    std::function<bool(int editor_line)> hold_before_;
    QPointer<QObject> hold_owner_;
    std::function<void()> statement_watch_;
    QPointer<QObject> watch_owner_;
    RunSpeed speed_ = RUN_SPEEDS[0];
    // The program clock, installed while on_program_clock_; the host's clock (the steady one,
    // or a test's) is kept meanwhile and comes back, continuous when it is the steady one.
    VirtualClock program_clock_;
    bool on_program_clock_ = false;
    ClockInstalled host_clock_;
    bool in_pass_ = false;
    int32_t pass_clock_ms_ = 0;
    // The steady clock as serve_window last read it, and whether that was since the last
    // wait: then the next pass starts with that reading instead of a new one.
    int32_t served_read_ms_ = 0;
    bool served_read_fresh_ = false;
    TelemetryRecorder* recorder_ = nullptr;
    State state_ = State::Idle;
    bool step_pending_ = false;
    bool stop_requested_ = false;
    bool in_loop_ = false;
    int rate_ = 0;
    // The steady clock's time at which the next statement may run at a limited rate.
    int32_t next_due_ = 0;
    // The steady clock's millisecond of the last visit to the event queue.
    int32_t last_served_ms_ = 0;
    QTimer* resume_timer_;
    AppendOutput append_output_;
    QString queued_output_;
    int queued_lines_ = 0;
    std::vector<ReportAt> queued_reports_;
};
