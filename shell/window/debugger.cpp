#include "debugger.h"

#include <malloc.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "code_editor.h"
#include "device_panel_box.h"
#include "dialog_seams.h"
#include "explain.h"
#include "format.h"
#include "interp.h"
#include "output_pane.h"
#include "run_session.h"
#include "variable_editor.h"

std::function<void(const QString& caption, const QString& text)> math_error_seam;
std::function<void(QMessageBox& box)> math_box_seam;

namespace {

// Output lines above which the memory given back after a run is worth the time it takes.
constexpr int OUTPUT_LINES_WORTH_A_TRIM = 10000;

// A long run leaves the memory of the lines that left the output pane free but still held by
// the process; the system gets it back, so the window is as small after a run as its pane.
// That takes tens of milliseconds, worth it only after a run that printed a lot.
void give_back_memory() {
    malloc_trim(0);
}

// A variable's label, marked when it changed; with the keyboard focus (while paused, to edit the
// value) it has a white frame.
void set_variable_style(QLabel* label, bool changed) {
    label->setStyleSheet(changed ? "QLabel { color: white; font-weight: bold; background: black; "
                                   "border: 1px solid black; } QLabel:focus { border-color: white; }"
                                 : "QLabel { color: yellow; background: black; "
                                   "border: 1px solid black; } QLabel:focus { border-color: white; }");
}

void queue_output(std::string_view line, void* run_control) {
    static_cast<RunControl*>(run_control)->queue_output(line);
}

}  // namespace

Debugger::Debugger(const DebuggerControls& controls, QWidget* window)
    : QObject(window),
      controls_(controls),
      window_(window),
      output_pane_(new OutputPane(controls.output, controls.editor, this)),
      run_control_(new RunControl(
          [pane = output_pane_](const QString& lines, const std::vector<ReportAt>& reports) {
              pane->append(lines, reports);
          },
          this)) {
    session_install({queue_output, run_control_,
                     [](std::string_view text, void* self) {
                         static_cast<Debugger*>(self)->show_math_error(QString::fromLatin1(
                             text.data(), static_cast<qsizetype>(text.size())));
                     },
                     this, nullptr,
                     [](const RunReport& report, void* self) {
                         static_cast<Debugger*>(self)->take_report(report);
                     },
                     this});
    connect(run_control_, &RunControl::stateChanged, this, &Debugger::run_state_changed);
    connect(run_control_, &RunControl::stepped, this, &Debugger::show_next_statement);
    connect(controls_.editor, &CodeEditor::breakpointsChanged, this,
            &Debugger::breakpoints_changed);
    if (controls_.explanation != nullptr) {
        connect(controls_.explanation, &QLabel::linkActivated, this, &Debugger::helpRequested);
    }
    if (controls_.explanation_more != nullptr) {
        connect(controls_.explanation_more, &QPushButton::toggled, this,
                &Debugger::show_explanation);
    }
    // The count of quiet math errors reaches the status bar a few times a second, however
    // many a loop makes.
    math_status_timer_ = new QTimer(this);
    math_status_timer_->setSingleShot(true);
    math_status_timer_->setInterval(100);
    connect(math_status_timer_, &QTimer::timeout, this,
            [this] { emit status(math_messages_text()); });
    for (QLabel* label : controls_.variables) {
        set_variable_style(label, false);
        label->setProperty("changed", false);
    }
    variable_editor_ = new VariableEditor(controls_.variables, this);
    connect(variable_editor_, &VariableEditor::valueChanged, this, [this](int k) {
        // An edited value is what the user set, not a change the program made.
        shown_at_pause_[k] = var_get(k);
        mark_changed_variables();
    });
}

Debugger::~Debugger() {
    session_uninstall();
}

// ---- starting and driving a run ----

