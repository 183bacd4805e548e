// Tfmain's File > Examples and the lessons among them. An example opens as an untitled copy of
// its text; a lesson (an example with a set-up file beside it) also sets up its simulation and
// mission, as the Simulation menu would, and shows its instructions and tasks in the Lesson
// pane. A program opened from a file sets up nothing.
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QTimer>
#include <iterator>

#include "Ucompiler.h"
#include "error_display.h"
#include "lesson_pane.h"
#include "mission_control.h"
#include "run_control.h"
#include "simulation_control.h"

namespace {

// The first comment line of an example is its title; the file name stands in without one.
QString example_title(const QString& path, const QString& text) {
    const QString first = text.section('\n', 0, 0).trimmed();
    if (first.startsWith("//") && first.size() > 2) return first.mid(2).trimmed();
    return QFileInfo(path).completeBaseName().replace('_', ' ');
}

QString lesson_file(const QString& example) {
    const QFileInfo info(example);
    return info.path() + '/' + info.completeBaseName() + ".lesson";
}

// A lesson's mission, relative to the lesson. The lessons are resources under :/samples and the
// shipped missions under :/missions, where the Missions menu knows them.
QString mission_file(const QString& lesson, const std::string& mission) {
    QString path =
        QDir::cleanPath(QFileInfo(lesson).path() + '/' + QString::fromStdString(mission));
    const QString shipped = ":/samples/missions/";
    if (path.startsWith(shipped)) path = ":/missions/" + path.mid(shipped.size());
    return path;
}

}  // namespace

void Tfmain::build_examples_menu(QMenu* examples) {
    examples->setObjectName("menu_examples");
    QStringList paths;
    for (QDirIterator it(":/samples", {"*.bas"}, QDir::Files); it.hasNext();) paths << it.next();
    paths.sort();
    for (const QString& path : paths) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QString text = QString::fromLatin1(f.readAll()).replace("\r\n", "\n");
        const int k = static_cast<int>(examples_.size());
        examples_.push_back(
            {path, example_title(path, text), text, QFile::exists(lesson_file(path))});
        QAction* a = examples->addAction(examples_.back().title);
        a->setData(path);
        connect(a, &QAction::triggered, this, [this, k] { open_example_at(k); });
    }
    examples->setEnabled(!paths.isEmpty());
}

void Tfmain::build_lessons() {
    lesson_pane_ = new LessonPane(this);
    connect(lesson_pane_, &LessonPane::dockMade, this, &Tfmain::watch_dock);
    connect(lesson_pane_, &LessonPane::startWanted, this, [this] {
        const int first = next_lesson();
        if (first >= 0) open_example_at(first);
    });
    connect(lesson_pane_, &LessonPane::nextWanted, this, [this] {
        const int next = next_lesson();
        if (next >= 0) open_example_at(next);
    });
    connect(lesson_pane_, &LessonPane::openWanted, this, &Tfmain::bt_loadClick);
    connect(lesson_pane_, &LessonPane::helpWanted, this, [this] { show_help_page("index.html"); });
    connect(run_control, &RunControl::linePrinted, lesson_pane_, &LessonPane::output_line);
    // Another program in the editor: the lesson is no longer the one in front of the student.
    connect(document_, &ProgramDocument::replaced, this, [this] {
        example_ = -1;
        lesson_ = -1;
        lesson_pane_->clear_lesson(next_lesson_caption());
    });
}

// The lesson after the one shown, or the first when none is.
int Tfmain::next_lesson() const {
    for (int k = lesson_ + 1; k < static_cast<int>(examples_.size()); ++k) {
        if (examples_[k].lesson) return k;
    }
    return -1;
}

QString Tfmain::next_lesson_caption() const {
    if (next_lesson() < 0) return QString();
    return lesson_ < 0 ? QStringLiteral("Start with Lesson 1") : QStringLiteral("Next Lesson");
}

