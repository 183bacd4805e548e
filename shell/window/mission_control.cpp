#include "mission_control.h"

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QDirIterator>
#include <QDockWidget>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QHBoxLayout>
#include <QMainWindow>
#include <QMenu>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "clock.h"
#include "dialog_seams.h"
#include "error_display.h"
#include "file_access.h"
#include "interp.h"
#include "mission_setup.h"
#include "sim_preset.h"
#include "simulation.h"
#include "simulation_control.h"

namespace {

// The panel follows the run at this pace; the goals read every pass regardless.
constexpr int REFRESH_MS = 100;

// What the mission knows at a moment of the run, beside the history's snapshot of the machine.
struct MissionMoment {
    MissionWatch watch;
    size_t next_event;
    int64_t paused_total_ms;
    long long lines_seen;
};

// A file a mission setup reads: the shipped missions are resources, the rest files on disk.
FileRead read_mission_file(const std::string& path, size_t limit) {
    if (!path.starts_with(":/")) return read_regular_file(path, limit);
    FileRead read;
    QFile file(QString::fromStdString(path));
    if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly)) {
        read.reason = QFileInfo(file).exists() ? REASON_NOT_REGULAR : "No such file or directory";
        return read;
    }
    const QByteArray bytes = file.read(static_cast<qint64>(limit) + 1);
    read.ok = true;
    read.truncated = static_cast<size_t>(bytes.size()) > limit;
    read.bytes = bytes.toStdString();
    if (read.truncated) read.bytes.resize(limit);
    return read;
}

std::string to_file_name(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString from_file_name(const std::string& name) {
    return QFile::decodeName(QByteArray::fromStdString(name));
}

QFont bold_font(QFont font) {
    font.setBold(true);
    return font;
}

QString from_std(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

MissionControl::MissionControl(SimulationControl* simulation, RunControl* run_control,
                               QMainWindow* window)
    : QObject(window),
      simulation_(simulation),
      run_control_(run_control),
      window_(window),
      refresh_(new QTimer(this)),
      event_timer_(new QTimer(this)) {
    refresh_->setInterval(REFRESH_MS);
    connect(refresh_, &QTimer::timeout, this, [this] {
        tick();
        show_goals();
    });
    event_timer_->setSingleShot(true);
    event_timer_->setTimerType(Qt::PreciseTimer);
    connect(event_timer_, &QTimer::timeout, this, [this] { tick(); });
    connect(run_control_, &RunControl::stateChanged, this, &MissionControl::run_state_changed);
    connect(run_control_, &RunControl::passEnded, this, [this] {
        if (running_) tick();
    });
    connect(run_control_, &RunControl::linePrinted, this, &MissionControl::line_printed);
    run_control_->set_history_host(this, this);
}

MissionControl::~MissionControl() = default;

// ---- the menu ----

void MissionControl::build_menu(QMenu* menu) {
    menu->setObjectName("menu_missions");
    menu->setToolTipsVisible(true);
    entries_ = new QActionGroup(menu);
    none_ = menu->addAction("&No Mission");
    none_->setObjectName("mission_none");
    connect(none_, &QAction::triggered, this, &MissionControl::choose_none);
    menu->addSeparator();
    QStringList paths;
    for (QDirIterator it(":/missions", {"*.mission"}, QDir::Files); it.hasNext();) {
        paths << it.next();
    }
    paths.sort();
    for (const QString& path : paths) {
        const FileRead file = read_mission_file(to_file_name(path), MAX_MISSION_FILE_BYTES);
        if (!file.ok || file.truncated) continue;
        const MissionRead read = mission_parse(file.bytes);
        if (read.error_line != 0) continue;
        QString title = from_std(read.mission.title);
        if (title.isEmpty()) title = QFileInfo(path).completeBaseName();
        QAction* a = menu->addAction(title.replace('&', "&&"));
        a->setObjectName("mission_" + QFileInfo(path).completeBaseName());
        a->setData(path);
        connect(a, &QAction::triggered, this, [this, path] { choose_file(path); });
        shipped_.push_back(a);
    }
    file_ = menu->addAction(QString());
    file_->setObjectName("mission_file");
    file_->setVisible(false);
    connect(file_, &QAction::triggered, this, [this] { choose_file(file_path_); });
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) continue;
        a->setCheckable(true);
        entries_->addAction(a);
    }
    none_->setChecked(true);
    menu->addSeparator();
    open_ = menu->addAction("&Open Mission...");
    open_->setObjectName("mission_open");
    connect(open_, &QAction::triggered, this, &MissionControl::open_mission);
}