// The editor's lines as 8-bit text. A character without an 8-bit form becomes '?' there, and
// its line goes into `foreign_lines`: such a line must not run as something it does not say.
std::vector<std::string> Debugger::editor_lines(std::vector<int>& foreign_lines) const {
    std::vector<std::string> lines;
    const QTextDocument* doc = controls_.editor->document();
    lines.reserve(static_cast<size_t>(doc->blockCount()));
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        const QString text = b.text();
        if (std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() > 0xFF; })) {
            foreign_lines.push_back(b.blockNumber());
        }
        lines.push_back(text.toLatin1().toStdString());
    }
    return lines;
}

// A fresh start of the editor's program: the output cleared, the text prepared, the buttons
// switched. False when the program cannot run; the output pane then says why.
bool Debugger::fresh_start(bool paused) {
    QPlainTextEdit* output = controls_.output;
    const bool printed_a_lot = output->document()->blockCount() >= OUTPUT_LINES_WORTH_A_TRIM;
    output->clear();
    controls_.program_copy->clear();
    if (printed_a_lot) give_back_memory();
    fresh_running_ = !paused;
    math_errors_ = 0;
    math_quiet_ = false;
    math_status_timer_->stop();
    controls_.editor->set_error_line(-1);
    stop_reports_.clear();
    output_pane_->run_started();
    if (controls_.explanation_box != nullptr) controls_.explanation_box->hide();
    for (int k = 0; k < VARIABLE_COUNT; ++k) shown_at_pause_[k] = var_get(k);
    mark_changed_variables();
    std::vector<int> foreign_lines;
    const std::vector<std::string> lines = editor_lines(foreign_lines);
    PreparedProgram prepared;
    emit runStarting();
    run_revision_ = controls_.editor->document()->revision();
    if (!run_control_->start(lines, foreign_lines, paused, prepared)) {
        output_pane_->append_report(prepared.report);
        emit runEnded();  // nothing ran
        return false;
    }
    QStringList program_lines;
    program_lines.reserve(static_cast<qsizetype>(prepared.program_lines.size()));
    for (const std::string& line : prepared.program_lines) {
        program_lines << QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
    }
    controls_.program_copy->setPlainText(program_lines.join('\n'));
    return true;
}

// A run that has ended goes on from its past when the user went back into it after the end,
// and only while the editor holds the program it ran: after an edit, or a STOP in the past,
// RUN and STEP start the program as it is now.
bool Debugger::past_to_go_on_from() {
    if (!in_past()) return false;
    if (run_control_->active()) return true;
    if (went_back_after_end_ && controls_.editor->document()->revision() == run_revision_) {
        return true;
    }
    run_control_->forget_history();
    return false;
}

void Debugger::run() {
    // From a moment of the past (of a paused run, or of one that has ended), the run goes on
    // from there once what came after it may be forgotten.
    if (past_to_go_on_from()) {
        if (resume_here()) run_control_->resume();
        return;
    }
    // A resume: the program goes on where it was, in the loop that already runs it.
    if (run_control_->active()) {
        run_control_->resume();
        return;
    }
    if (fresh_start(false)) run_control_->run_loop();
}

void Debugger::step() {
    // In the past, STEP goes forward through the run as it was, slider moves included; after
    // an edit there, the run takes another way from that moment on.
    if (past_to_go_on_from()) {
        if (!run_control_->changed_since_seek()) {
            seek_step(moment().step + 1);
        } else if (resume_here()) {
            run_control_->step();
        }
        return;
    }
    if (run_control_->active()) {
        run_control_->step();
        return;
    }
    if (fresh_start(true)) run_control_->run_loop();
}

void Debugger::pause() {
    run_control_->pause();
}

void Debugger::stop() {
    run_control_->stop();
}

void Debugger::set_speed(const RunSpeed& speed) {
    run_control_->set_speed(speed);
}

// ---- what the window shows of a run ----

