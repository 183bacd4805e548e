// The settings file read at start-up and written at close, and the close itself.
#include <QCloseEvent>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <cstdio>

#include "Ucompiler.h"
#include "error_display.h"
#include "file_access.h"
#include "settings.h"
#include "simulation_control.h"
#include "slider_recorder.h"
#include "telemetry_pane.h"

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
    editor_split_->restoreState(settings.value(SPLIT_KEY).toByteArray());
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

// The sliders take the file's lines one by one, each clamped, each change handled at once; a
// bad line stops the reading, and the lines before it keep their values.
void Tfmain::read_settings() {
    const QString name = QString::fromLatin1(SETTINGS_FILE_NAME);
    if (!QFileInfo(name).isFile()) return;
    const FileRead file = read_regular_file(SETTINGS_FILE_NAME, MAX_SETTINGS_FILE_BYTES);
    if (!file.ok) {
        show_error("Cannot open file " + name, file.reason);
        return;
    }
    const SettingsRead read = settings_parse(file.bytes);
    for (size_t i = 0; i < read.values.size(); ++i) {
        channel_set(settings_channels[i], read.values[i]);
    }
    if (!read.error.empty()) show_error(QString::fromLatin1(read.error.c_str()));
}

// Never through a symbolic link: in a shared folder anybody could plant one that points at
// somebody else's file.
void Tfmain::bt_siniClick() {
    const FileWrite written =
        write_file_atomically(SETTINGS_FILE_NAME, settings_format(), LinkPolicy::Refuse);
    if (!written.ok) {
        throw DisplayedError(QStringLiteral("Cannot create file ") + SETTINGS_FILE_NAME,
                             QString::fromLocal8Bit(written.reason.c_str()));
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
    if (!closing_on_signal_) {
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
    write_settings_at_close();
}

void Tfmain::write_settings_at_close() {
    try {
        bt_siniClick();
    } catch (const DisplayedError& e) {
        // A box would hold up the end of a session that is going away; standard error is read.
        if (closing_on_signal_) {
            std::fprintf(stderr, "%s: %s\n", e.what(), e.reason.toLocal8Bit().constData());
        } else {
            show_error(QString::fromUtf8(e.what()), e.reason);
        }
    }
}