QAction* MissionControl::mission_action(const QString& path) const {
    for (QAction* a : shipped_) {
        if (a->data().toString() == path) return a;
    }
    return nullptr;
}

void MissionControl::open_mission() {
    if (dialog_ == nullptr) {
        dialog_ = new QFileDialog(window_);
        dialog_->setObjectName("mission_dialog");
        dialog_->setAcceptMode(QFileDialog::AcceptOpen);
        dialog_->setFileMode(QFileDialog::ExistingFile);
        dialog_->setNameFilters({"Missions (*.mission)", "All files (*)"});
    }
    if (exec_file_dialog(*dialog_) != QDialog::Accepted || dialog_->selectedFiles().isEmpty()) {
        return;
    }
    choose_file(dialog_->selectedFiles().constFirst());
}

// ---- the choices ----

void MissionControl::choose_none() {
    stop_reviewing();
    mission_.reset();
    path_.clear();
    events_.clear();
    if (none_ != nullptr) none_->setChecked(true);
    if (dock_ != nullptr) dock_->hide();
    emit status("No mission: RUN runs the program as it is.");
}

bool MissionControl::choose_file(const QString& path) {
    const bool shipped = path.startsWith(":/");
    const QString shown = shipped ? path : QFileInfo(path).absoluteFilePath();
    MissionSetup setup;
    MissionSetupProblem problem;
    if (!mission_setup_file(to_file_name(shown), setup, problem, read_mission_file)) {
        if (problem.unreadable) {
            show_error("Cannot open file " +
                           (problem.file.empty() ? shown : from_file_name(problem.file)),
                       problem.reason);
        } else {
            show_error(from_file_name(problem.text(to_file_name(shown))));
        }
        return false;
    }
    Mission& mission = setup.mission;
    // The simulation: a shipped preset by its name, or the preset file beside the mission.
    if (!setup.simulated) {
        if (!simulation_->chosen().isEmpty()) simulation_->choose_off();
    } else if (setup.sim_file.empty()) {
        simulation_->choose_shipped(QString::fromStdString(mission.sim));
    } else if (!simulation_->choose_file(from_file_name(setup.sim_file))) {
        return false;  // reported by the simulation's menu
    }
    simulation_choice_ = simulation_->chosen();
    QAction* entry = shipped ? mission_action(path) : nullptr;
    if (!shipped) {
        file_path_ = shown;
        file_->setText(QFileInfo(shown).fileName().replace('&', "&&"));
        file_->setToolTip(plain_tooltip(from_std(mission.title) + "\n" + shown));
        file_->setVisible(true);
        entry = file_;
    }
    arm(std::move(mission), shown, std::move(setup.events), entry);
    return true;
}

void MissionControl::arm(Mission mission, const QString& path, std::vector<ScenarioEvent> events,
                         QAction* entry) {
    for (const auto& [channel, position] : mission.settings) channel_set(channel, position);
    stop_reviewing();
    mission_ = std::move(mission);
    path_ = path;
    events_ = std::move(events);
    watch_.reset();
    if (entry != nullptr) entry->setChecked(true);
    build_dock();
    // The last mission's verdict does not stand under this one's goals.
    result_->clear();
    shown_second_ = -1;
    show_goals();
    dock_->show();
    emit status(QStringLiteral("Mission: %1. RUN starts it; it lasts %2.")
                    .arg(from_std(mission_->title),
                         time_left_text(std::llround(mission_->time_s * 1000)).mid(11)));
}

void MissionControl::forget_verdict() {
    if (running_ || !watch_) return;
    stop_reviewing();
    watch_.reset();
    result_->clear();
    shown_second_ = -1;
    show_goals();
}

// ---- the panel ----

