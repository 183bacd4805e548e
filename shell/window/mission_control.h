// Simulation > Missions and the Mission panel: a mission chosen in the menu puts its simulation
// and its starting sensors in place and waits for the next RUN; during that run the panel shows
// each goal's state and the time left, the run ends when the mission's time is up, and the
// panel and the status bar give the verdict.
//
// Mission time is the program clock since RUN without the time spent paused, as the simulated
// satellite counts it. The goals read the run before each statement, at the end of each pass,
// in real time also while the program waits or is paused, and at its end; the program's lines
// as it prints them.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <optional>
#include <string_view>
#include <vector>

#include "mission.h"
#include "run_control.h"
#include "scenario.h"

class QAction;
class QActionGroup;
class QDockWidget;
class QFileDialog;
class QLabel;
class QListWidget;
class QMainWindow;
class QMenu;
class QTimer;
class SimulationControl;

class MissionControl : public QObject {
    Q_OBJECT
   public:
    MissionControl(SimulationControl* simulation, RunControl* run_control, QMainWindow* window);
    ~MissionControl() override;
    MissionControl(const MissionControl&) = delete;
    MissionControl& operator=(const MissionControl&) = delete;

    // No Mission, the shipped missions by their titles, the file opened last, Open Mission...
    void build_menu(QMenu* menu);

    // A mission file (a shipped one is a resource path, ":/missions/..."): read, its
    // simulation chosen and its sensors set, armed for the next RUN. A file that cannot be
    // read, or a mission the window cannot run, is reported and changes nothing.
    bool choose_file(const QString& path);
    void choose_none();
    // Simulation > Missions > Open Mission...: the file dialog, then choose_file.
    void open_mission();

    // The mission armed for the next RUN (or running), if any.
    const Mission* armed() const { return mission_ ? &*mission_ : nullptr; }
    // The watch of the current or last mission run; empty before the first.
    const MissionWatch* watch() const { return watch_ ? &*watch_ : nullptr; }

    QAction* none_action() const { return none_; }
    // The shipped mission at this resource path; nullptr for none.
    QAction* mission_action(const QString& path) const;
    // The mission file opened last; hidden until one is opened.
    QAction* file_action() const { return file_; }
    QAction* open_action() const { return open_; }
    // Made when a mission is first chosen; nullptr before.
    QDockWidget* dock() const { return dock_; }

    // "Time left: 7:32": whole seconds, rounded up.
    static QString time_left_text(int64_t ms);
    // The mark a goal's state shows, and the word a screen reader says for it.
    static QString mark(MissionWatch::State state);
    static QString state_word(MissionWatch::State state);

   signals:
    // What the status bar says about a choice and a mission's end.
    void status(const QString& text);
    // The Mission panel was made (and put where it was at the last close, if anywhere).
    void dockMade(QDockWidget* dock);

   private:
    void arm(Mission mission, const QString& path, std::vector<ScenarioEvent> events,
             QAction* entry);
    void build_dock();
    void show_goals();
    void run_state_changed(RunControl::State state);
    void begin_run();
    void end_run();
    // Applies the scenario's events that are due and samples the run if it changed.
    void tick();
    void schedule_next_event();
    int64_t mission_ms() const;
    void set_time_limit();

    SimulationControl* simulation_;
    // The window deletes the run control first: its signals are let go with it.
    QPointer<RunControl> run_control_;
    QMainWindow* window_;
    QActionGroup* entries_ = nullptr;
    QAction* none_ = nullptr;
    std::vector<QAction*> shipped_;
    QAction* file_ = nullptr;
    QAction* open_ = nullptr;
    QFileDialog* dialog_ = nullptr;
    QDockWidget* dock_ = nullptr;
    QLabel* title_ = nullptr;
    QListWidget* goals_ = nullptr;
    QLabel* time_left_ = nullptr;
    QLabel* result_ = nullptr;
    // Refreshes the panel and samples the run while it waits or is paused.
    QTimer* refresh_ = nullptr;
    // Fires when the scenario's next event is due.
    QTimer* event_timer_ = nullptr;

    std::optional<Mission> mission_;
    QString path_;
    // What the simulation menu was set to for the mission: a shipped name, a file, empty.
    QString simulation_choice_;
    std::vector<ScenarioEvent> events_;
    QString file_path_;  // the mission file opened last

    // The run.
    std::optional<MissionWatch> watch_;
    bool running_ = false;
    int32_t start_ms_ = 0;
    int64_t paused_total_ms_ = 0;
    bool paused_ = false;
    int32_t paused_at_ms_ = 0;
    size_t next_event_ = 0;
    int64_t shown_second_ = -1;
};
