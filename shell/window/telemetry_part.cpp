#include "telemetry_part.h"

#include <QAction>
#include <QBuffer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

#include "debugger.h"
#include "dialog_seams.h"
#include "error_display.h"
#include "file_access.h"
#include "interp.h"
#include "program_document.h"
#include "run_control.h"
#include "telemetry_pane.h"

namespace {

// The pane is redrawn this often while a program runs: often enough to watch, seldom enough
// to leave the run its speed.
constexpr int TELEMETRY_REDRAW_MS = 1000;

int32_t run_clock(void* run_control) {
    return static_cast<RunControl*>(run_control)->clock_now();
}

long long run_steps(void* run_control) {
    return static_cast<RunControl*>(run_control)->steps();
}

bool write_export(const QString& path, const std::string& bytes) {
    const FileWrite written = write_file_atomically(QFile::encodeName(path).toStdString(), bytes,
                                                    LinkPolicy::WriteTarget);
    if (!written.ok) show_error("Cannot create file " + path, written.reason);
    return written.ok;
}

}  // namespace

Telemetry::Telemetry(Debugger* debugger, ProgramDocument* document, QMainWindow* window)
    : QObject(window),
      debugger_(debugger),
      run_control_(debugger->run_control()),
      document_(document),
      window_(window),
      redraw_timer_(new QTimer(this)) {
    recorder_.set_clock(run_clock, run_control_);
    recorder_.set_steps(run_steps, run_control_);
    run_control_->set_recorder(&recorder_);
    redraw_timer_->setObjectName("t_telemetry");
    redraw_timer_->setInterval(TELEMETRY_REDRAW_MS);
    connect(redraw_timer_, &QTimer::timeout, this, &Telemetry::refresh);

    view_ = new QAction("&Telemetry", this);
    view_->setCheckable(true);
    view_->setShortcut(QKeySequence("Ctrl+T"));
    view_->setShortcutContext(Qt::WindowShortcut);
    connect(view_, &QAction::triggered, this, &Telemetry::show_pane);
    export_ = new QAction("Export &Telemetry...", this);
    export_->setShortcutContext(Qt::WindowShortcut);
    export_->setEnabled(false);
    connect(export_, &QAction::triggered, this, &Telemetry::export_files);

    connect(debugger, &Debugger::runStarting, this, &Telemetry::start);
    connect(debugger, &Debugger::runEnded, this, &Telemetry::end);
    connect(debugger, &Debugger::paused, this, [this] {
        recorder_.sample();
        refresh();
        show_cursor();
    });
    connect(debugger, &Debugger::momentShown, this, &Telemetry::show_cursor);
    connect(debugger, &Debugger::futureDropped, this, [this](const RunMoment& from) {
        recorder_.resume_from(recording_time(from.clock_ms), from.step);
        export_->setEnabled(!recorder_.data().empty());
        refresh();
        show_cursor();
    });
    connect(run_control_, &RunControl::stateChanged, this, [this](RunControl::State state) {
        const bool going =
            state == RunControl::State::Running || state == RunControl::State::Waiting;
        // A run that goes on again from its past is followed as a fresh one is.
        if (going && pane_ != nullptr && pane_->isVisible()) redraw_timer_->start();
        show_cursor();
    });
}

int64_t Telemetry::recording_time(int32_t clock_ms) const {
    return static_cast<int32_t>(static_cast<uint32_t>(clock_ms) -
                                static_cast<uint32_t>(recorder_.started_clock()));
}

int32_t Telemetry::program_clock(int64_t recording_ms) const {
    return static_cast<int32_t>(static_cast<uint32_t>(recorder_.started_clock()) +
                                static_cast<uint32_t>(recording_ms));
}

QString Telemetry::cursor_text(int64_t recording_ms, bool run_ended) {
    const QString time = QString::number(static_cast<double>(recording_ms) / 1000.0, 'f', 3);
    if (run_ended || interp_finished() || tok_position() == nullptr) {
        return QStringLiteral("Time cursor: %1 s, the end of the run").arg(time);
    }
    return QStringLiteral("Time cursor: %1 s, line %2").arg(time).arg(current_line());
}

void Telemetry::show_cursor() {
    if (pane_ == nullptr) return;
    const RunControl::State state = run_control_->state();
    const bool held = state == RunControl::State::Paused || state == RunControl::State::Idle;
    if (!held || !run_control_->recording() || run_control_->history().empty() ||
        recorder_.data().empty()) {
        pane_->set_cursor(std::nullopt, QString(), QString());
        pane_->set_resume_enabled(false);
        return;
    }
    const RunMoment moment = debugger_->moment();
    const int64_t t = recording_time(moment.clock_ms);
    const QString text = cursor_text(t, state == RunControl::State::Idle && !debugger_->in_past());
    pane_->set_cursor(t, text, text);
    pane_->set_resume_enabled(debugger_->in_past());
}

// Left and Right: a statement; Page Up and Page Down: a second of the program clock; Home and
// End: the first and the last moment kept.
void Telemetry::cursor_key(int key) {
    const RunMoment moment = debugger_->moment();
    const RunHistory& history = run_control_->history();
    switch (key) {
        case Qt::Key_Left:
            debugger_->seek_step(std::max(moment.step - 1, history.first().step));
            break;
        case Qt::Key_Right:
            debugger_->seek_step(std::min(moment.step + 1, history.last().step));
            break;
        case Qt::Key_PageUp:
            debugger_->seek_time(moment.clock_ms - 1000);
            break;
        case Qt::Key_PageDown:
            debugger_->seek_time(moment.clock_ms + 1000);
            break;
        case Qt::Key_Home:
            debugger_->seek_step(history.first().step);
            break;
        case Qt::Key_End:
            debugger_->seek_step(history.last().step);
            break;
        default:
            break;
    }
    show_cursor();
}

