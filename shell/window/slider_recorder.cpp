#include "slider_recorder.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QSaveFile>

#include "clock.h"
#include "dialog_seams.h"
#include "error_display.h"
#include "simulation.h"

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
    if (info_of(channel).mover != Mover::User || (simulation.on && sim_drives(channel))) return;
    r->recorder_.moved(channel, channel_position(channel), r->run_control_->clock_now());
}

void SliderRecorder::run_state_changed(RunControl::State state) {
    if (!running_ && state != RunControl::State::Idle) {
        running_ = true;
        // Times count from RUN, whether recording began then or later in the run.
        recorder_.start(clock_ms());
        if (action_->isChecked()) emit status("Recording the slider moves of this run.");
    } else if (running_ && state == RunControl::State::Idle) {
        running_ = false;
        if (!recorder_.events().empty()) save();
    }
}

void SliderRecorder::toggled(bool on) {
    if (on) {
        emit status(running_ ? "Recording the slider moves from now on."
                             : "The slider moves of the next run will be recorded.");
        return;
    }
    // Unchecked during a run: what was recorded is offered when the run ends.
    if (!running_ && !recorder_.events().empty()) save();
}

bool SliderRecorder::save() {
    if (dialog_ == nullptr) {
        dialog_ = new QFileDialog(window_);
        dialog_->setObjectName("scenario_dialog");
        dialog_->setAcceptMode(QFileDialog::AcceptSave);
        dialog_->setFileMode(QFileDialog::AnyFile);
        dialog_->setNameFilters({"Scenarios (*.txt)", "All files (*)"});
        dialog_->setDefaultSuffix("txt");
    }
    const size_t count = recorder_.events().size();
    if (exec_file_dialog(*dialog_, "scenario.txt") != QDialog::Accepted ||
        dialog_->selectedFiles().isEmpty()) {
        recorder_.clear();
        emit status(QStringLiteral("Slider moves not kept (%1).").arg(count));
        return false;
    }
    const QString path = QFileInfo(dialog_->selectedFiles().constFirst()).absoluteFilePath();
    const std::string text = scenario_format(
        recorder_.events(), "Slider moves recorded in the editor: milliseconds since RUN.");
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