QString MissionControl::time_left_text(int64_t ms) {
    const int64_t seconds = std::max<int64_t>(0, (ms + 999) / 1000);
    const int64_t h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
    const QString ss = QStringLiteral("%1").arg(s, 2, 10, QChar('0'));
    if (h > 0) {
        return QStringLiteral("Time left: %1:%2:%3").arg(h).arg(m, 2, 10, QChar('0')).arg(ss);
    }
    return QStringLiteral("Time left: %1:%2").arg(m).arg(ss);
}

QString MissionControl::mark(MissionWatch::State state) {
    switch (state) {
        case MissionWatch::State::Pending: return QStringLiteral("\u25CB");
        case MissionWatch::State::Holding: return QStringLiteral("\u25D0");
        case MissionWatch::State::Met: return QStringLiteral("\u2713");
        case MissionWatch::State::Missed: return QStringLiteral("\u2717");
    }
    return QString();
}

QString MissionControl::state_word(MissionWatch::State state) {
    switch (state) {
        case MissionWatch::State::Pending: return "pending";
        case MissionWatch::State::Holding: return "holding";
        case MissionWatch::State::Met: return "met";
        case MissionWatch::State::Missed: return "missed";
    }
    return QString();
}

// Made when a mission is first chosen.
void MissionControl::build_dock() {
    if (dock_ != nullptr) return;
    dock_ = new QDockWidget("Mission", window_);
    dock_->setObjectName("mission_dock");
    auto* body = new QWidget(dock_);
    body->setObjectName("mission_body");
    // Dark text on white, whatever the window's own colours.
    body->setStyleSheet("#mission_body, #mission_goal_list { background-color: white; } "
                        "QLabel { color: black; background: transparent; } "
                        "#mission_goal_words { color: #404040; font-style: italic; }");
    body->setAttribute(Qt::WA_StyledBackground);
    auto* rows = new QVBoxLayout(body);
    title_ = new QLabel(body);
    title_->setObjectName("mission_title");
    // A mission's words are shown as written: a title is no markup, and markup could name a
    // picture to load from anywhere.
    title_->setTextFormat(Qt::PlainText);
    title_->setWordWrap(true);
    title_->setFont(bold_font(title_->font()));
    // The goals' rows wrap their words to the panel's width, and scroll when they are many.
    goals_ = new QScrollArea(body);
    goals_->setObjectName("mission_goals");
    goals_->setAccessibleName("Mission goals");
    goals_->setWidgetResizable(true);
    goals_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    goals_->setFrameShape(QFrame::NoFrame);
    auto* list = new QWidget(goals_->viewport());
    list->setObjectName("mission_goal_list");
    list->setAttribute(Qt::WA_StyledBackground);
    goal_rows_ = new QVBoxLayout(list);
    goal_rows_->setContentsMargins(0, 0, 0, 0);
    goal_rows_->addStretch(1);
    goals_->setWidget(list);
    time_left_ = new QLabel(body);
    time_left_->setObjectName("mission_time_left");
    time_left_->setTextFormat(Qt::PlainText);
    time_left_->setFont(bold_font(time_left_->font()));
    result_ = new QLabel(body);
    result_->setObjectName("mission_result");
    result_->setTextFormat(Qt::PlainText);
    result_->setWordWrap(true);
    result_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    rows->addWidget(title_);
    rows->addWidget(goals_, 1);
    rows->addWidget(time_left_);
    rows->addWidget(result_);
    dock_->setWidget(body);
    // Where it was at the last close; else at the side, where it takes room from the window's
    // middle instead of lying over it.
    if (!window_->restoreDockWidget(dock_)) window_->addDockWidget(Qt::RightDockWidgetArea, dock_);
    emit dockMade(dock_);
}

// The goals as the watch sees them now; before the run, all pending.
void MissionControl::show_goals() {
    if (!mission_) return;
    title_->setText(from_std(mission_->title));
    const size_t n = mission_->goals.size();
    while (rows_.size() < n) rows_.push_back(make_row());
    while (rows_.size() > n) {
        delete rows_.back().row;
        rows_.pop_back();
    }
    for (size_t k = 0; k < n; ++k) show_goal(rows_[k], k);
    const int64_t total_ms = std::llround(mission_->time_s * 1000);
    const int64_t left = following() ? total_ms - mission_ms() : watch_ ? final_left_ms_ : total_ms;
    const int64_t second = (std::max<int64_t>(left, 0) + 999) / 1000;
    if (second != shown_second_) {
        shown_second_ = second;
        time_left_->setText(time_left_text(left));
    }
}

