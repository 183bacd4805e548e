// Simulation > Missions and the Mission panel: a mission chosen in the menu puts its simulation
// and its starting sensors in place and waits for the next RUN; during that run the panel shows
// each goal's state, the author's words on it, where its quantity stands against its bound and
// the time left, the run ends when the mission's time is up, and the panel and the status bar
// give the verdict. A new mission, a new RUN and another program in the editor clear it.
//
// Mission time is the program clock since RUN without the time spent paused, as the simulated
// satellite counts it. The goals read the run before each statement, at the end of each pass,
// in real time also while the program waits or is paused, and at its end; the program's lines
// as it prints them.
//
// The run's history keeps what the mission knows beside each of its snapshots (the goals' states,
// the scenario's next event), so that the panel shows the goals as they stood at any moment the
// debugger shows, and a run that goes on from its past goes on with the mission as it was then.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <any>
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
class QMainWindow;
class QScrollArea;
class QVBoxLayout;
class QMenu;
class QTimer;
class SimulationControl;

class MissionControl : public QObject, private HistoryHost {
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
    // The last run's verdict goes, the goals wait again: another program is in the editor.
    // Nothing changes while a run is active.
    void forget_verdict();

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

    // The machine shows `moment` of the run (a seek, a step back, the run's end again): the
    // panel shows the goals as they stood then.
    void show_moment(const RunMoment& moment);

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
    // A row a goal: its mark, its text, the author's words, where it stands.
    struct GoalRow {
        QWidget* row = nullptr;
        QLabel* mark = nullptr;
        QLabel* goal = nullptr;
        QLabel* words = nullptr;
        QLabel* figure = nullptr;
    };
    void arm(Mission mission, const QString& path, std::vector<ScenarioEvent> events,
             QAction* entry);
    void build_dock();
    void show_goals();
    GoalRow make_row();
    void show_goal(const GoalRow& row, size_t goal);
    void run_state_changed(RunControl::State state);
    void begin_run();
    void end_run();
    // Applies the scenario's events that are due and samples the run if it changed.
    void tick();
    void schedule_next_event();
    int64_t mission_ms() const;
    void set_time_limit();
    // A run reopened at a moment of its past after it had ended goes on with the mission.
    void go_on();
    void stop_reviewing();
    // The watch follows the run, or a moment of it before its end.
    bool following() const { return running_ || (reviewing_ && watch_ && !watch_->finished()); }
    void line_printed(std::string_view line);
    // HistoryHost: what the mission knows at a moment of the run.
    std::any keep() override;
    void put_back(const std::any& kept) override;
    std::size_t kept_bytes() const override;

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
    QScrollArea* goals_ = nullptr;
    QVBoxLayout* goal_rows_ = nullptr;
    std::vector<GoalRow> rows_;
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
    // The run has ended and its history may be shown: the watch follows the moments shown.
    bool reviewing_ = false;
    // The watch as the run's end decided it, and the statements run by then.
    std::optional<MissionWatch> final_watch_;
    long long final_step_ = -1;
    int64_t final_left_ms_ = 0;
    // Lines of the run the watch has been given, and the lines an output goal looks for, by
    // their place in the output: a line a seek passes over is given to the watch from here.
    long long lines_seen_ = 0;
    struct NeedleLine {
        long long index;
        std::string text;
    };
    std::vector<NeedleLine> needle_lines_;
};