Telemetry::~Telemetry() = default;

// The charts take longer to build than the rest of the window: the pane is made when it is
// first shown or exported.
TelemetryPane* Telemetry::pane_made() {
    if (pane_ != nullptr) return pane_;
    pane_ = new TelemetryPane(recorder_.data(), window_);
    // Where the user left it, else where it covers nothing of the window.
    if (!window_->restoreDockWidget(pane_)) emit placeWanted(pane_);
    pane_->hide();
    emit dockMade(pane_);
    connect(pane_, &QDockWidget::visibilityChanged, this, [this](bool shown) {
        if (shown) {
            refresh();
            if (run_control_->active()) redraw_timer_->start();
        } else {
            redraw_timer_->stop();
        }
    });
    // The pane's own close button unticks View > Telemetry.
    connect(pane_->toggleViewAction(), &QAction::toggled, view_, &QAction::setChecked);
    connect(pane_, &TelemetryPane::cursorDragged, this, [this](int64_t t) {
        debugger_->seek_time(program_clock(t));
        // Nothing to go to any more (another program opened since): the cursor goes.
        show_cursor();
    });
    connect(pane_, &TelemetryPane::cursorKey, this, &Telemetry::cursor_key);
    connect(pane_, &TelemetryPane::resumeRequested, this, [this] { debugger_->resume_here(); });
    show_cursor();
    return pane_;
}

void Telemetry::show_pane(bool shown) {
    if (!shown && pane_ == nullptr) return;
    TelemetryPane* pane = pane_made();
    if (shown != pane->isHidden()) return;
    if (shown) {
        pane->show();
    } else {
        pane->close();
    }
}

// A fresh run starts a new recording.
void Telemetry::start() {
    recorder_.start();
    export_->setEnabled(true);
    if (pane_ != nullptr && pane_->isVisible()) {
        redraw_timer_->start();
        pane_->refresh(0, true);
    }
}

void Telemetry::end() {
    if (!recorder_.recording()) return;
    recorder_.end();
    redraw_timer_->stop();
    if (pane_ != nullptr && pane_->isVisible()) {
        // No longer following the newest time: the wheel, a drag and the cursor work again.
        pane_->refresh(recorder_.data().last_time(), false);
        pane_->show_whole_run();
    }
    show_cursor();
}

void Telemetry::sample() {
    recorder_.sample();
}

void Telemetry::refresh() {
    if (pane_ == nullptr || !pane_->isVisible()) return;
    const bool running = run_control_->state() == RunControl::State::Running ||
                         run_control_->state() == RunControl::State::Waiting;
    pane_->refresh(recorder_.recording() ? recorder_.now() : recorder_.data().last_time(), running);
}

// The dialog asks before it replaces the CSV; the picture beside it is asked about here, before
// either file is written.
void Telemetry::export_files() {
    if (recorder_.data().empty()) return;
    const QString current = document_->path();
    const QString offered = current.isEmpty()
                                ? QString("telemetry.csv")
                                : QFileInfo(current).completeBaseName() + "-telemetry.csv";
    if (dialog_ == nullptr) {
        dialog_ = new QFileDialog(window_);
        dialog_->setObjectName("ed");
        dialog_->setAcceptMode(QFileDialog::AcceptSave);
        dialog_->setFileMode(QFileDialog::AnyFile);
        dialog_->setDefaultSuffix("csv");
        dialog_->setNameFilter("CSV files (*.csv)");
    }
    if (exec_file_dialog(*dialog_, offered) != QDialog::Accepted || dialog_->selectedFiles().isEmpty())
        return;
    const QString csv_path = dialog_->selectedFiles().constFirst();
    const QFileInfo csv(csv_path);
    QString png_path = csv.dir().filePath(csv.completeBaseName() + ".png");
    // A CSV named like a picture keeps its name; the picture takes another.
    if (QFileInfo(png_path).absoluteFilePath() == csv.absoluteFilePath())
        png_path = csv.dir().filePath(csv.completeBaseName() + "-charts.png");
    if (QFileInfo::exists(png_path) || QFileInfo(png_path).isSymLink()) {
        QMessageBox box(QMessageBox::Question, "Confirm",
                        QStringLiteral("%1 already exists beside %2. Replace it?")
                            .arg(QFileInfo(png_path).fileName(), csv.fileName()),
                        QMessageBox::Yes | QMessageBox::No, window_);
        box.button(QMessageBox::Yes)->setText("&Yes");
        box.button(QMessageBox::No)->setText("&No");
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        if (exec_question(box) != QMessageBox::Yes) {
            emit status("Export cancelled.");
            return;
        }
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    pane_made()->picture().save(&buffer, "PNG");
    if (write_export(csv_path, telemetry_csv(recorder_.data())) &&
        write_export(png_path, png.toStdString())) {
        emit status("Exported " + QFileInfo(csv_path).fileName() + " and " +
                    QFileInfo(png_path).fileName() + ".");
    }
}