MissionControl::GoalRow MissionControl::make_row() {
    GoalRow r;
    QWidget* list = goals_->widget();
    r.row = new QWidget(list);
    r.row->setObjectName("mission_goal");
    auto* across = new QHBoxLayout(r.row);
    across->setContentsMargins(0, 2, 0, 2);
    r.mark = new QLabel(r.row);
    r.mark->setObjectName("mission_goal_mark");
    r.mark->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    r.mark->setMinimumWidth(r.mark->fontMetrics().horizontalAdvance(QChar(0x25D0)) + 4);
    auto* down = new QVBoxLayout;
    down->setSpacing(1);
    const auto line = [&](const char* name) {
        auto* l = new QLabel(r.row);
        l->setObjectName(name);
        l->setTextFormat(Qt::PlainText);
        l->setWordWrap(true);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        down->addWidget(l);
        return l;
    };
    r.goal = line("mission_goal_text");
    r.words = line("mission_goal_words");
    r.figure = line("mission_goal_figure");
    // Each label reads as it shows; the row as a whole reads as one sentence.
    r.goal->setAccessibleDescription("Mission goal");
    r.words->setAccessibleDescription("The mission's words on the goal");
    r.figure->setAccessibleDescription("Where the goal stands");
    across->addWidget(r.mark, 0, Qt::AlignTop);
    across->addLayout(down, 1);
    goal_rows_->insertWidget(static_cast<int>(rows_.size()), r.row);
    return r;
}

// A goal's row: its mark, the goal as written, the author's words, and under them where its
// quantity stands while the run goes on and the figure once the goal is decided.
void MissionControl::show_goal(const GoalRow& r, size_t k) {
    const MissionGoal& goal = mission_->goals[k];
    const MissionWatch::GoalStatus s = watch_ ? watch_->status(k) : MissionWatch::GoalStatus{};
    const QString text = from_std(goal.text);
    const QString words = from_std(goal.describe);
    QStringList figures;
    if (following()) figures << from_std(watch_->progress(k));
    figures << from_std(s.figure);
    figures.removeAll(QString());
    const QString figure = figures.join('\n');
    const QString state = state_word(s.state);
    if (r.row->property("state").toString() != state) r.row->setProperty("state", state);
    r.mark->setText(mark(s.state));
    // A screen reader hears a change of these: only when they change.
    if (r.mark->accessibleDescription() != "Goal " + state) {
        r.mark->setAccessibleDescription("Goal " + state);
    }
    r.goal->setText(text);
    r.words->setText(words);
    r.words->setVisible(!words.isEmpty());
    r.figure->setText(figure);
    r.figure->setVisible(!figure.isEmpty());
    // Said as one sentence: where the quantity stands now is left to the figure's own label,
    // which would otherwise have the whole sentence said again at every refresh.
    QString spoken = state + ": " + text;
    for (const QString& part : {words, from_std(s.figure)}) {
        if (!part.isEmpty()) spoken += (spoken.endsWith('.') ? " " : ". ") + part;
    }
    if (r.row->accessibleName() != spoken) r.row->setAccessibleName(spoken);
}

// ---- the run ----

// The program clock stands still while the run is paused (RunControl keeps a paused run on it),
// and a moment of the run's past put back sets it to that moment's time.
int64_t MissionControl::mission_ms() const {
    return int64_t{run_control_->clock_now()} - start_ms_ - paused_total_ms_;
}

void MissionControl::set_time_limit() {
    const int64_t limit =
        int64_t{start_ms_} + paused_total_ms_ + std::llround(mission_->time_s * 1000);
    run_control_->set_time_limit(static_cast<int32_t>(std::min<int64_t>(limit, INT32_MAX)));
}

