#include "simulation_control.h"

#include <QAction>
#include <QActionGroup>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>
#include <QTimer>

#include "clock.h"
#include "device_panel_box.h"
#include "dialog_seams.h"
#include "error_display.h"
#include "file_access.h"
#include "simulation.h"

namespace {

// The choice lives where the recent files live; brevolin.ini keeps its fixed lines.
const char* const SIMULATION_KEY = "simulation";

// How often the satellite is moved on while the program waits in a DELAY or between two paced
// statements: smooth enough to watch the sliders, a few steps of 10 ms each time.
constexpr int FOLLOW_INTERVAL_MS = 50;

QSettings user_settings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "zorvant", "zorvant");
}

std::vector<Channel> driven_channels() {
    return {std::begin(SIM_DRIVEN), std::end(SIM_DRIVEN)};
}

}  // namespace

SimulationControl::SimulationControl(DevicePanelBox* panel, RunControl* run_control,
                                     QWidget* window)
    : QObject(window),
      panel_(panel),
      run_control_(run_control),
      window_(window),
      follow_timer_(new QTimer(this)) {
    // Whatever an earlier window left on: the window starts with the simulation off.
    sim_off();
    follow_timer_->setObjectName("t_sim");
    follow_timer_->setInterval(FOLLOW_INTERVAL_MS);
    connect(follow_timer_, &QTimer::timeout, this, &SimulationControl::follow);
    connect(run_control_, &RunControl::stateChanged, this, &SimulationControl::run_state_changed);
}

SimulationControl::~SimulationControl() {
    sim_off();
}

QString SimulationControl::preset_caption(const QString& name) {
    QStringList words = name.split('_', Qt::SkipEmptyParts);
    for (QString& word : words) {
        // "1u" is a size: all capitals.
        if (word.front().isDigit()) {
            word = word.toUpper();
        } else {
            word.front() = word.front().toUpper();
        }
    }
    return words.join(' ');
}

void SimulationControl::build_menu(QMenu* menu) {
    menu->setToolTipsVisible(true);
    entries_ = new QActionGroup(menu);
    off_ = menu->addAction("&Off");
    off_->setObjectName("sim_off");
    off_->setToolTip("The sensor sliders are yours to move");
    connect(off_, &QAction::triggered, this, &SimulationControl::choose_off);
    menu->addSeparator();
    for (const ShippedPreset& p : sim_shipped_presets()) {
        const QString name = QString::fromLatin1(p.name);
        // The first letter as its key: "&Tumbling 1U".
        QAction* a = menu->addAction('&' + preset_caption(name));
        a->setObjectName("sim_" + name);
        a->setData(name);
        a->setToolTip(
            plain_tooltip(QString::fromStdString(sim_preset_parse(p.text).preset.description)));
        connect(a, &QAction::triggered, this, [this, name] { choose_shipped(name); });
        presets_.push_back(a);
    }
    file_ = menu->addAction(QString());
    file_->setObjectName("sim_file");
    file_->setVisible(false);
    connect(file_, &QAction::triggered, this,
            [this] { use(file_preset_, file_path_, QFileInfo(file_path_).fileName(), file_); });
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) continue;
        a->setCheckable(true);
        entries_->addAction(a);
    }
    off_->setChecked(true);
    menu->addSeparator();
    open_ = menu->addAction("Open &Preset...");
    open_->setObjectName("sim_open");
    connect(open_, &QAction::triggered, this, &SimulationControl::open_preset);
}

QAction* SimulationControl::preset_action(const QString& name) const {
    for (QAction* a : presets_) {
        if (a->data().toString() == name) return a;
    }
    return nullptr;
}

void SimulationControl::restore() {
    const QString remembered = user_settings().value(SIMULATION_KEY).toString();
    if (remembered.isEmpty()) return;
    // A shipped preset's name never holds a '/'; a file is kept by its absolute path.
    const bool ok = remembered.contains('/') ? choose_file(remembered) : choose_shipped(remembered);
    if (!ok) remember(QString());
}

void SimulationControl::remember(const QString& chosen) {
    user_settings().setValue(SIMULATION_KEY, chosen);
}

// ---- the choices ----

void SimulationControl::choose_off() {
    turn_off();
    off_->setChecked(true);
    chosen_.clear();
    caption_.clear();
    remember(QString());
    emit status("Simulation off: the sensor sliders are yours again.");
}

