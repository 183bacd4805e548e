// The window's side of a run: RUN, PAUSE, STEP and STOP on the run control, the breakpoints
// that hold a run, the variable panel and its marks for what changed since the last pause,
// the band on the next statement, the run speed, and the end of a run in the output, the
// editor and the status bar. The buttons mirror the run state; the window only lays the
// controls out and forwards its handlers here.
#pragma once

#include <QObject>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "interp.h"
#include "run_control.h"

class CodeEditor;
class DevicePanelBox;
class OutputPane;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QWidget;
class VariableEditor;

// The window's controls a run reads and changes.
struct DebuggerControls {
    CodeEditor* editor = nullptr;
    QPlainTextEdit* output = nullptr;
    // Never shown: the program as it was prepared for the current run.
    QPlainTextEdit* program_copy = nullptr;
    QPushButton* run = nullptr;
    QPushButton* pause = nullptr;
    QPushButton* stop = nullptr;
    QPushButton* step = nullptr;
    QLabel* variables[VARIABLE_COUNT] = {};
    DevicePanelBox* device_panel = nullptr;
    // Under the output: what a report means, in plain words, after a run that stopped with one.
    QLabel* explanation = nullptr;
    QWidget* explanation_box = nullptr;  // shown and hidden with it
    // Checked: the strip adds the general words about the report under its cause.
    QPushButton* explanation_more = nullptr;
};

class Debugger : public QObject {
    Q_OBJECT
   public:
    // Installs itself as the run session's host: program output goes to the output pane, a
    // math error to a box over `window`.
    Debugger(const DebuggerControls& controls, QWidget* window);
    ~Debugger() override;
    Debugger(const Debugger&) = delete;
    Debugger& operator=(const Debugger&) = delete;

    RunControl* run_control() const { return run_control_; }
    // A program is running, paused or waiting in a DELAY.
    bool active() const { return run_control_->active(); }

    // RUN: a fresh start of the editor's program, or the resume of a paused one. Returns when
    // the run has ended, when it started it.
    void run();
    // STEP: a fresh start paused before the first statement, or one statement when paused.
    void step();
    void pause();
    void stop();
    // The run speed, at once.
    void set_speed(const RunSpeed& speed);
    void toggle_breakpoint_at_caret();
    // The variable panel as the variables are now.
    void show_variables();
    // A to Z back to 0, shown at once; nothing while a run is active.
    void clear_variables();
    // Another program is in the editor: the explanation of the last one's stop goes.
    void forget_stop();
    // --- Going back through the run's past (paused, or after a run has ended).
    // A statement back: the machine as it stood before the last statement ran.
    bool can_step_back() const;
    void step_back();
    // Back to the last breakpoint line passed before the moment shown, or to the oldest
    // moment kept.
    void run_back();
    // The machine at a kept moment, for the time cursor: by statement or by program clock.
    // The run is not changed: RUN or STEP from the past asks before it forgets the future.
    void seek_step(long long step);
    void seek_time(int32_t ms);
    // The run goes on from the moment shown: paused there (after a run that has ended, too).
    // Asks first when the forgotten future printed output or held slider moves.
    bool resume_here();
    // The moment the machine shows, and whether it is in the past of the run.
    RunMoment moment() const;
    bool in_past() const;

    // Double click, Enter or F2 on a variable's label while paused edits its value there.
    VariableEditor* variable_editor() const { return variable_editor_; }

   signals:
    // What the status bar says: where a run stopped.
    void status(const QString& text);
    // A fresh start, before the program is prepared.
    void runStarting();
    // The run is over, or the program could not start; sent before the window shows the end.
    void runEnded();
    // The run is held before a statement (PAUSE, STEP or a breakpoint).
    void paused();
    // The machine shows another moment of the run (a step back, the time cursor, a step forward
    // through the past, the run's end again).
    void momentShown(const RunMoment& moment);
    // The run went on from `from`, a moment in its past: everything recorded after it (output,
    // telemetry, slider moves) is to be forgotten.
    void futureDropped(const RunMoment& from);
    // The explanation's link: a help page ("errors.html").
    void helpRequested(const QString& page);

   private:
    std::vector<std::string> editor_lines(std::vector<int>& foreign_lines) const;
    bool fresh_start(bool paused);
    void run_state_changed(RunControl::State state);
    void show_next_statement();
    void mark_changed_variables();
    void breakpoints_changed();
    void end_run();
    void explain_the_stop();
    void show_explanation();
    void keep_the_stop_in_view();
    // The window after the machine was put at another moment of the run.
    void show_moment(const std::optional<RunMoment>& moment);
    bool past_to_go_on_from();
    void take_report(const RunReport& report);
    void show_math_error(const QString& text);
    QString math_messages_text() const;

    DebuggerControls controls_;
    QWidget* window_;
    OutputPane* output_pane_;
    RunControl* run_control_;
    // The run's last reports, at most two: all made by the statement that stopped the run.
    std::vector<RunReport> stop_reports_;
    // What the strip says of them: the cause, and the general words behind "More".
    QString stop_cause_;
    QString stop_details_;
    // The editor's text as the current (or last) run started from it.
    int run_revision_ = -1;
    // A moment of the run was shown after it had ended.
    bool went_back_after_end_ = false;
    // The run was started by RUN and has not been paused since.
    bool fresh_running_ = false;
    // The variables as the panel showed them at the last pause, or at RUN.
    double shown_at_pause_[VARIABLE_COUNT] = {};
    VariableEditor* variable_editor_ = nullptr;
    // Math errors of this run, and whether the user asked for no more boxes in it.
    int math_errors_ = 0;
    bool math_quiet_ = false;
    QTimer* math_status_timer_ = nullptr;
};
