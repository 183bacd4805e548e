// The window's telemetry: the recorder of each run, View > Telemetry (the pane, made when first
// shown), File > Export Telemetry and its dialog. It follows the debugger: a fresh run starts a
// recording, a pause samples the variables, the end of the run ends it, and a run that goes on
// from its past forgets what was recorded after that moment. The pane's time cursor stands at the
// moment the debugger shows, and moves it.
#pragma once

#include <QObject>
#include <QString>

#include "run_history.h"
#include "telemetry_recorder.h"

class Debugger;
class ProgramDocument;
class QAction;
class QFileDialog;
class QMainWindow;
class QTimer;
class RunControl;
class TelemetryPane;

class Telemetry : public QObject {
    Q_OBJECT
   public:
    // The export is named after `document`'s file; the pane docks in `window`.
    Telemetry(Debugger* debugger, ProgramDocument* document, QMainWindow* window);
    ~Telemetry() override;
    Telemetry(const Telemetry&) = delete;
    Telemetry& operator=(const Telemetry&) = delete;

    // View > Telemetry (checkable, Ctrl+T) and File > Export Telemetry..., for the menus.
    QAction* view_action() const { return view_; }
    QAction* export_action() const { return export_; }
    // The pane; nullptr until it is first shown or exported.
    TelemetryPane* pane() const { return pane_; }
    // The recording of the last run, kept after it ends.
    const TelemetryRecording& recording() const { return recorder_.data(); }

    // View > Telemetry, as a pane's own entry would: it shows the pane or closes it.
    void show_pane(bool shown);
    // The machine now for the charts, at the window's paint rate: the variables.
    void sample();
    // Draws the pane again, when it is shown.
    void refresh();
    // File > Export Telemetry: the CSV, and the charts as a PNG beside it.
    void export_files();
    // The time of the recording at a reading of the program clock, and back.
    int64_t recording_time(int32_t clock_ms) const;
    int32_t program_clock(int64_t recording_ms) const;
    // What the time cursor says of the machine now, `recording_ms` into the recording:
    // "Time cursor: 12.345 s, line 40", the line the editor's band is on; at the end of a run
    // that has ended, which has no band, "Time cursor: 900.000 s, the end of the run".
    static QString cursor_text(int64_t recording_ms, bool run_ended);

   signals:
    // What the status bar says about an export.
    void status(const QString& text);
    // The pane was just made and has no place the window kept: the window gives it one.
    void placeWanted(TelemetryPane* pane);
    // The pane was just made, and placed.
    void dockMade(TelemetryPane* pane);

   private:
    TelemetryPane* pane_made();
    void start();
    void end();
    // The cursor where the debugger's moment is, while the run's past can be shown; else none.
    void show_cursor();
    void cursor_key(int key);

    Debugger* debugger_;
    RunControl* run_control_;
    ProgramDocument* document_;
    QMainWindow* window_;
    TelemetryRecorder recorder_;
    QTimer* redraw_timer_;  // redraws the pane while it is shown
    QAction* view_ = nullptr;
    QAction* export_ = nullptr;
    TelemetryPane* pane_ = nullptr;
    QFileDialog* dialog_ = nullptr;
};
