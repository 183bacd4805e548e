// The window's run control: one flat loop that runs the program between visits to the event
// queue, the timer that ends a DELAY's wait, and the queue of output lines, with an explicit
// state. RUN, PAUSE, STEP and STOP only change the state; the one loop does the rest, however
// often they are clicked.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "run_session.h"

class QTimer;

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

    // `append_output` receives queued output lines, many joined by '\n' in one call.
    RunControl(std::function<void(const QString& lines)> append_output, QObject* parent);

    State state() const { return state_; }
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

    // Before each statement: true holds the program there, as a breakpoint does.
    std::function<bool(int editor_line)> hold_before;

    // Output lines wait here until the window is next served: one append for many lines keeps
    // a printing program fast, and nobody can see the pane before the window is served anyway.
    void queue_output(std::string_view line);
    void flush_output();

   signals:
    void stateChanged(RunControl::State state);

   private:
    void set_state(State s);
    void wait_for_events(int64_t milliseconds);
    static HookAction before_statement(const char* position, int editor_line, void* self);

    RunSession session_;
    State state_ = State::Idle;
    bool step_pending_ = false;
    bool stop_requested_ = false;
    bool in_loop_ = false;
    QTimer* resume_timer_;
    std::function<void(const QString&)> append_output_;
    QString queued_output_;
    int queued_lines_ = 0;
};
