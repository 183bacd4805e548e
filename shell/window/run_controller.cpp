// RUN, PAUSE, STEP and STOP. The run control owns the loop and the run state; the handlers
// forward to it, and the buttons mirror its state.
#include <malloc.h>

#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <algorithm>
#include <cmath>

#include "Ucompiler.h"
#include "code_editor.h"
#include "device_panel_box.h"
#include "interp.h"
#include "run_control.h"

namespace {

// Output lines above which the memory given back after a run is worth the time it takes.
constexpr int OUTPUT_LINES_WORTH_A_TRIM = 10000;

}  // namespace

// The editor's lines as 8-bit text. A character without an 8-bit form becomes '?' there, and
// its line goes into `foreign_lines`: such a line must not run as something it does not say.
std::vector<std::string> Tfmain::editor_lines(std::vector<int>& foreign_lines) const {
    std::vector<std::string> lines;
    const QTextDocument* doc = mcod->document();
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
bool Tfmain::fresh_start(bool paused) {
    const bool printed_a_lot = mdb->document()->blockCount() >= OUTPUT_LINES_WORTH_A_TRIM;
    mdb->clear();
    msrc->clear();
    if (printed_a_lot) give_back_memory();
    fresh_running_ = !paused;
    mcod->set_error_line(-1);
    for (int k = 0; k < VARIABLE_COUNT; ++k) shown_at_pause_[k] = var_get(k);
    mark_changed_variables();
    std::vector<int> foreign_lines;
    const std::vector<std::string> lines = editor_lines(foreign_lines);
    PreparedProgram prepared;
    start_telemetry();
    if (!run_control->start(lines, foreign_lines, paused, prepared)) {
        mdb->appendPlainText(QString::fromStdString(prepared.error));
        end_telemetry();  // nothing ran: the recording ends where it began
        return false;
    }
    QStringList program_lines;
    program_lines.reserve(static_cast<qsizetype>(prepared.program_lines.size()));
    for (const std::string& line : prepared.program_lines) {
        program_lines << QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
    }
    msrc->setPlainText(program_lines.join('\n'));
    return true;
}

void Tfmain::bt_runClick() {
    // A resume: the program goes on where it was, in the loop that already runs it.
    if (run_control->active()) {
        run_control->resume();
        return;
    }
    if (fresh_start(false)) run_loop();
}

void Tfmain::bt_stepClick() {
    if (run_control->active()) {
        run_control->step();
        return;
    }
    if (fresh_start(true)) run_loop();
}

void Tfmain::bt_pauseClick() {
    run_control->pause();
}

void Tfmain::bt_stopClick() {
    run_control->stop();
}

void Tfmain::run_loop() {
    run_control->run_loop();
}

// The buttons are the run state as the user sees it. RUN stays enabled once a run has been
// paused: a click on it then is a resume, which changes nothing while the program runs.
void Tfmain::run_state_changed(RunControl::State state) {
    using State = RunControl::State;
    const bool running = state == State::Running || state == State::Waiting;
    if (state == State::Paused) fresh_running_ = false;
    bt_run->setEnabled(!running || !fresh_running_);
    bt_pause->setEnabled(running);
    bt_stop->setEnabled(state != State::Idle);
    bt_step->setEnabled(!running);
    if (state == State::Paused) {
        recorder_.record_variables();
        refresh_telemetry();
        mark_changed_variables();  // refreshes the panel too
        mcod->set_current_line(current_line());
    } else if (run_control->rate() == 0 || run_control->rate() > 10 || state == State::Idle) {
        mcod->set_current_line(-1);
    }
    if (state == State::Idle) end_run();
}

// The panels show the state before the next statement, and its line has the band.
void Tfmain::show_next_statement() {
    bt_showvarsClick();
    mcod->set_current_line(current_line());
}

// The variables that changed since the last pause (or since RUN) stand out until the next.
void Tfmain::mark_changed_variables() {
    bt_showvarsClick();
    for (int k = 0; k < VARIABLE_COUNT; ++k) {
        const double now = var_get(k);
        const double before = shown_at_pause_[k];
        const bool changed = !(now == before || (std::isnan(now) && std::isnan(before)));
        QLabel* label = variable_labels[k];
        // A new style sheet costs a restyle: only when the mark really changes.
        if (label->property("changed").toBool() != changed) {
            label->setStyleSheet(changed ? "color: white; font-weight: bold; background: black;"
                                         : "color: yellow; background: black;");
            label->setProperty("changed", changed);
        }
        shown_at_pause_[k] = now;
    }
}

void Tfmain::toggle_breakpoint_at_caret() {
    mcod->toggle_breakpoint(mcod->textCursor().blockNumber());
}

// Without breakpoints the run loop asks nothing before a statement.
void Tfmain::breakpoints_changed() {
    if (mcod->has_breakpoints()) {
        run_control->hold_before = [this](int line) { return mcod->has_breakpoint(line); };
    } else {
        run_control->hold_before = nullptr;
    }
}

void Tfmain::cb_speedChange() {
    run_control->set_rate(cb_speed->currentData().toInt());
}

// A double click on "ERROR in line: N" in the output takes the caret to line N.
bool Tfmain::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::EnabledChange:
            mirror_button_state(watched);
            break;
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            if (take_dropped_file(event)) return true;
            break;
        default:
            break;
    }
    if (watched == mdb->viewport() && event->type() == QEvent::ToolTip) {
        explain_output_line(static_cast<QHelpEvent*>(event));
        return true;
    }
    if (watched == mdb->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        const auto* click = static_cast<QMouseEvent*>(event);
        jump_to_reported_line(mdb->cursorForPosition(click->position().toPoint()).block().text());
    }
    return QMainWindow::eventFilter(watched, event);
}

void Tfmain::jump_to_reported_line(const QString& output_line) {
    static const QString prefix = QStringLiteral("ERROR in line: ");
    if (!output_line.startsWith(prefix)) return;
    bool ok = false;
    const int line = output_line.mid(prefix.size()).toInt(&ok);
    const QTextBlock block = mcod->document()->findBlockByNumber(line);
    if (!ok || !block.isValid()) return;
    mcod->setTextCursor(QTextCursor(block));
    mcod->ensureCursorVisible();
    mcod->setFocus();
}

void Tfmain::end_run() {
    end_telemetry();
    // The panel shows where the run left the channels, now.
    GroupBox1->flush();
    mark_changed_variables();
    if (interp.error_reported && interp.error_line >= 0) mcod->set_error_line(interp.error_line);
    set_status(QStringLiteral("Stop in line: %1").arg(current_line()));
    if (mdb->document()->blockCount() >= OUTPUT_LINES_WORTH_A_TRIM) give_back_memory();
}

// A long run leaves the memory of the lines that left the output pane free but still held by
// the process; the system gets it back, so the window is as small after a run as its pane.
// That takes tens of milliseconds, worth it only after a run that printed a lot.
void Tfmain::give_back_memory() {
    malloc_trim(0);
}
