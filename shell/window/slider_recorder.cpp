#include "slider_recorder.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QSaveFile>
#include <cstdio>

#include "clock.h"
#include "dialog_seams.h"
#include "error_display.h"
#include "kept_files.h"
#include "simulation.h"

namespace {

const char* const NOTE = "Slider moves recorded in the editor: milliseconds since RUN.";

// Kept moves are named after the process, as unsaved text is, but never taken for it.
std::string kept_moves_name(int spare) {
    std::string name = "moves-" + std::to_string(QCoreApplication::applicationPid());
    if (spare > 0) name += '-' + std::to_string(spare);
    return name + ".txt";
}

}  // namespace

SliderRecorder::SliderRecorder(RunControl* run_control, QWidget* window)
    : QObject(window), run_control_(run_control), window_(window), action_(new QAction(this)) {
    action_->setText("Record S&lider Moves");
    action_->setObjectName("act_record_sliders");
    action_->setCheckable(true);
    action_->setToolTip("Keep the sensor sliders you move during a run as a scenario file");
    connect(action_, &QAction::toggled, this, &SliderRecorder::toggled);
    connect(run_control_, &RunControl::stateChanged, this, &SliderRecorder::run_state_changed);
    device_subscribe(channel_changed, this);
}

SliderRecorder::~SliderRecorder() {
    device_unsubscribe(channel_changed, this);
}

// Only what the user moves: the sensors, and none the simulation drives. The time is the
// program's clock, as a replay's statements will read it.
void SliderRecorder::channel_changed(Channel channel, void* self) {
    auto* r = static_cast<SliderRecorder*>(self);
    if (!r->running_ || !r->action_->isChecked()) return;
    // A step back or forward puts sliders where they were, as the run had them.
    if (r->run_control_->history().replaying()) return;
    if (info_of(channel).mover != Mover::User || (simulation.on && sim_drives(channel))) return;
    const size_t before = r->recorder_.events().size();
    r->steps_.resize(before);
    r->recorder_.moved(channel, channel_position(channel), r->run_control_->clock_now());
    // A drag's moves in one millisecond are one event, made where the last of them was.
    if (r->recorder_.events().size() > before) {
        r->steps_.push_back(r->run_control_->steps());
    } else if (before > 0) {
        r->steps_.back() = r->run_control_->steps();
    }
}

void SliderRecorder::forget_after(const RunMoment& from) {
    steps_.resize(recorder_.events().size());
    for (size_t k = steps_.size(); k-- > 0;) {
        if (steps_[k] > from.step) {
            recorder_.forget(k);
            steps_.erase(steps_.begin() + static_cast<long>(k));
        }
    }
}

void SliderRecorder::run_state_changed(RunControl::State state) {
    if (!running_ && state != RunControl::State::Idle) {
        running_ = true;
        // Times count from RUN, whether recording began then or later in the run.
        recorder_.start(clock_ms());
        if (action_->isChecked()) emit status("Recording the slider moves of this run.");
    } else if (running_ && state == RunControl::State::Idle) {
        running_ = false;
        if (!closing_ && !recorder_.events().empty()) save();
    }
}

void SliderRecorder::toggled(bool on) {
    if (on) {
        emit status(running_ ? "Recording the slider moves from now on."
                             : "The slider moves of the next run will be recorded.");
        return;
    }
    // Unchecked during a run: what was recorded is offered when the run ends.
    if (!closing_ && !running_ && !recorder_.events().empty()) save();
}

bool SliderRecorder::save() {
    if (dialog_ == nullptr) {
        dialog_ = new QFileDialog(window_);
        dialog_->setObjectName("scenario_dialog");
        dialog_->setWindowTitle("Save Slider Moves");
        dialog_->setAcceptMode(QFileDialog::AcceptSave);
        dialog_->setFileMode(QFileDialog::AnyFile);
        dialog_->setNameFilters({"Scenarios (*.scenario)", "Text files (*.txt)", "All files (*)"});
        dialog_->setDefaultSuffix("scenario");
    }
    const size_t count = recorder_.events().size();
    const QString name = program_name_ ? program_name_() : QString();
    const QString offered = (name.isEmpty() ? QStringLiteral("untitled") : name) + ".scenario";
    if (exec_file_dialog(*dialog_, offered) != QDialog::Accepted ||
        dialog_->selectedFiles().isEmpty()) {
        recorder_.clear();
        emit status(QStringLiteral("Slider moves not kept (%1).").arg(count));
        return false;
    }
    const QString path = QFileInfo(dialog_->selectedFiles().constFirst()).absoluteFilePath();
    const std::string text = scenario_format(recorder_.events(), NOTE);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) !=
            static_cast<qint64>(text.size()) ||
        !file.commit()) {
        // The moves stay, for another try.
        show_error("Cannot save file " + path, file.errorString());
        return false;
    }
    recorder_.clear();
    emit status(QStringLiteral("%1 slider moves saved to %2.").arg(count).arg(path));
    return true;
}

void SliderRecorder::close() {
    if (closing_) return;
    // Before the dialog: a run that ends while it is open must not ask again.
    closing_ = true;
    if (recorder_.events().empty()) return;
    // Cancelled, the moves are given up as at the end of any run; a failed write keeps them.
    if (!save() && !recorder_.events().empty()) keep_for_recovery();
}

bool SliderRecorder::keep_for_recovery() {
    closing_ = true;
    const size_t count = recorder_.events().size();
    if (count == 0) return true;
    const KeptFile kept =
        keep_in_recovery(QString(), kept_moves_name, scenario_format(recorder_.events(), NOTE),
                         QStringLiteral("%1 slider moves").arg(count));
    const QString said =
        !kept.trouble.isEmpty()
            ? kept.trouble
            : QStringLiteral("%1 slider moves kept in %2.").arg(count).arg(kept.path);
    std::fprintf(stderr, "zorvant: %s\n", said.toLocal8Bit().constData());
    if (kept.path.isEmpty()) return false;
    recorder_.clear();
    return true;
}