bool SimulationControl::choose_shipped(const QString& name) {
    const ShippedPreset* shipped = sim_find_shipped(name.toStdString());
    if (shipped == nullptr) return false;
    use(sim_preset_parse(shipped->text).preset, name, preset_caption(name), preset_action(name));
    return true;
}

bool SimulationControl::choose_file(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const FileRead file =
        read_regular_file(QFile::encodeName(absolute).toStdString(), MAX_SIM_PRESET_BYTES);
    if (!file.ok) {
        show_error("Cannot open file " + absolute, file.reason);
        return false;
    }
    if (file.truncated) {
        show_error("Cannot open file " + absolute,
                   QStringLiteral("It is larger than %1 KiB").arg(MAX_SIM_PRESET_BYTES / 1024));
        return false;
    }
    const SimPresetRead read = sim_preset_parse(file.bytes);
    if (read.error_line != 0) {
        show_error(QStringLiteral("%1:%2: %3")
                       .arg(absolute)
                       .arg(read.error_line)
                       .arg(QString::fromStdString(read.error)));
        return false;
    }
    file_preset_ = read.preset;
    file_path_ = absolute;
    file_->setText(QFileInfo(absolute).fileName().replace('&', "&&"));
    file_->setToolTip(
        plain_tooltip(QString::fromStdString(read.preset.description) + "\n" + absolute));
    file_->setVisible(true);
    use(file_preset_, absolute, QFileInfo(absolute).fileName(), file_);
    return true;
}

void SimulationControl::open_preset() {
    if (dialog_ == nullptr) {
        dialog_ = new QFileDialog(window_);
        dialog_->setObjectName("sim_dialog");
        dialog_->setAcceptMode(QFileDialog::AcceptOpen);
        dialog_->setFileMode(QFileDialog::ExistingFile);
        dialog_->setNameFilters({"Simulation presets (*.sim)", "All files (*)"});
    }
    if (exec_file_dialog(*dialog_) != QDialog::Accepted || dialog_->selectedFiles().isEmpty()) {
        // The menu's tick stays on what is in force.
        return;
    }
    choose_file(dialog_->selectedFiles().constFirst());
}

// The simulation starts in its preset's initial state, which the sliders show at once; a RUN
// starts it from there again.
void SimulationControl::use(const SimPreset& preset, const QString& chosen, const QString& caption,
                            QAction* entry) {
    if (!simulation.on) {
        for (Channel c : SIM_DRIVEN) user_positions_[static_cast<int>(c)] = channel_position(c);
    }
    sim_reset(preset);
    panel_->show_simulation(caption, driven_channels());
    if (entry != nullptr) entry->setChecked(true);
    chosen_ = chosen;
    caption_ = caption;
    remember(chosen);
    emit status("Simulation: " + caption + ". RUN starts it from its initial state.");
}

void SimulationControl::turn_off() {
    if (!simulation.on) return;
    sim_off();
    for (Channel c : SIM_DRIVEN) channel_set(c, user_positions_[static_cast<int>(c)]);
    panel_->show_simulation(QString(), {});
}

void SimulationControl::let_go() {
    follow_timer_->stop();
    turn_off();
}

// ---- the run ----

// While the program runs or waits, the timer moves the satellite on with the clock; a pause
// holds it, and the resume leaves the paused time out. The choice changes only between runs:
// a run keeps the world it started in.
void SimulationControl::run_state_changed(RunControl::State state) {
    using State = RunControl::State;
    const bool moving = state == State::Running || state == State::Waiting;
    if (simulation.on) {
        if (state == State::Paused) {
            sim_hold(clock_ms());
        } else if (last_state_ == State::Paused && moving) {
            sim_release(clock_ms());
        }
    }
    if (moving && simulation.on) {
        if (!follow_timer_->isActive()) follow_timer_->start();
    } else {
        follow_timer_->stop();
    }
    if (entries_ != nullptr) {
        for (QAction* a : entries_->actions()) a->setEnabled(state == State::Idle);
        open_->setEnabled(state == State::Idle);
    }
    last_state_ = state;
}

void SimulationControl::follow() {
    if (simulation.on) sim_follow(clock_ms());
}