// The buttons are the run state as the user sees it. RUN stays enabled once a run has been
// paused: a click on it then is a resume, which changes nothing while the program runs.
void Debugger::run_state_changed(RunControl::State state) {
    using State = RunControl::State;
    const bool running = state == State::Running || state == State::Waiting;
    if (state == State::Paused) fresh_running_ = false;
    controls_.run->setEnabled(!running || !fresh_running_);
    controls_.pause->setEnabled(running);
    controls_.stop->setEnabled(state != State::Idle);
    controls_.step->setEnabled(!running);
    variable_editor_->set_editable(state == State::Paused);
    if (state == State::Paused) {
        emit paused();
        mark_changed_variables();  // refreshes the panel too
        controls_.editor->set_current_line(current_line());
    } else if (run_control_->rate() == 0 || run_control_->rate() > 10 || state == State::Idle) {
        controls_.editor->set_current_line(-1);
    }
    if (state == State::Idle) end_run();
}

// The panels show the state before the next statement, and its line has the band.
void Debugger::show_next_statement() {
    show_variables();
    controls_.editor->set_current_line(current_line());
}

void Debugger::show_variables() {
    for (int k = 0; k < VARIABLE_COUNT; ++k) {
        char text[FORMAT_BUFFER_SIZE];
        format_value(var_get(k), text);
        controls_.variables[k]->setText(
            QStringLiteral("%1: %2").arg(QChar('A' + k)).arg(QString::fromLatin1(text)));
    }
}

// The variables that changed since the last pause (or since RUN) stand out until the next.
void Debugger::mark_changed_variables() {
    show_variables();
    for (int k = 0; k < VARIABLE_COUNT; ++k) {
        const double now = var_get(k);
        const double before = shown_at_pause_[k];
        const bool changed = !(now == before || (std::isnan(now) && std::isnan(before)));
        QLabel* label = controls_.variables[k];
        // A new style sheet costs a restyle: only when the mark really changes.
        if (label->property("changed").toBool() != changed) {
            set_variable_style(label, changed);
            label->setProperty("changed", changed);
        }
        shown_at_pause_[k] = now;
    }
}

void Debugger::end_run() {
    went_back_after_end_ = false;
    emit runEnded();
    // The panel shows where the run left the channels, now.
    controls_.device_panel->flush();
    mark_changed_variables();
    const RunReport& report = interp.report;
    if (interp.error_reported && report.line >= 0) {
        // The band goes where the failing statement began: a label search reports the line
        // where it ended, which is not where the student asked for the jump.
        controls_.editor->set_error_line(report.statement_line >= 0 ? report.statement_line
                                                                    : report.line);
        explain_the_stop();
    }
    math_status_timer_->stop();
    QString where = QStringLiteral("Stop in line: %1").arg(current_line());
    if (math_quiet_) where += QStringLiteral(", ") + math_messages_text();
    emit status(where);
    if (controls_.output->document()->blockCount() >= OUTPUT_LINES_WORTH_A_TRIM) {
        give_back_memory();
    }
}

// The plain words for the reports that stopped the run, under the output.
void Debugger::explain_the_stop() {
    QLabel* strip = controls_.explanation;
    if (strip == nullptr || stop_reports_.empty()) return;
    const std::string_view program(machine.program_store,
                                   static_cast<size_t>(std::max(0, interp.text_extent)));
    const std::string text = explain_stop(stop_reports_, program);
    if (text.empty()) return;
    // The first report is the one to fix; those after it follow from it.
    stop_cause_ = QString::fromStdString(explain_cause(stop_reports_.front(), program));
    stop_details_ = QString::fromStdString(text);
    if (controls_.explanation_more != nullptr) {
        const QSignalBlocker quiet(controls_.explanation_more);
        controls_.explanation_more->setChecked(false);
    }
    show_explanation();
    if (controls_.explanation_box != nullptr) controls_.explanation_box->show();
    // Once the strip has taken its room: the failing line and the report's lines in view.
    QTimer::singleShot(0, this, &Debugger::keep_the_stop_in_view);
}

