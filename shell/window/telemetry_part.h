// The window's telemetry: the recorder of each run, View > Telemetry (the pane, made when first
// shown), File > Export Telemetry and its dialog. It follows the debugger: a fresh run starts a
// recording, a pause samples the variables, the end of the run ends it.
#pragma once

#include <QObject>
#include <QString>

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
