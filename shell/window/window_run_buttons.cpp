// Tfmain's run buttons: RUN, PAUSE, STEP, STOP, BACK and the speed forward to the debugger,
// which owns the run control and shows the run; the window's status bar and telemetry follow it.
#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <algorithm>
#include <iterator>

#include "Ucompiler.h"
#include "debugger.h"
#include "help_pages.h"
#include "help_window.h"
#include "history_settings.h"
#include "slider_recorder.h"

void Tfmain::build_debugger() {
    DebuggerControls controls;
    controls.editor = mcod;
    controls.output = mdb;
    controls.program_copy = msrc;
    controls.run = bt_run;
    controls.pause = bt_pause;
    controls.stop = bt_stop;
    controls.step = bt_step;
    std::copy(std::begin(variable_labels_), std::end(variable_labels_), controls.variables);
    controls.device_panel = GroupBox1;
    controls.explanation = explanation_;
    controls.explanation_box = findChild<QWidget*>("explanation_scroll");
    controls.explanation_more = findChild<QPushButton*>("explanation_more");
    debugger_ = new Debugger(controls, this);
    run_control = debugger_->run_control();
    connect(debugger_, &Debugger::status, this, &Tfmain::set_status);
    connect(debugger_, &Debugger::helpRequested, this, &Tfmain::show_help_page);
}

// BACK and Run > Run Back are there while the debugger has a past to go back to: paused, or
// after a run, with the history recorded. Run > History... keeps how much of it there is.
void Tfmain::build_step_back() {
    bt_stepback->setAccessibleName("Step back");
    bt_stepback->setAccessibleDescription("Undo the last statement");
    bt_stepback->setToolTip(
        "Step back (Shift+F10): undo the last statement, and see the run as it stood before it");
    history_settings_ = new HistorySettings(run_control, this);
    connect(history_settings_, &HistorySettings::recordingChanged, this,
            &Tfmain::show_step_back_state);
    connect(run_control, &RunControl::stateChanged, this, &Tfmain::show_step_back_state);
    connect(debugger_, &Debugger::paused, this, &Tfmain::show_step_back_state);
    connect(debugger_, &Debugger::runEnded, this, &Tfmain::show_step_back_state);
    connect(debugger_, &Debugger::momentShown, this, &Tfmain::show_step_back_state);
    connect(debugger_, &Debugger::momentShown, history_settings_, &HistorySettings::refresh);
    connect(debugger_, &Debugger::runEnded, history_settings_, &HistorySettings::refresh);
    connect(debugger_, &Debugger::futureDropped, history_settings_, &HistorySettings::refresh);
    // Moves the run no longer holds are no moves to save.
    connect(debugger_, &Debugger::futureDropped, slider_recorder_, &SliderRecorder::forget_after);
}

void Tfmain::show_step_back_state() {
    const bool back = debugger_->can_step_back();
    bt_stepback->setEnabled(back);
    if (act_run_back_ != nullptr) act_run_back_->setEnabled(back);
}

void Tfmain::bt_stepbackClick() {
    debugger_->step_back();
}

void Tfmain::bt_runClick() {
    debugger_->run();
}

void Tfmain::bt_stepClick() {
    debugger_->step();
}

void Tfmain::bt_pauseClick() {
    debugger_->pause();
}

void Tfmain::bt_stopClick() {
    debugger_->stop();
}

void Tfmain::cb_speedChange() {
    const int index = cb_speed->currentIndex();
    if (index < 0 || index >= static_cast<int>(std::size(RUN_SPEEDS))) return;
    debugger_->set_speed(RUN_SPEEDS[index]);
    cb_speed->setToolTip(cb_speed->itemData(index, Qt::ToolTipRole).toString());
    set_status(QStringLiteral("Run speed %1: %2")
                   .arg(cb_speed->itemText(index), QString::fromUtf8(RUN_SPEEDS[index].tip)));
}
