// Run > Record Slider Moves: while it is checked, the sensor sliders the user moves during a run
// are recorded with the program clock since RUN, and at the run's end (or when it is unchecked
// after a run) the window asks where to keep them: a scenario file that replays the same moves
// without the window (zorvant-run --scenario). A closing window asks while it is still there;
// a session ended by a signal asks nothing and keeps the moves in the recovery folder.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

#include "channels.h"
#include "run_control.h"
#include "scenario.h"

class QAction;
class QFileDialog;
class QWidget;

class SliderRecorder : public QObject {
    Q_OBJECT
   public:
    SliderRecorder(RunControl* run_control, QWidget* window);
    ~SliderRecorder() override;
    SliderRecorder(const SliderRecorder&) = delete;
    SliderRecorder& operator=(const SliderRecorder&) = delete;

    // The checkable menu entry.
    QAction* action() const { return action_; }
    // The program's name, which the dialog offers as NAME.scenario.
    void set_program_name(std::function<QString()> name) { program_name_ = std::move(name); }
    // The moves recorded and not yet saved.
    const std::vector<ScenarioEvent>& events() const { return recorder_.events(); }
    // Asks where to keep the recorded moves and writes them there; false when nothing was
    // written (cancelled, or the file could not be written, which is reported).
    bool save();
    // The window is closing: moves not yet saved are offered now, and kept in the recovery
    // folder when they cannot be written where the user chose. Nothing is asked after this.
    void close();
    // The session ends on a signal: moves not yet saved go to the recovery folder, and standard
    // error says where. Nothing is asked after this. False when they could be kept nowhere.
    bool keep_for_recovery();
    // The run went on from `from`, a moment in its past: the moves made after it are forgotten.
    void forget_after(const RunMoment& from);

   signals:
    void status(const QString& text);

   private:
    static void channel_changed(Channel channel, void* self);
    void toggled(bool on);
    void run_state_changed(RunControl::State state);

    RunControl* run_control_;
    QWidget* window_;
    QAction* action_;
    QFileDialog* dialog_ = nullptr;
    std::function<QString()> program_name_;
    ScenarioRecorder recorder_;
    // The statements the run had made at each recorded move: the clock may stand still across
    // many of them (a pause, a run on the program clock), the statement count does not.
    std::vector<long long> steps_;
    bool running_ = false;
    // The window is going: no more questions.
    bool closing_ = false;
};