void MissionControl::run_state_changed(RunControl::State state) {
    using State = RunControl::State;
    if (entries_ != nullptr) {
        for (QAction* a : entries_->actions()) a->setEnabled(state == State::Idle);
        open_->setEnabled(state == State::Idle);
    }
    if (!running_ && state != State::Idle) {
        // A run put back at a moment of its past and reopened there has made statements; a
        // fresh one has not.
        if (reviewing_ && run_control_->steps() > 0) {
            go_on();
        } else {
            begin_run();
        }
    }
    if (!running_) return;
    if (state == State::Paused && !paused_) {
        tick();
        paused_ = true;
        paused_at_ms_ = clock_ms();
    } else if (state != State::Paused && paused_) {
        paused_ = false;
        paused_total_ms_ += int64_t{clock_ms()} - paused_at_ms_;
        set_time_limit();
    }
    if (state == State::Waiting) tick();
    if (state == State::Idle) end_run();
}

// RUN with a mission armed: its sensors where it sets them, the watch from the program clock's
// reading now, the run's end at the mission's time.
void MissionControl::begin_run() {
    stop_reviewing();
    lines_seen_ = 0;
    needle_lines_.clear();
    if (!mission_) return;
    if (simulation_->chosen() != simulation_choice_) {
        // The simulation was changed after the mission was chosen: this run is not the
        // mission's, and the mission is put away rather than judged in another world.
        const QString title = from_std(mission_->title);
        choose_none();
        emit status("Mission " + title + " put away: the simulation was changed after it.");
        return;
    }
    // The machine the runner starts a mission on, whatever the last run left: the coils and
    // the CPU speed at their start, A to Z at 0; then the mission's sensors.
    for (Channel c : program_channels()) channel_set(c, info_of(c).start);
    for (int k = 0; k < VARIABLE_COUNT; ++k) var_set(k, 0.0);
    for (const auto& [channel, position] : mission_->settings) channel_set(channel, position);
    start_ms_ = clock_ms();
    paused_total_ms_ = 0;
    paused_ = false;
    next_event_ = 0;
    shown_second_ = -1;
    running_ = true;
    const double min_elevation =
        simulation.on ? simulation.preset.station_min_elevation_deg
                      : SimPreset{}.station_min_elevation_deg;
    watch_.emplace(*mission_, min_elevation);
    set_time_limit();
    watch_->sample(trace_snapshot(0, -1));
    tick();
    run_control_->set_statement_watch(this, [this] { tick(); });
    result_->clear();
    dock_->show();
    show_goals();
    refresh_->start();
}

void MissionControl::tick() {
    // Within a DELAY on the program clock the goals would see a moment the runner never sees.
    // After the run, only statements run again for a moment of its history come here.
    if (!(running_ || reviewing_) || !run_control_->at_statement_moment()) return;
    const int64_t now = mission_ms();
    bool moved = false;
    while (next_event_ < events_.size() && events_[next_event_].time_ms <= now) {
        const ScenarioEvent& e = events_[next_event_++];
        channel_set(e.channel, e.position);
        moved = true;
    }
    if (running_ && (moved || !event_timer_->isActive())) schedule_next_event();
    if (!watch_) return;
    watch_->offer(trace_snapshot(now, current_line()));
}

void MissionControl::schedule_next_event() {
    if (next_event_ >= events_.size() || paused_) {
        event_timer_->stop();
        return;
    }
    const int64_t due = events_[next_event_].time_ms - mission_ms();
    event_timer_->start(static_cast<int>(std::clamp<int64_t>(due, 0, 60000)));
}

