// Tfmain's geometry and panes kept between sessions, and the window's close.
#include <QCloseEvent>
#include <QDockWidget>
#include <QSettings>
#include <QSplitter>

#include "Ucompiler.h"
#include "closing_signals.h"
#include "settings_file.h"
#include "simulation_control.h"
#include "slider_recorder.h"

namespace {

// The window's size and place, the line between editor and output, and the panes' places live
// in the toolkit's settings store beside the recent files.
QSettings user_settings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "zorvant", "zorvant");
}
const char* const GEOMETRY_KEY = "window/geometry";
const char* const SPLIT_KEY = "window/split";
const char* const PANES_KEY = "window/panes";

}  // namespace

void Tfmain::restore_window_state() {
    QSettings settings = user_settings();
    restoreGeometry(settings.value(GEOMETRY_KEY).toByteArray());
    split_chosen_ = editor_split_->restoreState(settings.value(SPLIT_KEY).toByteArray());
    // The panes are made when first wanted; each takes its place from this then.
    restoreState(settings.value(PANES_KEY).toByteArray());
}

void Tfmain::save_window_state() {
    QSettings settings = user_settings();
    settings.setValue(GEOMETRY_KEY, saveGeometry());
    settings.setValue(SPLIT_KEY, editor_split_->saveState());
    // The panes not made in this session keep the places they had: the state read at the start
    // holds them until they are made, and is written back with them.
    if (!findChildren<QDockWidget*>(Qt::FindDirectChildrenOnly).isEmpty()) {
        settings.setValue(PANES_KEY, saveState());
    }
}

// Unsaved text is worth a question; Cancel keeps the window open and the program running.
// A close that goes ahead stops the program and writes the settings. A close asked for by a
// signal asks nothing: the unsaved text waits in the recovery file for the next start.
//
// Once it has gone ahead, a later close (the application closes every window as it quits) asks
// nothing again: a question then would keep a process alive with no window.
void Tfmain::closeEvent(QCloseEvent* event) {
    if (closed_) {
        event->accept();
        return;
    }
    // On a signal the text and the recorded moves are already kept.
    const bool on_signal = closing_signals_->closing();
    if (!on_signal) {
        if (!document_->may_close()) {
            event->ignore();
            return;
        }
        document_->remove_recovery();
        // Asked here, with the window still there; never after the run has stopped.
        slider_recorder_->close();
    }
    closed_ = true;
    bt_stopClick();
    event->accept();
    save_window_state();
    // The settings file keeps the sensors where the user left them, not where a simulation moved
    // them.
    simulation_->let_go();
    settings_->write_at_close(on_signal);
}
