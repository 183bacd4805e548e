#include "lesson_pane.h"

#include <QAction>
#include <QDockWidget>
#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QSettings>
#include <QStackedWidget>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const char* const WELCOME_KEY = "welcome_dismissed";

// Narrow enough to leave the editor its columns, wide enough for a sentence a line.
constexpr int DOCK_WIDTH = 300;

QSettings user_settings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "zorvant", "zorvant");
}

QString from_std(const std::string& s) {
    return QString::fromStdString(s);
}

QLabel* wrapped_label(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    // A lesson's words are shown as written, never as markup.
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

QLabel* heading(const char* name, QWidget* parent) {
    QLabel* label = wrapped_label(name, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QPushButton* button(const char* name, const QString& caption, const QString& accessible,
                    QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAccessibleName(accessible);
    return b;
}

// The paragraphs as the browser shows them: each label ("Try:") in bold, the rest as written.
QString instructions_html(const QStringList& paragraphs) {
    QString html;
    for (const QString& p : paragraphs) {
        const std::string text = p.toStdString();
        const qsizetype label = static_cast<qsizetype>(lesson_label_length(text));
        html += "<p>";
        if (label > 0) html += "<b>" + p.left(label).toHtmlEscaped() + "</b>";
        html += p.mid(label).toHtmlEscaped() + "</p>";
    }
    return html;
}

}  // namespace

LessonPane::LessonPane(QMainWindow* window)
    : QObject(window), window_(window), view_(new QAction(this)) {
    view_->setText("&Lesson");
    view_->setObjectName("act_lesson");
    view_->setCheckable(true);
    connect(view_, &QAction::triggered, this, [this](bool shown) {
        if (shown) {
            show_dock();
        } else if (dock_ != nullptr) {
            dock_->close();
        }
    });
}

bool LessonPane::welcome_dismissed() {
    return user_settings().value(WELCOME_KEY, false).toBool();
}

void LessonPane::set_welcome_dismissed(bool dismissed) {
    user_settings().setValue(WELCOME_KEY, dismissed);
}

// ---- the dock ----

void LessonPane::build_dock() {
    if (dock_ != nullptr) return;
    dock_ = new QDockWidget("Lesson", window_);
    dock_->setObjectName("lesson_dock");
    pages_ = new QStackedWidget(dock_);
    pages_->setObjectName("lesson_pages");
    // Dark text on white, as in the Mission panel, whatever the window's own colours.
    pages_->setStyleSheet(
        "#lesson_pages { background-color: white; } "
        "QLabel { color: black; background: transparent; }");
    pages_->setAttribute(Qt::WA_StyledBackground);
    welcome_page_ = build_welcome_page();
    lesson_page_ = build_lesson_page();
    pages_->addWidget(welcome_page_);
    pages_->addWidget(lesson_page_);
    pages_->setCurrentWidget(lesson_page_);
    dock_->setWidget(pages_);
    dock_->installEventFilter(this);
    refresh();
    // Where it was at the last close; else at the side, beside the other panes.
    if (!window_->restoreDockWidget(dock_)) {
        window_->addDockWidget(Qt::RightDockWidgetArea, dock_);
        window_->resizeDocks({dock_}, {DOCK_WIDTH}, Qt::Horizontal);
    }
    // The dock's own close button unticks View > Lesson.
    connect(dock_->toggleViewAction(), &QAction::toggled, view_, &QAction::setChecked);
    emit dockMade(dock_);
}

QWidget* LessonPane::build_welcome_page() {
    auto* page = new QWidget(pages_);
    page->setObjectName("welcome_page");
    auto* rows = new QVBoxLayout(page);
    QLabel* title = heading("welcome_title", page);
    title->setText("Welcome");
    QLabel* text = wrapped_label("welcome_text", page);
    text->setText(
        "Type a program in a small BASIC, press RUN and watch it fly a simulated satellite.\n\n"
        "The lessons teach it step by step. Each one sets up its own simulation and shows "
        "here what to do; all of them are under File > Examples.");
    QPushButton* start =
        button("welcome_start", "Start with Lesson 1", "Start with Lesson 1", page);
    QPushButton* open = button("welcome_open", "Open a Program...", "Open a program", page);
    QPushButton* help = button("welcome_help", "Help", "Help: the language reference", page);
    rows->addWidget(title);
    rows->addWidget(text);
    rows->addSpacing(8);
    rows->addWidget(start);
    rows->addWidget(open);
    rows->addWidget(help);
    rows->addStretch(1);
    connect(start, &QPushButton::clicked, this, [this] {
        leave_welcome();
        emit startWanted();
    });
    connect(open, &QPushButton::clicked, this, [this] {
        leave_welcome();
        dock_->close();
        emit openWanted();
    });
    connect(help, &QPushButton::clicked, this, [this] {
        leave_welcome();
        dock_->close();
        emit helpWanted();
    });
    return page;
}

QWidget* LessonPane::build_lesson_page() {
    auto* page = new QWidget(pages_);
    page->setObjectName("lesson_page");
    auto* rows = new QVBoxLayout(page);
    title_ = heading("lesson_title", page);
    setup_ = wrapped_label("lesson_setup", page);
    text_ = new QTextBrowser(page);
    text_->setObjectName("lesson_text");
    text_->setAccessibleName("Lesson instructions");
    text_->setOpenLinks(false);
    tasks_ = new QListWidget(page);
    tasks_->setObjectName("lesson_tasks");
    tasks_->setAccessibleName("Lesson tasks");
    tasks_->setWordWrap(true);
    tasks_->setSelectionMode(QAbstractItemView::NoSelection);
    next_ = button("lesson_next", "Next Lesson", "Next lesson", page);
    rows->addWidget(title_);
    rows->addWidget(setup_);
    rows->addWidget(text_, 3);
    rows->addWidget(tasks_, 2);
    rows->addWidget(next_);
    connect(next_, &QPushButton::clicked, this, &LessonPane::nextWanted);
    return page;
}

void LessonPane::show_dock() {
    build_dock();
    dock_->show();
    dock_->raise();
    view_->setChecked(true);
}

// Closing the pane while it welcomes dismisses the welcome too.
bool LessonPane::eventFilter(QObject* watched, QEvent* event) {
    if (watched == dock_ && event->type() == QEvent::Close &&
        pages_->currentWidget() == welcome_page_) {
        leave_welcome();
    }
    return QObject::eventFilter(watched, event);
}

// ---- the pages ----

void LessonPane::show_welcome() {
    build_dock();
    pages_->setCurrentWidget(welcome_page_);
    dock_->setWindowTitle("Welcome");
    show_dock();
}

void LessonPane::leave_welcome() {
    set_welcome_dismissed(true);
    pages_->setCurrentWidget(lesson_page_);
    dock_->setWindowTitle("Lesson");
}

void LessonPane::show_lesson(const Shown& lesson, const QString& next) {
    shown_ = lesson;
    next_caption_ = next;
    printed_.clear();
    for (const LessonTask& t : shown_.tasks) printed_.emplace_back(t.expect.size(), false);
    build_dock();
    if (pages_->currentWidget() == welcome_page_) leave_welcome();
    refresh();
    show_dock();
}

void LessonPane::clear_lesson(const QString& next) {
    shown_ = Shown{};
    next_caption_ = next;
    printed_.clear();
    refresh();
}

// The lesson page as the lesson shown, or as no lesson.
void LessonPane::refresh() {
    if (dock_ == nullptr) return;
    if (shown_.title.isEmpty()) {
        title_->setText("No lesson open");
        text_->setHtml(instructions_html(
            {"The lessons are under File > Examples. Each one sets up its simulation and "
             "shows here what to do."}));
    } else {
        title_->setText(shown_.title);
        text_->setHtml(instructions_html(shown_.paragraphs));
    }
    setup_->setText(shown_.setup);
    setup_->setVisible(!shown_.setup.isEmpty());
    show_tasks();
    next_->setText(next_caption_.isEmpty() ? QStringLiteral("Next Lesson") : next_caption_);
    next_->setEnabled(!next_caption_.isEmpty());
}

std::vector<bool> LessonPane::tasks_met() const {
    std::vector<bool> met;
    for (const std::vector<bool>& lines : printed_) {
        met.push_back(std::all_of(lines.begin(), lines.end(), [](bool b) { return b; }));
    }
    return met;
}

void LessonPane::output_line(std::string_view line) {
    bool changed = false;
    for (size_t t = 0; t < printed_.size(); ++t) {
        for (size_t k = 0; k < printed_[t].size(); ++k) {
            if (printed_[t][k] || line.find(shown_.tasks[t].expect[k]) == std::string_view::npos) {
                continue;
            }
            printed_[t][k] = true;
            changed = true;
        }
    }
    if (changed) show_tasks();
}

// Each task with its mark: done, to do, or (without a check) a bullet; under it, the lines the
// output must show. Then the mission's goals, which the Mission panel follows.
void LessonPane::show_tasks() {
    if (tasks_ == nullptr) return;
    tasks_->clear();
    const std::vector<bool> met = tasks_met();
    for (size_t t = 0; t < shown_.tasks.size(); ++t) {
        const LessonTask& task = shown_.tasks[t];
        const QString text = from_std(task.text);
        QString shown = text;
        QString said = text;
        if (!task.expect.empty()) {
            QStringList lines;
            for (const std::string& e : task.expect) lines << "\u201C" + from_std(e) + "\u201D";
            shown += "\n     Prints " + lines.join(", ");
            said = (met[t] ? "done: " : "to do: ") + text + ". Prints " + lines.join(", ");
        }
        const QString mark = task.expect.empty() ? "\u2022" : met[t] ? "\u2713" : "\u25CB";
        auto* item = new QListWidgetItem(mark + "  " + shown, tasks_);
        item->setData(Qt::AccessibleTextRole, said);
    }
    for (const QString& goal : shown_.goals) {
        auto* item = new QListWidgetItem("\u25CE  Mission goal: " + goal, tasks_);
        item->setData(Qt::AccessibleTextRole, "Mission goal: " + goal);
    }
}
