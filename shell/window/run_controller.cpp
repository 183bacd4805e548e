// RUN, PAUSE and STOP. The enabled states of the buttons are the run state: STOP enabled means
// a program is active, PAUSE enabled means it is not paused. The run loop lives inside the RUN
// click and serves the window itself between statements.
#include <malloc.h>

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTimer>
#include <algorithm>

#include "Ucompiler.h"
#include "clock.h"
#include "code_editor.h"
#include "interp.h"
#include "radio.h"
#include "run_core.h"

namespace {

// Statements between two visits to the window's event queue while a program runs.
constexpr int PASSES_PER_PUMP = 101;

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

void Tfmain::bt_runClick() {
    if (bt_stop->isEnabled()) {
        // A resume: the program goes on where it was; nothing is prepared again.
        bt_pause->setEnabled(true);
    } else {
        mdb->clear();
        msrc->clear();
        give_back_memory();
        // Resets the transmitter, prepares the text and starts the interpreter on it.
        std::vector<int> foreign_lines;
        const std::vector<std::string> lines = editor_lines(foreign_lines);
        const PreparedProgram prepared = run_fresh_start(lines, foreign_lines);
        if (!prepared.ok) {
            mdb->appendPlainText(QString::fromStdString(prepared.error));
            return;
        }
        QStringList program_lines;
        program_lines.reserve(static_cast<qsizetype>(prepared.program_lines.size()));
        for (const std::string& line : prepared.program_lines) {
            program_lines << QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
        }
        msrc->setPlainText(program_lines.join('\n'));
        bt_run->setEnabled(false);
        bt_stop->setEnabled(true);
        bt_pause->setEnabled(true);
    }
    run_loop();
    end_run();
}

void Tfmain::bt_pauseClick() {
    bt_pause->setEnabled(false);
    bt_run->setEnabled(true);
}

void Tfmain::bt_stopClick() {
    bt_stop->setEnabled(false);
    bt_pause->setEnabled(false);
}

// One statement a pass at most. While statements run, the window is served every 101 passes;
// when none can run (paused, or waiting out a DELAY), the loop sleeps in the event queue until
// the resume time or the next event instead of spinning.
void Tfmain::run_loop() {
    ++active_loops_;
    int pump_counter = 0;
    while (!interp_finished() && bt_stop->isEnabled()) {
        const bool paused = !bt_pause->isEnabled();
        if (!run_pass(paused)) {
            flush_output();
            wait_for_events_until_resume(paused);
            pump_counter = 0;
            continue;
        }
        if (++pump_counter >= PASSES_PER_PUMP) {
            pump_counter = 0;
            flush_output();
            QCoreApplication::processEvents();
        }
    }
    --active_loops_;
}

void Tfmain::wait_for_events_until_resume(bool paused) {
    if (!paused) {
        const int64_t wait = static_cast<int64_t>(interp.resume_time) - clock_ms();
        if (wait <= 0) return;
        resume_timer_->start(static_cast<int>(wait));
    }
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    resume_timer_->stop();
}

void Tfmain::end_run() {
    flush_output();
    bt_stop->setEnabled(false);
    bt_pause->setEnabled(false);
    bt_run->setEnabled(true);
    set_status(QStringLiteral("Stop in line: %1").arg(current_line()));
    give_back_memory();
}

// A long run leaves the memory of the lines that left the output pane free but still held by
// the process; the system gets it back, so the window is as small after a run as its pane.
void Tfmain::give_back_memory() {
    malloc_trim(0);
}
