// The Simulation menu and what the window does while a simulated satellite drives the sensors:
// the preset chosen (kept between sessions in the toolkit's settings store, beside the recent
// files), the sliders it moves disabled and marked, the satellite moved on by a timer while the
// program waits, and held while the program is paused, so that paused time does not count. With
// the simulation off, nothing of this shows.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <vector>

#include "channels.h"
#include "run_control.h"
#include "sim_preset.h"

class DevicePanelBox;
class QAction;
class QActionGroup;
class QFileDialog;
class QMenu;
class QTimer;
class QWidget;

class SimulationControl : public QObject {
    Q_OBJECT
   public:
    SimulationControl(DevicePanelBox* panel, RunControl* run_control, QWidget* window);
    ~SimulationControl() override;
    SimulationControl(const SimulationControl&) = delete;
    SimulationControl& operator=(const SimulationControl&) = delete;

    // Off, the shipped presets, the preset file opened last, and Open Preset...
    void build_menu(QMenu* menu);
    // At start-up: the choice of the last session. A preset file that can no longer be read is
    // reported and forgotten; the simulation then stays off.
    void restore();

    // Simulation > Off: the sliders are the user's again, where the user left them.
    void choose_off();
    // A shipped preset by its name ("tumbling_1u"); false for a name no preset has.
    bool choose_shipped(const QString& name);
    // A preset file. One that cannot be read, or that holds a bad line, is reported in the error
    // display (FILE:LINE: REASON) and changes nothing.
    bool choose_file(const QString& path);
    // Simulation > Open Preset...: the file dialog, then choose_file.
    void open_preset();

    // At close: the simulation off and the sensors back where the user left them, so that the
    // settings file keeps the user's positions; the choice stays for the next start.
    void let_go();

    // A shipped preset's name, a preset file's absolute path, or empty for Off.
    QString chosen() const { return chosen_; }
    // As the menu and the panel name it: "Tumbling 1U", a file's name; empty for Off.
    QString caption() const { return caption_; }

    QAction* off_action() const { return off_; }
    QAction* preset_action(const QString& name) const;
    // The preset file opened last; hidden until one is opened.
    QAction* file_action() const { return file_; }
    QAction* open_action() const { return open_; }

    // "tumbling_1u" as the menu shows it: "Tumbling 1U".
    static QString preset_caption(const QString& name);

   signals:
    // What the status bar says about a choice.
    void status(const QString& text);

   private:
    void use(const SimPreset& preset, const QString& chosen, const QString& caption,
             QAction* entry);
    void turn_off();
    void remember(const QString& chosen);
    void run_state_changed(RunControl::State state);
    void follow();

    DevicePanelBox* panel_;
    RunControl* run_control_;
    QWidget* window_;
    QTimer* follow_timer_;
    QActionGroup* entries_ = nullptr;
    QAction* off_ = nullptr;
    std::vector<QAction*> presets_;
    QAction* file_ = nullptr;
    QAction* open_ = nullptr;
    QFileDialog* dialog_ = nullptr;
    QString chosen_;
    QString caption_;
    // The preset file opened last, as it was read then.
    SimPreset file_preset_;
    QString file_path_;
    // The positions the user gave the driven sensors before the simulation took them.
    int32_t user_positions_[CHANNEL_COUNT] = {};
    RunControl::State last_state_ = RunControl::State::Idle;
};
