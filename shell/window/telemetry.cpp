// The window's side of the telemetry: what a run records, when, and the pane that shows it.
#include <QAction>
#include <QBuffer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

#include "Ucompiler.h"
#include "dialog_seams.h"
#include "error_display.h"
#include "file_access.h"
#include "interp.h"
#include "simulation.h"
#include "telemetry_pane.h"

namespace {

// The pane is redrawn this often while a program runs: often enough to watch, seldom enough
// to leave the run its speed.
constexpr int TELEMETRY_REDRAW_MS = 1000;
// A simulation's series are recorded every this many milliseconds of its time: its rates,
// field and elevation change smoothly, and a long run still fits the recording unthinned.
constexpr int64_t SIM_SAMPLE_MS = 100;

}  // namespace

void Tfmain::build_telemetry() {
    t_telemetry = new QTimer(this);
    t_telemetry->setObjectName("t_telemetry");
    t_telemetry->setInterval(TELEMETRY_REDRAW_MS);
    connect(t_telemetry, &QTimer::timeout, this, &Tfmain::refresh_telemetry);
}

// The charts take longer to build than the rest of the window: the pane is made when it is
// first shown or exported.
TelemetryPane* Tfmain::telemetry_pane_made() {
    if (telemetry_pane != nullptr) return telemetry_pane;
    telemetry_pane = new TelemetryPane(recorder_.data(), this);
    // Where the user left it, else where it covers nothing of the window.
    if (!restoreDockWidget(telemetry_pane)) place_telemetry_pane(telemetry_pane);
    telemetry_pane->hide();
    watch_dock(telemetry_pane);
    connect(telemetry_pane, &QDockWidget::visibilityChanged, this, [this](bool shown) {
        if (shown) {
            refresh_telemetry();
            if (run_control->active()) t_telemetry->start();
        } else {
            t_telemetry->stop();
        }
    });
    // The pane's own close button unticks View > Telemetry.
    connect(telemetry_pane->toggleViewAction(), &QAction::toggled, act_telemetry,
            &QAction::setChecked);
    return telemetry_pane;
}

// View > Telemetry, as a pane's own entry would: it shows the pane or closes it.
void Tfmain::show_telemetry_pane(bool shown) {
    if (!shown && telemetry_pane == nullptr) return;
    TelemetryPane* pane = telemetry_pane_made();
    if (shown != pane->isHidden()) return;
    if (shown) {
        pane->show();
    } else {
        pane->close();
    }
}

// The menu bar's context menu lists the panes; the telemetry's entry is there before the pane is
// first made.
QMenu* Tfmain::createPopupMenu() {
    auto* menu = new QMenu(this);
    menu->addAction(act_telemetry);
    return menu;
}

// A fresh run starts a new recording, with the machine as it is at the start.
void Tfmain::start_telemetry() {
    recorder_.start();
    sim_recorded_ms_ = INT64_MIN;
    if (act_export_telemetry != nullptr) act_export_telemetry->setEnabled(true);
    if (telemetry_pane != nullptr && telemetry_pane->isVisible()) {
        t_telemetry->start();
        telemetry_pane->refresh(0, true);
    }
}

void Tfmain::end_telemetry() {
    if (!recorder_.recording()) return;
    recorder_.record_simulation();
    recorder_.end();
    t_telemetry->stop();
    if (telemetry_pane != nullptr && telemetry_pane->isVisible()) telemetry_pane->show_whole_run();
}

// After each move of a simulation that is on; a restart starts its samples again.
void Tfmain::record_simulation() {
    recorder_.changed();
    const int64_t t = simulation.state.time_ms;
    if (t >= sim_recorded_ms_ && t < sim_recorded_ms_ + SIM_SAMPLE_MS) return;
    sim_recorded_ms_ = t;
    recorder_.record_simulation();
}

void Tfmain::refresh_telemetry() {
    if (telemetry_pane == nullptr || !telemetry_pane->isVisible()) return;
    const bool running = run_control->state() == RunControl::State::Running ||
                         run_control->state() == RunControl::State::Waiting;
    telemetry_pane->refresh(
        recorder_.recording() ? recorder_.now() : recorder_.data().last_time(), running);
}

namespace {

bool write_export(const QString& path, const std::string& bytes) {
    const FileWrite written = write_file_atomically(QFile::encodeName(path).toStdString(), bytes,
                                                    LinkPolicy::WriteTarget);
    if (!written.ok) show_error("Cannot create file " + path, written.reason);
    return written.ok;
}

}  // namespace

// The dialog asks before it replaces the CSV; the picture beside it is asked about here, before
// either file is written.
void Tfmain::export_telemetry() {
    if (recorder_.data().empty()) return;
    const QString current = document_->path();
    const QString offered = current.isEmpty()
                                ? QString("telemetry.csv")
                                : QFileInfo(current).completeBaseName() + "-telemetry.csv";
    if (ed == nullptr) {
        ed = new QFileDialog(this);
        ed->setObjectName("ed");
        ed->setAcceptMode(QFileDialog::AcceptSave);
        ed->setFileMode(QFileDialog::AnyFile);
        ed->setDefaultSuffix("csv");
        ed->setNameFilter("CSV files (*.csv)");
    }
    if (exec_file_dialog(*ed, offered) != QDialog::Accepted || ed->selectedFiles().isEmpty()) return;
    const QString csv_path = ed->selectedFiles().constFirst();
    const QFileInfo csv(csv_path);
    QString png_path = csv.dir().filePath(csv.completeBaseName() + ".png");
    // A CSV named like a picture keeps its name; the picture takes another.
    if (QFileInfo(png_path).absoluteFilePath() == csv.absoluteFilePath())
        png_path = csv.dir().filePath(csv.completeBaseName() + "-charts.png");
    if (QFileInfo::exists(png_path) || QFileInfo(png_path).isSymLink()) {
        QMessageBox box(QMessageBox::Question, "Confirm",
                        QStringLiteral("%1 already exists beside %2. Replace it?")
                            .arg(QFileInfo(png_path).fileName(), csv.fileName()),
                        QMessageBox::Yes | QMessageBox::No, this);
        box.button(QMessageBox::Yes)->setText("&Yes");
        box.button(QMessageBox::No)->setText("&No");
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        if (exec_question(box) != QMessageBox::Yes) {
            set_status("Export cancelled.");
            return;
        }
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    telemetry_pane_made()->picture().save(&buffer, "PNG");
    if (write_export(csv_path, telemetry_csv(recorder_.data())) &&
        write_export(png_path, png.toStdString())) {
        set_status("Exported " + QFileInfo(csv_path).fileName() + " and " +
                   QFileInfo(png_path).fileName() + ".");
    }
}