QString Tfmain::program_name() const {
    if (!document_->path().isEmpty()) return QFileInfo(document_->path()).completeBaseName();
    if (example_ >= 0) return QFileInfo(examples_[example_].path).completeBaseName();
    return QStringLiteral("untitled");
}

void Tfmain::open_example_at(int k) {
    const Example& e = examples_[k];
    if (!document_->open_example(e.title, e.text)) return;
    example_ = k;
    if (e.lesson) set_up_lesson(k);
}

// The run speed a lesson's runs go at: real time, or on the program clock `time_factor` times
// faster (0: without waits). Says which, after a space, when it is not real time.
QString Tfmain::choose_lesson_speed(int time_factor) {
    int chosen = 0;
    for (int i = 0; i < static_cast<int>(std::size(RUN_SPEEDS)); ++i) {
        if (RUN_SPEEDS[i].rate == 0 && RUN_SPEEDS[i].time_factor == time_factor) chosen = i;
    }
    cb_speed->setCurrentIndex(chosen);
    if (chosen == 0) return {};
    return " Run speed: " + QString::fromUtf8(RUN_SPEEDS[chosen].text) + ".";
}

// The lesson's world as the Simulation menu would set it, then its page in the Lesson pane. A
// run keeps the world it started in: opened during one, the lesson sets up nothing.
void Tfmain::set_up_lesson(int k) {
    const Example& e = examples_[k];
    const QString file = lesson_file(e.path);
    QFile f(file);
    const QByteArray bytes =
        f.open(QIODevice::ReadOnly) ? f.read(MAX_LESSON_FILE_BYTES) : QByteArray();
    const LessonRead read = lesson_parse(bytes.toStdString());
    if (read.error_line != 0) {
        show_error(QStringLiteral("%1:%2: %3")
                       .arg(file)
                       .arg(read.error_line)
                       .arg(QString::fromStdString(read.error)));
        return;
    }
    const Lesson& lesson = read.lesson;
    lesson_ = k;
    LessonPane::Shown shown;
    shown.title = e.title;
    const LessonText text = lesson_text(e.text.toStdString());
    for (const std::string& p : text.paragraphs) shown.paragraphs << QString::fromStdString(p);
    shown.tasks = lesson.tasks;

    QString said;
    if (run_control->state() != RunControl::State::Idle) {
        said =
            "The run goes on in its own simulation: open the lesson again after STOP to set "
            "it up.";
    } else if (!lesson.mission.empty()) {
        if (mission_->choose_file(mission_file(file, lesson.mission))) {
            const Mission* m = mission_->armed();
            for (const MissionGoal& g : m->goals) shown.goals << QString::fromStdString(g.text);
            const QString sim = simulation_->caption().isEmpty()
                                    ? QStringLiteral("Simulation off.")
                                    : "Simulation: " + simulation_->caption() + ".";
            shown.setup = sim + " Mission: " + QString::fromStdString(m->title) + "." +
                          choose_lesson_speed(lesson.time_factor);
            said = shown.setup + " RUN starts it.";
        } else {
            said = "Its mission could not be set up.";
        }
    } else {
        if (mission_->armed() != nullptr) mission_->choose_none();
        if (lesson.sim == "off") {
            simulation_->choose_off();
            shown.setup = "Simulation off: the sensor sliders are yours." +
                          choose_lesson_speed(lesson.time_factor);
            said = shown.setup;
        } else {
            simulation_->choose_shipped(QString::fromStdString(lesson.sim));
            shown.setup = "Simulation: " + simulation_->caption() + "." +
                          choose_lesson_speed(lesson.time_factor);
            said = shown.setup + " RUN starts it from its initial state.";
        }
    }
    lesson_pane_->show_lesson(shown, next_lesson_caption());
    // The Mission panel the lesson armed joins the Lesson pane's tabs once the window has laid
    // it out, on top; the lesson's page is what a student reads first.
    QTimer::singleShot(0, lesson_pane_->dock(), [dock = lesson_pane_->dock()] { dock->raise(); });
    set_status(e.title + ". " + said);
}