void MissionControl::end_run() {
    refresh_->stop();
    event_timer_->stop();
    tick();
    const int64_t end = mission_ms();
    running_ = false;
    paused_ = false;
    run_control_->set_time_limit(std::nullopt);
    if (!watch_) {
        run_control_->set_statement_watch(nullptr, nullptr);
        return;
    }
    // The watch stays on the statements for the moments of the run shown afterwards.
    reviewing_ = true;
    const TraceSnapshot s = trace_snapshot(end, -1);
    watch_->sample(s);
    watch_->finish(end);
    final_watch_ = watch_;
    final_step_ = run_control_->steps();
    final_left_ms_ = std::llround(mission_->time_s * 1000) - end;
    shown_second_ = -1;
    show_goals();

    const double met = watch_->met_weight();
    const double total = watch_->total_weight();
    const QString score =
        QStringLiteral("Score %1/%2 (%3 %)")
            .arg(from_std(mission_number(met)), from_std(mission_number(total)))
            .arg(total > 0 ? std::lround(100 * met / total) : 0);
    QStringList missed;
    for (size_t k = 0; k < watch_->goal_count(); ++k) {
        const MissionWatch::GoalStatus st = watch_->status(k);
        if (st.state != MissionWatch::State::Missed) continue;
        missed << from_std(mission_->goals[k].text) + ": " + from_std(st.figure);
    }
    QString result = score;
    if (!missed.isEmpty()) result += "\nMissed: " + missed.join("\n");
    result_->setText(result);
    const QString title = from_std(mission_->title);
    emit status(missed.isEmpty()
                    ? QStringLiteral("Mission %1: every goal met. %2").arg(title, score)
                    : QStringLiteral("Mission %1: %2 missed (%3). %4")
                          .arg(title,
                               missed.size() == 1 ? QStringLiteral("1 goal")
                                                  : QStringLiteral("%1 goals").arg(missed.size()),
                               missed.join("; "), score));
}

// ---- the run's history ----

void MissionControl::line_printed(std::string_view line) {
    if (!running_) return;
    // Lines of a future the run has gone back before are no longer its lines.
    while (!needle_lines_.empty() &&
           needle_lines_.back().index >= run_control_->printed_lines() - 1) {
        needle_lines_.pop_back();
    }
    // The run control counts the line before it tells of it.
    const long long index = run_control_->printed_lines() - 1;
    for (const MissionGoal& g : mission_->goals) {
        if (g.kind == MissionGoal::Kind::OutputContains &&
            line.find(g.needle) != std::string_view::npos) {
            needle_lines_.push_back({index, std::string(line)});
            break;
        }
    }
    lines_seen_ = index + 1;
    watch_->output_line(line);
}

// After the run, the history keeps a snapshot where the run is taken up again.
std::any MissionControl::keep() {
    if (!(running_ || reviewing_) || !watch_) return {};
    return MissionMoment{*watch_, next_event_, paused_total_ms_, lines_seen_};
}

void MissionControl::put_back(const std::any& kept) {
    const auto* m = std::any_cast<MissionMoment>(&kept);
    if (m == nullptr || !(running_ || reviewing_)) return;
    watch_ = m->watch;
    next_event_ = m->next_event;
    paused_total_ms_ = m->paused_total_ms;
    lines_seen_ = m->lines_seen;
}

std::size_t MissionControl::kept_bytes() const {
    return (running_ || reviewing_) && watch_
               ? sizeof(MissionMoment) - sizeof(MissionWatch) + watch_->bytes()
               : 0;
}

void MissionControl::show_moment(const RunMoment& moment) {
    if (!mission_ || !watch_ || !(running_ || reviewing_)) return;
    // The statements run again printed nothing: the lines they printed the first time.
    for (const NeedleLine& l : needle_lines_) {
        if (l.index >= lines_seen_ && l.index < moment.output_lines) watch_->output_line(l.text);
    }
    lines_seen_ = moment.output_lines;
    if (!running_ && moment.step == final_step_ && final_watch_) {
        // The run's end again: its verdict.
        watch_ = final_watch_;
    } else {
        // The machine as the next statement finds it, as a pause there would have shown it.
        tick();
    }
    if (paused_) paused_at_ms_ = clock_ms();
    shown_second_ = -1;
    show_goals();
}

// The last mission run's watch no longer follows the statements.
void MissionControl::stop_reviewing() {
    if (reviewing_) run_control_->set_statement_watch(nullptr, nullptr);
    reviewing_ = false;
    final_watch_.reset();
}

void MissionControl::go_on() {
    reviewing_ = false;
    final_watch_.reset();
    running_ = true;
    paused_ = run_control_->state() == RunControl::State::Paused;
    paused_at_ms_ = clock_ms();
    set_time_limit();
    run_control_->set_statement_watch(this, [this] { tick(); });
    result_->clear();
    dock_->show();
    shown_second_ = -1;
    show_goals();
    refresh_->start();
}