void Debugger::show_explanation() {
    QLabel* strip = controls_.explanation;
    if (strip == nullptr) return;
    const auto html = [](const QString& text) {
        return text.toHtmlEscaped().replace('\n', "<br>");
    };
    const bool more =
        controls_.explanation_more != nullptr && controls_.explanation_more->isChecked();
    QString body = QStringLiteral("<p><b>%1</b></p>").arg(html(stop_cause_));
    if (more || controls_.explanation_more == nullptr) {
        body += QStringLiteral("<p>%1</p>").arg(html(stop_details_));
    }
    strip->setText(body + QStringLiteral("<p><a href=\"errors.html\">More about error "
                                         "reports</a></p>"));
    if (controls_.explanation_more != nullptr) {
        controls_.explanation_more->setText(more ? QStringLiteral("Less")
                                                 : QStringLiteral("More"));
    }
}

void Debugger::keep_the_stop_in_view() {
    controls_.editor->ensureCursorVisible();
    QScrollBar* bar = controls_.output->verticalScrollBar();
    bar->setValue(bar->maximum());
}

// A report as the run makes it: to the output queue, which hands it to the pane with its lines,
// and kept for the explanation when the run ends.
void Debugger::take_report(const RunReport& report) {
    run_control_->queue_report(report);
    if (stop_reports_.size() == 2) stop_reports_.erase(stop_reports_.begin());
    stop_reports_.push_back(report);
}

void Debugger::forget_stop() {
    if (run_control_->active()) return;
    run_control_->forget_history();
    stop_reports_.clear();
    stop_cause_.clear();
    stop_details_.clear();
    if (controls_.explanation_box != nullptr) controls_.explanation_box->hide();
}

// ---- the run's past ----

RunMoment Debugger::moment() const {
    return run_control_->history().position();
}

bool Debugger::in_past() const {
    return run_control_->history().in_past();
}

bool Debugger::can_step_back() const {
    const RunHistory& history = run_control_->history();
    const RunControl::State state = run_control_->state();
    return !history.empty() &&
           (state == RunControl::State::Paused || state == RunControl::State::Idle) &&
           history.position().step > history.first().step;
}

void Debugger::step_back() {
    if (can_step_back()) seek_step(moment().step - 1);
}

void Debugger::run_back() {
    if (can_step_back()) show_moment(run_control_->seek_back_to_hold());
}

void Debugger::seek_step(long long step) {
    show_moment(run_control_->seek_step(step));
}

void Debugger::seek_time(int32_t ms) {
    show_moment(run_control_->seek_time(ms));
}

void Debugger::show_moment(const std::optional<RunMoment>& moment) {
    if (!moment) return;
    const RunHistory& history = run_control_->history();
    output_pane_->show_undone_from(history.in_past() ? moment->output_lines
                                                     : history.last().output_lines);
    controls_.device_panel->flush();
    // The marks show what differs from the moment shown before.
    mark_changed_variables();
    const bool paused = run_control_->state() == RunControl::State::Paused;
    if (run_control_->state() == RunControl::State::Idle) went_back_after_end_ = true;
    controls_.editor->set_current_line(paused || history.in_past() ? current_line() : -1);
    const double seconds = (int64_t{moment->clock_ms} - run_control_->run_started_ms()) / 1000.0;
    const QString at = QStringLiteral("statement %L1 at %2 s").arg(moment->step).arg(seconds, 0, 'f', 3);
    emit status(history.in_past()
                    ? QStringLiteral("Back at %1 of the run. STEP goes forward as it went; RUN "
                                     "goes on from here.")
                          .arg(at)
                    : QStringLiteral("At the run's last moment: %1.").arg(at));
    emit momentShown(*moment);
}

