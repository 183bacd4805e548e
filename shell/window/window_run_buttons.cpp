// Tfmain's run buttons: RUN, PAUSE, STEP, STOP and the speed forward to the debugger, which
// owns the run control and shows the run; the window's status bar and telemetry follow it.
#include <QComboBox>
#include <QPushButton>
#include <algorithm>
#include <iterator>

#include "Ucompiler.h"
#include "debugger.h"
#include "help_pages.h"
#include "help_window.h"

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
