// The window's run control: one flat loop that runs the program between visits to the event
// queue, the timer that ends a DELAY's wait, and the queue of output lines, with an explicit
// state. RUN, PAUSE, STEP and STOP only change the state; the one loop does the rest, however
// often they are clicked.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "run_session.h"
#include "telemetry_recorder.h"

class QTimer;

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

    // Statements per second; 0 for full speed. A DELAY keeps its real-time meaning on top.
    void set_rate(int statements_per_second);
    int rate() const { return rate_; }

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
    // After each pass of statements, and with each line the program prints (before it is
    // queued for the pane): for the parts of the window that follow the run as it goes.
    void passEnded();
    void linePrinted(std::string_view line);

   private:
    void set_state(State s);
    void wait_for_events(int64_t milliseconds);
    void serve_window();
    static HookAction before_statement(const char* position, int editor_line, void* self);

    RunSession session_;
    std::function<bool(int editor_line)> hold_before_;
    QPointer<QObject> hold_owner_;
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
    // The program clock's time at which the next statement may run at a limited rate.
    int32_t next_due_ = 0;
    // The steady clock's millisecond of the last visit to the event queue.
    int32_t last_served_ms_ = 0;
    QTimer* resume_timer_;
    AppendOutput append_output_;
    QString queued_output_;
    int queued_lines_ = 0;
    std::vector<ReportAt> queued_reports_;
};