bool Debugger::resume_here() {
    const RunHistory& history = run_control_->history();
    if (!history.in_past()) return false;
    const RunMoment from = history.position();
    const long long lines = history.last().output_lines - from.output_lines;
    const int changes = history.outside_changes_after(from.step);
    if (lines > 0 || changes > 0) {
        QMessageBox box(QMessageBox::Question,
                        QFileInfo(QCoreApplication::applicationFilePath()).fileName(),
                        QStringLiteral("Go on from here?"), QMessageBox::Yes | QMessageBox::No,
                        window_);
        box.setObjectName("resume_question");
        QStringList forgotten;
        if (lines > 0) {
            forgotten << (lines == 1 ? QStringLiteral("1 line of output")
                                     : QStringLiteral("%L1 lines of output").arg(lines));
        }
        if (changes > 0) {
            forgotten << (changes == 1 ? QStringLiteral("1 slider move or edit")
                                       : QStringLiteral("%L1 slider moves or edits").arg(changes));
        }
        box.setInformativeText(
            QStringLiteral("The run goes on from statement %L1. What it did after that is "
                           "forgotten: %2.")
                .arg(from.step)
                .arg(forgotten.join(QStringLiteral(" and "))));
        box.setDefaultButton(QMessageBox::No);
        if (exec_question(box) != QMessageBox::Yes) return false;
    }
    run_control_->drop_future();
    output_pane_->drop_undone();
    emit futureDropped(from);
    if (run_control_->state() != RunControl::State::Idle) return true;
    // A run that had ended is active again, paused at that moment: its end is undone.
    stop_reports_.clear();
    controls_.editor->set_error_line(-1);
    if (controls_.explanation_box != nullptr) controls_.explanation_box->hide();
    fresh_running_ = false;
    if (!run_control_->reopen_paused()) return false;
    controls_.editor->set_current_line(current_line());
    QTimer::singleShot(0, run_control_, &RunControl::run_loop);
    return true;
}

// ---- the variables ----

void Debugger::clear_variables() {
    if (run_control_->active()) return;
    for (int k = 0; k < VARIABLE_COUNT; ++k) {
        var_set(k, 0.0);
        shown_at_pause_[k] = 0.0;
    }
    mark_changed_variables();
}

// ---- breakpoints ----

void Debugger::toggle_breakpoint_at_caret() {
    CodeEditor* editor = controls_.editor;
    editor->toggle_breakpoint(editor->textCursor().blockNumber());
}

// Without breakpoints the run loop asks nothing before a statement.
void Debugger::breakpoints_changed() {
    CodeEditor* editor = controls_.editor;
    if (editor->has_breakpoints()) {
        run_control_->set_hold_before(editor,
                                      [editor](int line) { return editor->has_breakpoint(line); });
    } else {
        run_control_->clear_hold_before();
    }
}

// ---- math errors ----

QString Debugger::math_messages_text() const {
    return math_errors_ == 1 ? QStringLiteral("1 math message")
                             : QStringLiteral("%1 math messages").arg(math_errors_);
}

void Debugger::show_math_error(const QString& text) {
    ++math_errors_;
    // The user asked for no more boxes in this run: the status bar counts them instead.
    if (math_quiet_) {
        if (!math_status_timer_->isActive()) math_status_timer_->start();
        return;
    }
    run_control_->flush_output();
    const QString caption = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    if (math_error_seam) {
        math_error_seam(caption, text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, window_);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    // A math error inside an endless loop would bring the box back at once, again and again,
    // with no way to reach STOP behind it; so the box offers STOP itself. The statement still
    // completes, then the run ends as after any STOP.
    QPushButton* stop_button = box.addButton("STOP", QMessageBox::DestructiveRole);
    stop_button->setObjectName("math_stop");
    // Or the run goes on without boxes: a loop that knowingly divides by zero stays usable.
    auto* quiet = new QCheckBox("Do not show math messages again in this run", &box);
    quiet->setObjectName("math_quiet");
    box.setCheckBox(quiet);
    if (math_box_seam) {
        math_box_seam(box);
    } else {
        box.exec();
    }
    if (box.clickedButton() == stop_button) {
        stop();
    } else if (quiet->isChecked()) {
        math_quiet_ = true;
        emit status(math_messages_text());
    }
}
