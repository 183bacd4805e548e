// Drives the real window for figures and pictures that a pass/fail test must not measure:
//   window_driver rate              statements per second of a counting loop in the window
//   window_driver print-rate        output lines per second of a printing loop in the window
//   window_driver history [PAIRS]   what keeping each run's past costs, takes and gives
//   window_driver print-memory SECONDS
//                                   an endless PRINT loop for SECONDS: lines per second, and the
//                                   resident memory while it runs and after STOP
//   window_driver idle-cpu          CPU time over 10 s while paused, and while in DELAY 10000,
//                                   without and with a simulation
//   window_driver startup T0_NS     milliseconds from T0_NS (CLOCK_REALTIME) to the first paint
//   window_driver highlight         milliseconds to colour a 5,000-line program, and what a
//                                   keystroke costs in it
//   window_driver long-line         one line of 100,000 and of 1,000,000 characters: CPU while
//                                   the window waits with the caret in it, what a keystroke
//                                   costs, and how long LOAD of a 1 MB one-line file takes
//   window_driver satellite PROGRAM SECONDS [PRESET]
//                                   the satellite's view: PROGRAM with the tumbling 1U (or a
//                                   shipped preset's name, or a preset file) for SECONDS, then
//                                   the cost of a picture and the CPU it takes
//   window_driver screenshot FILE PROGRAM [SECONDS [BREAKPOINT_LINE]]
//                                   runs PROGRAM in the window and saves a picture of it to FILE
//   window_driver mission PROGRAM MISSION SECONDS
//                                   runs PROGRAM against MISSION for SECONDS and holds the
//                                   window 3 s more, for pictures of the screen taken from outside
//   window_driver mission-speeds PROGRAM MISSION CAP [SPEED...]
//                                   runs PROGRAM against MISSION at each SPEED (the speed box's
//                                   texts; No waits, 60x and 10x time by default) with the
//                                   telemetry and the satellite shown, each for at most CAP
//                                   seconds: wall time, mission time left, CPU and the score
//   window_driver layout PROGRAM ZOOM_STEPS SECONDS [telemetry]
//                                   opens PROGRAM, zooms in ZOOM_STEPS steps, shows the telemetry
//                                   when asked, and holds the window for SECONDS, for a picture
//                                   of the screen taken from outside
//   window_driver stop-latency [CASE]
//                                   milliseconds from a click on STOP to the end of the run, median
//                                   of 10, for an endless PRINT loop and an endless COIL loop at
//                                   full speed and in slow motion; on the offscreen platform the
//                                   click is posted to the button, under X it is a real pointer
//                                   click that xdotool sends, timed from the X server's time
//                                   of the press
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QKeyEvent>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <QSlider>
#include <QAction>
#include <QComboBox>
#include <QGuiApplication>
#include <QMouseEvent>
#include <cmath>
#include <thread>
#include <vector>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "Ucompiler.h"
#include "telemetry_pane.h"
#include "telemetry_part.h"
#include "code_editor.h"
#include "highlighter.h"
#include "interp.h"
#include "mission_control.h"
#include "satellite_view.h"
#include "simulation_control.h"
#include "window_controls.h"

extern "C" char** environ;

namespace {

double cpu_seconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Lets the window come up and paint before anything is measured.
void settle() {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 300) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

double timed_run(Tfmain& w, const char* program) {
    mcod(w)->setPlainText(program);
    settle();
    QElapsedTimer t;
    t.start();
    named<QPushButton>(w, "bt_run")->click();
    return static_cast<double>(t.nsecsElapsed()) / 1e9;
}

// With `telemetry`, the telemetry pane is open and draws the run as it goes.
int rate(Tfmain& w, bool telemetry) {
    if (telemetry) w.telemetry()->view_action()->trigger();
    const char* pane = telemetry ? "pane open" : "pane closed";
    double seconds = timed_run(w, "FOR I=1 TO 10000000\nA=A+I%7\nNEXT I");
    std::printf("window, %s: 20000001 statements in %.3f s = %.2f M statements/s\n", pane,
                seconds, 20000001 / seconds / 1e6);
    // Every COIL a change to record.
    seconds = timed_run(w, "FOR I=1 TO 1000000\nCOIL I%3-1,0,0\nNEXT I");
    std::printf("window, %s: 2000001 statements with 1000000 coil changes in %.3f s = %.2f M "
                "statements/s\n",
                pane, seconds, 2000001 / seconds / 1e6);
    return 0;
}

// Satellite programs are made of device statements; each of these loops changes a channel or
// the transmitter on every pass. bench/window_figures.sh times the same programs in the runner.
constexpr const char* DEVICE_LOOPS[][2] = {
    {"controller", "FOR I=1 TO 2000000\nMGET X,Y,Z\nCOIL I%3-1,-Y,-Z\nNEXT I"},
    {"beacon", "FOR I=1 TO 2000000\nTX I%32,I%8\nROFF\nNEXT I"},
    {"speed", "FOR I=1 TO 2000000\nSPEED I%2+1\nNEXT I"},
};

int device_rate(Tfmain& w, const char* only) {
    for (const bool telemetry : {false, true}) {
        if (telemetry) w.telemetry()->view_action()->trigger();
        for (const auto& [name, program] : DEVICE_LOOPS) {
            if (only != nullptr && std::strcmp(only, name) != 0) continue;
            const double seconds = timed_run(w, program);
            const long long steps = run_control(w)->steps();
            std::printf("window, pane %s, %s loop: %lld statements in %.3f s = %.2f M "
                        "statements/s; panel: coil x %s, CPU speed %d\n",
                        telemetry ? "open" : "closed", name, steps, seconds,
                        static_cast<double>(steps) / seconds / 1e6,
                        w.findChild<QLabel*>("lb_coix")->text().toLatin1().constData(),
                        w.pb_spd()->value());
        }
    }
    return 0;
}

// What keeping a run's past costs and gives: each loop run with the history on and off in
// alternating pairs (the ratio of the medians), the bytes kept per statement, the time to go a
// statement back, and to move the time cursor across a ten-minute run of the satellite.
int history_figures(Tfmain& w, int pairs) {
    const struct {
        const char* name;
        const char* program;
    } loops[] = {
        {"plain", "FOR I=1 TO 5000000\nA=A+I%7\nNEXT I"},
        {"device", "FOR I=1 TO 1000000\nMGET X,Y,Z\nCOIL I%3-1,-Y,-Z\nNEXT I"},
        {"print", "FOR I=1 TO 100000\nPRINT I\nNEXT I"},
    };
    RunControl* control = run_control(w);
    for (const auto& loop : loops) {
        std::vector<double> on, off;
        for (int k = 0; k < pairs; ++k) {
            for (const bool keep : {k % 2 == 0, k % 2 != 0}) {
                control->set_recording(keep);
                (keep ? on : off).push_back(timed_run(w, loop.program));
            }
        }
        std::sort(on.begin(), on.end());
        std::sort(off.begin(), off.end());
        const double ratio = on[on.size() / 2] / off[off.size() / 2];
        std::printf("%-6s loop, %d pairs: kept %.3f s, not kept %.3f s (medians): %+.1f %%\n",
                    loop.name, pairs, on[on.size() / 2], off[off.size() / 2],
                    100 * (ratio - 1));
        std::fflush(stdout);
    }
    control->set_recording(true);
    timed_run(w, loops[0].program);
    const RunHistory& h = control->history();
    const long long kept = h.last().step - h.first().step;
    std::printf("kept after the plain loop: %lld statements, %zu snapshots, %zu clock marks, "
                "%.1f MB: %.2f bytes a statement\n",
                kept, h.snapshot_count(), h.mark_count(), static_cast<double>(h.bytes()) / 1e6,
                static_cast<double>(h.bytes()) / static_cast<double>(std::max(1LL, kept)));
    Debugger* d = w.debugger();
    QElapsedTimer t;
    t.start();
    constexpr int BACKS = 200;
    for (int k = 0; k < BACKS; ++k) d->step_back();
    std::printf("step back one statement: %.3f ms on average over %d\n",
                static_cast<double>(t.nsecsElapsed()) / 1e6 / BACKS, BACKS);

    // Ten minutes of the tumbling satellite under a controller, at No waits.
    w.simulation_control()->choose_shipped("tumbling_1u");
    auto* box = w.findChild<QComboBox*>("cb_speed");
    box->setCurrentIndex(box->findText("No waits"));
    mcod(w)->setPlainText(
        "FOR I=1 TO 60000\nMGET X,Y,Z\nCOIL (X-P)*20,(Y-Q)*20,(Z-R)*20\nP=X\nQ=Y\nR=Z\n"
        "DELAY 10\nNEXT I");
    settle();
    named<QPushButton>(w, "bt_run")->click();
    const RunMoment first = h.first(), last = h.last();
    std::printf("ten-minute run: %lld statements over %.1f s of program time kept in %.1f MB "
                "(%zu snapshots, %zu clock marks)\n",
                last.step - first.step, (last.clock_ms - first.clock_ms) / 1000.0,
                static_cast<double>(h.bytes()) / 1e6, h.snapshot_count(), h.mark_count());
    std::vector<double> jumps;
    for (int k = 0; k <= 20; ++k) {
        const int32_t to = first.clock_ms + static_cast<int32_t>(
                                                (int64_t{last.clock_ms - first.clock_ms} *
                                                 (k % 2 == 0 ? k : 20 - k)) / 20);
        t.restart();
        d->seek_time(to);
        jumps.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    std::sort(jumps.begin(), jumps.end());
    std::printf("time cursor across it, 21 jumps: median %.2f ms, longest %.2f ms\n",
                jumps[jumps.size() / 2], jumps.back());
    return 0;
}

int print_rate(Tfmain& w) {
    const double seconds = timed_run(w, "FOR I=1 TO 100000\nPRINT I\nNEXT I");
    std::printf("window: 100000 PRINT lines in %.3f s = %.0f lines/s\n", seconds, 100000 / seconds);
    return 0;
}

long resident_kb() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

int print_memory(Tfmain& w, int seconds) {
    mcod(w)->setPlainText("LABEL 1\nI=I+1\nPRINT I\nGOTO 1");
    settle();
    const long start_kb = resident_kb();
    QElapsedTimer t;
    QTimer report;
    QObject::connect(&report, &QTimer::timeout, [&] {
        std::printf("  %4lld s: %ld MB resident\n", t.elapsed() / 1000, resident_kb() / 1024);
        std::fflush(stdout);
        if (t.elapsed() >= seconds * 1000LL) named<QPushButton>(w, "bt_stop")->click();
    });
    report.start(seconds > 60 ? 60000 : 1000 * std::max(1, seconds / 5));
    t.start();
    named<QPushButton>(w, "bt_run")->click();
    const double elapsed = static_cast<double>(t.nsecsElapsed()) / 1e9;
    const double lines = var_get('I' - 'A');
    std::printf("window: %.0f PRINT lines in %.1f s = %.0f lines/s\n", lines, elapsed,
                lines / elapsed);
    std::printf("resident: %ld MB before the run, %ld MB after STOP\n", start_kb / 1024,
                resident_kb() / 1024);
    return 0;
}

// CPU used over ten seconds while the run loop is active but can run no statement.
double cpu_while(Tfmain& w, const char* program, bool pause) {
    mcod(w)->setPlainText(program);
    double used = 0;
    QTimer::singleShot(100, [&] {
        if (pause) named<QPushButton>(w, "bt_pause")->click();
        const double before = cpu_seconds();
        QTimer::singleShot(10000, [&, before] {
            used = cpu_seconds() - before;
            named<QPushButton>(w, "bt_stop")->click();
        });
    });
    named<QPushButton>(w, "bt_run")->click();
    return used;
}

int idle_cpu(Tfmain& w) {
    const double paused = cpu_while(w, "LABEL 1\nGOTO 1", true);
    std::printf("paused for 10 s: %.3f s CPU = %.2f %% of one core\n", paused, paused * 10);
    const double delayed = cpu_while(w, "DELAY 10000\nLABEL 1\nGOTO 1", false);
    std::printf("DELAY 10000 for 10 s: %.3f s CPU = %.2f %% of one core\n", delayed, delayed * 10);
    // The simulated satellite stands still while paused, and moves on a timer during a DELAY.
    w.simulation_control()->choose_shipped("tumbling_1u");
    const double sim_paused = cpu_while(w, "LABEL 1\nGOTO 1", true);
    std::printf("simulation on, paused for 10 s: %.3f s CPU = %.2f %% of one core\n", sim_paused,
                sim_paused * 10);
    const double sim_delayed = cpu_while(w, "DELAY 10000\nLABEL 1\nGOTO 1", false);
    std::printf("simulation on, DELAY 10000 for 10 s: %.3f s CPU = %.2f %% of one core\n",
                sim_delayed, sim_delayed * 10);
    w.simulation_control()->choose_off();
    return 0;
}

class FirstPaint : public QObject {
   public:
    explicit FirstPaint(long long t0) : t0_(t0) {}
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            timespec now{};
            clock_gettime(CLOCK_REALTIME, &now);
            const long long ns = now.tv_sec * 1000000000LL + now.tv_nsec;
            std::printf("start-up to first paint: %.1f ms\n", static_cast<double>(ns - t0_) / 1e6);
            QTimer::singleShot(0, qApp, &QApplication::quit);
        }
        return QObject::eventFilter(o, e);
    }

   private:
    long long t0_;
    bool seen_ = false;
};

int screenshot(Tfmain& w, const QString& file, const QString& program, int seconds,
               int breakpoint) {
    QFile f(program);
    if (!f.open(QIODevice::ReadOnly)) return 2;
    mcod(w)->setPlainText(QString::fromLatin1(f.readAll()));
    if (breakpoint >= 0) mcod(w)->toggle_breakpoint(breakpoint);
    bool taken = false;
    QTimer::singleShot(seconds * 1000, [&] {
        taken = true;
        QScreen* screen = w.screen();
        const QPixmap shot =
            screen->grabWindow(0, w.frameGeometry().x(), w.frameGeometry().y(),
                               w.frameGeometry().width(), w.frameGeometry().height());
        const QPixmap picture = shot.isNull() || shot.width() < w.width() ? w.grab() : shot;
        picture.save(file);
        named<QPushButton>(w, "bt_stop")->click();
    });
    named<QPushButton>(w, "bt_run")->click();
    // A program that ends before the picture is taken leaves the window as it ended.
    while (!taken) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return 0;
}

// A key press and release in the editor, as the user types it.
void type_key(CodeEditor& e, Qt::Key key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&e, &press);
    QCoreApplication::sendEvent(&e, &release);
}

// A 5,000-line program made of the twelve lines over and over.
QString five_thousand_lines(const char* const (&lines)[12]) {
    QString program;
    for (int i = 0; i < 5000; ++i) {
        program += QString::fromLatin1(lines[i % 12]);
        if (i + 1 < 5000) program += '\n';
    }
    return program;
}

double ms_since(const QElapsedTimer& t) {
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

// Typing in a 5,000-line program: what a keystroke costs, that it never waits for the checker,
// and what one check with its marks (underlines, gutter, Problems list) costs after the pause.
int recheck(Tfmain& w) {
    static const char* const lines[] = {"// ATTITUDE LOOP, ONE PASS", "FOR I=1 TO 200",
                                        "MGET X,Y,Z",   "IF X<=40 THEN COIL 1,0,0",
                                        "TGET T",       "IF T>40 THEN GOTO 7 ELSE GOTO 8",
                                        "S=I%8:TX 5,S", "PRINT \"STATUS\";S*2+1",
                                        "DELAY 20",     "NEXT I",
                                        "",             "LABEL 7:LABEL 8"};
    const QString program = five_thousand_lines(lines);
    CodeEditor& e = *mcod(w);
    settle();
    e.setPlainText(program);
    e.check_now();
    settle();
    int checks = 0;
    QObject::connect(&e, &CodeEditor::findingsChanged, [&checks] { ++checks; });
    e.setTextCursor(QTextCursor(e.document()->findBlockByNumber(2500)));
    QElapsedTimer t;
    double worst_key = 0;
    double keys = 0;
    for (int i = 0; i < 20; ++i) {
        t.restart();
        type_key(e, Qt::Key_A, "a");
        QCoreApplication::processEvents();
        const double ms = ms_since(t);
        keys += ms;
        worst_key = std::max(worst_key, ms);
    }
    const int checks_while_typing = checks;
    t.restart();
    while (checks == checks_while_typing && t.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double pause_ms = ms_since(t);
    double check_ms = 0;
    double worst_check = 0;
    for (int i = 0; i < 10; ++i) {
        t.restart();
        e.check_now();
        e.viewport()->repaint();
        e.gutter()->repaint();
        const double ms = ms_since(t);
        check_ms += ms / 10;
        worst_check = std::max(worst_check, ms);
    }
    const std::string text = e.toPlainText().toStdString();
    double bare_ms = 0;
    for (int i = 0; i < 10; ++i) {
        t.restart();
        const BoundedFindings found = check_program_bounded(text, MAX_REPORTED_FINDINGS);
        bare_ms += ms_since(t) / 10;
    }
    double marks_ms = 0;
    for (int i = 0; i < 10; ++i) {
        t.restart();
        e.check_now();
        marks_ms += ms_since(t) / 10;
    }
    std::printf("5000 lines, %zu findings kept (%zu more)\n", e.findings().size(),
                e.more_findings());
    std::printf("the checker alone %.2f ms; with the marks, the Problems list and the fixes "
                "(no paint) %.2f ms\n",
                bare_ms, marks_ms);
    std::printf("keystroke with its events: %.2f ms average, %.2f ms at most; checks while "
                "typing 20 keys: %d\n",
                keys / 20, worst_key, checks_while_typing);
    std::printf("first check %.0f ms after the last key\n", pause_ms);
    std::printf("check with its marks and a repaint: %.2f ms average, %.2f ms at most\n",
                check_ms, worst_check);
    return 0;
}

int highlight(Tfmain& w) {
    static const char* const lines[] = {"// ATTITUDE LOOP, ONE PASS",
                                        "FOR I=1 TO 200",
                                        "MGET X,Y,Z",
                                        "COIL 0-X,0-Y,0-Z",
                                        "TGET T",
                                        "IF T>40 THEN SPEED 1 ELSE SPEED 4",
                                        "S=I%8:TX 5,S",
                                        "PRINT \"STATUS\";S*2+1",
                                        "DELAY 20",
                                        "NEXT I",
                                        "",
                                        "GOSUB 100"};
    const QString program = five_thousand_lines(lines);
    CodeEditor& e = *mcod(w);
    settle();
    QElapsedTimer t;
    t.start();
    e.setPlainText(program);
    const double load_ms = ms_since(t);
    t.restart();
    e.highlighter()->rehighlight();
    const double colour_ms = ms_since(t);
    t.restart();
    bool in_data = false;
    size_t spans = 0;
    for (QTextBlock b = e.document()->begin(); b.isValid(); b = b.next()) {
        const LineHighlight h = highlight_text(b.text(), in_data);
        in_data = h.data_follows;
        spans += h.spans.size();
    }
    const double classify_ms = ms_since(t);

    // A keystroke in the middle, then a DATA marker typed near the top and taken away.
    QTextCursor c(e.document()->findBlockByNumber(2500));
    e.setTextCursor(c);
    long before = e.highlighter()->highlighted_lines();
    t.restart();
    type_key(e, Qt::Key_A, "a");
    const double key_ms = ms_since(t);
    const long key_lines = e.highlighter()->highlighted_lines() - before;

    e.setTextCursor(QTextCursor(e.document()->findBlockByNumber(10)));
    for (const char* k : {"d", "a", "t"}) type_key(e, Qt::Key_A, k);
    before = e.highlighter()->highlighted_lines();
    t.restart();
    type_key(e, Qt::Key_A, "a");
    const double marker_ms = ms_since(t);
    const long marker_lines = e.highlighter()->highlighted_lines() - before;
    t.restart();
    type_key(e, Qt::Key_Backspace, "");
    const double unmark_ms = ms_since(t);

    e.go_to_line(4990);
    QCoreApplication::processEvents();
    t.restart();
    for (int i = 0; i < 10; ++i) e.gutter()->repaint();
    const double gutter_ms = ms_since(t) / 10;

    std::printf("gutter paint at the end of the text: %.2f ms\n", gutter_ms);
    std::printf("5000 lines: setPlainText with colours %.1f ms, rehighlight alone %.1f ms\n",
                load_ms, colour_ms);
    std::printf("the lines' classes alone (%zu spans): %.1f ms\n", spans, classify_ms);
    std::printf("keystroke: %.2f ms, %ld line(s) coloured\n", key_ms, key_lines);
    std::printf("DATA marker typed: %.1f ms, %ld lines coloured; taken away: %.1f ms\n", marker_ms,
                marker_lines, unmark_ms);
    return 0;
}

// One program line of `length` characters, statements packed as a generator writes them: a
// token every character or two, the most colours a line can hold.
QString long_line(int length) {
    QString line;
    line.reserve(length + 8);
    while (line.size() < length) line += QStringLiteral("A=A+1:");
    line.truncate(length);
    return line;
}

// Handles what is queued, painting included, as the window does before it waits again.
void drain() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// The share of one core the process takes over `ms` of waiting, the caret blinking.
double idle_share(int ms) {
    const double before = cpu_seconds();
    QElapsedTimer t;
    t.start();
    QEventLoop wait;
    QTimer::singleShot(ms, &wait, &QEventLoop::quit);
    wait.exec();
    return (cpu_seconds() - before) / (static_cast<double>(t.nsecsElapsed()) / 1e9) * 100;
}

// Milliseconds from a key press in the editor to the window's having handled and drawn it.
double keystroke_ms(CodeEditor& e, Qt::Key key, const QString& text) {
    QElapsedTimer t;
    t.start();
    type_key(e, key, text);
    drain();
    return ms_since(t);
}

void put_caret(CodeEditor& e, int line, int column) {
    QTextCursor c(e.document()->findBlockByNumber(line));
    c.setPosition(c.position() + column);
    e.setTextCursor(c);
    drain();
}

int long_line_figures(Tfmain& w) {
    CodeEditor& e = *mcod(w);
    QApplication::setActiveWindow(&w);
    e.setFocus();
    e.setPlainText("PRINT 1\nEND");
    put_caret(e, 1, 1);
    settle();
    std::printf("idle, caret in a short program: %.1f %% of one core\n", idle_share(3000));
    for (const int length : {100000, 1000000}) {
        const QString program = "PRINT 1\n" + long_line(length) + "\nEND";
        QElapsedTimer t;
        t.start();
        e.setPlainText(program);
        drain();
        const double set_ms = ms_since(t);
        std::printf("%d-character line: setPlainText and first paint %.0f ms\n", length, set_ms);
        if (length == 100000) {
            for (const int column : {0, length / 2, length}) {
                put_caret(e, 1, column);
                settle();
                std::printf("  idle, caret at column %d: %.1f %% of one core\n", column,
                            idle_share(3000));
            }
        }
        put_caret(e, 1, length / 2);
        const double key_ms = keystroke_ms(e, Qt::Key_B, "b");
        const double back_ms = keystroke_ms(e, Qt::Key_Backspace, "");
        const double right_ms = keystroke_ms(e, Qt::Key_Right, "");
        std::printf(
            "  in the middle of it: a letter %.0f ms, Backspace %.0f ms, caret right %.0f ms\n",
            key_ms, back_ms, right_ms);
        std::fflush(stdout);
    }

    // Text that is no program, every character of it a problem: words in lower case, and
    // letters with no 8-bit form, as a paste brings them.
    QString words;
    while (words.size() < 100000) words += QStringLiteral("the quick brown fox ");
    QString foreign;
    while (foreign.size() < 100000) foreign += QChar(0x0416);
    for (const auto& [what, text] : {std::pair{"lower-case words", words},
                                     std::pair{"characters without an 8-bit form", foreign}}) {
        QElapsedTimer t;
        t.start();
        e.setPlainText(text);
        drain();
        const double set_ms = ms_since(t);
        put_caret(e, 0, 50000);
        std::printf("100000 %s: setPlainText %.0f ms, keystroke %.0f ms\n", what, set_ms,
                    keystroke_ms(e, Qt::Key_B, "b"));
        std::fflush(stdout);
    }

    // LOAD of a file that is one line of a million bytes.
    QTemporaryDir dir;
    const QString path = dir.filePath("ONELINE.BAS");
    for (const auto& [what, text] :
         {std::pair{"packed statements", long_line(1000000)},
          std::pair{"lower-case words", QString(words.left(20)).repeated(50000)}}) {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly)) return 2;
        f.write(text.toLatin1());
        f.close();
        e.setPlainText(QString());
        named<QPushButton>(w, "bt_save")->setEnabled(false);
        drain();
        QElapsedTimer t;
        t.start();
        w.open_file(path);
        drain();
        std::printf("LOAD of a 1 MB one-line file of %s, shown: %.0f ms (%lld characters)\n", what,
                    ms_since(t), static_cast<long long>(e.document()->characterCount() - 1));
        std::fflush(stdout);
    }
    settle();
    std::printf("idle after LOAD, caret at the start of the line: %.1f %% of one core\n",
                idle_share(3000));
    return 0;
}

// The telemetry pane during a run while the field turns, as a tumbling satellite sees it.
int telemetry_shot(Tfmain& w, const QString& file, const QString& program, int seconds) {
    w.telemetry()->view_action()->trigger();
    QTimer turn;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&turn, &QTimer::timeout, [&] {
        const double t = static_cast<double>(clock.elapsed()) / 1000.0;
        const double slowing = std::exp(-t / 8.0);
        w.slider(Channel::MagX)->setValue(static_cast<int>(60 * std::sin(2.0 * t) * slowing));
        w.slider(Channel::MagY)->setValue(static_cast<int>(60 * std::cos(2.0 * t) * slowing));
        w.slider(Channel::MagZ)->setValue(static_cast<int>(20 * std::sin(0.7 * t)));
    });
    turn.start(100);
    return screenshot(w, file, program, seconds, -1);
}

// What one redraw of the open telemetry pane costs the run loop: the pane is redrawn once a
// second while a program runs, so this many milliseconds are taken from each second.
int telemetry_redraw(Tfmain& w) {
    w.telemetry()->view_action()->trigger();
    timed_run(w, "FOR I=1 TO 200000\nCOIL I%3-1,0,0\nA=I\nNEXT I");
    QElapsedTimer t;
    constexpr int REDRAWS = 20;
    t.start();
    for (int i = 0; i < REDRAWS; ++i) {
        w.telemetry()->pane()->refresh(w.telemetry()->recording().last_time() + i * 100, true);
        w.telemetry()->pane()->repaint();
        for (QWidget* c : w.telemetry()->pane()->findChildren<QWidget*>()) c->repaint();
    }
    std::printf("telemetry pane: %zu samples, one redraw %.1f ms\n", w.telemetry()->recording().sample_count(),
                static_cast<double>(t.elapsed()) / REDRAWS);
    return 0;
}

int layout(Tfmain& w, const QString& program, int zoom_steps, int seconds, bool telemetry) {
    QFile f(program);
    if (!f.open(QIODevice::ReadOnly)) return 2;
    mcod(w)->setPlainText(QString::fromLatin1(f.readAll()));
    settle();
    for (int i = 0; i < zoom_steps; ++i) {
        named<QAction>(w, "act_zoom_in")->trigger();
        settle();
    }
    if (telemetry) w.telemetry()->view_action()->trigger();
    std::printf("window %dx%d at %d,%d; editor text %d px\n", w.frameGeometry().width(),
                w.frameGeometry().height(), w.frameGeometry().x(), w.frameGeometry().y(),
                mcod(w)->font().pixelSize());
    std::fflush(stdout);
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < seconds * 1000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return 0;
}

// A mission in the window: PROGRAM runs against MISSION for SECONDS with the mission's panel
// shown, for a picture of the screen taken from outside.
int mission(Tfmain& w, const QString& program, const QString& mission_file, int seconds) {
    QFile f(program);
    if (!f.open(QIODevice::ReadOnly)) return 2;
    mcod(w)->setPlainText(QString::fromLatin1(f.readAll()));
    if (!w.mission_control()->choose_file(mission_file)) return 2;
    settle();
    QTimer::singleShot(seconds * 1000, [&] { named<QPushButton>(w, "bt_stop")->click(); });
    named<QPushButton>(w, "bt_run")->click();
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 3000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return 0;
}

// A mission at run speeds: PROGRAM against MISSION with the telemetry and the satellite shown,
// at each speed named (the speed box's texts), until the mission ends or CAP seconds have
// passed: the wall time, the mission time it reached, the CPU time and share, and the score.
int mission_speeds(Tfmain& w, const QString& program, const QString& mission_file, int cap,
                   const QStringList& speeds) {
    QFile f(program);
    if (!f.open(QIODevice::ReadOnly)) return 2;
    mcod(w)->setPlainText(QString::fromLatin1(f.readAll()));
    w.telemetry()->view_action()->trigger();
    w.show_satellite(true);
    auto* box = w.findChild<QComboBox*>("cb_speed");
    for (const QString& speed : speeds) {
        const int index = box->findText(speed);
        if (index < 0) return 2;
        box->setCurrentIndex(index);
        if (!w.mission_control()->choose_file(mission_file)) return 2;
        settle();
        QTimer stopper;
        stopper.setSingleShot(true);
        QObject::connect(&stopper, &QTimer::timeout, [&] { run_control(w)->stop(); });
        stopper.start(cap * 1000);
        const double cpu_before = cpu_seconds();
        QElapsedTimer t;
        t.start();
        named<QPushButton>(w, "bt_run")->click();
        const double wall = static_cast<double>(t.nsecsElapsed()) / 1e9;
        const double cpu = cpu_seconds() - cpu_before;
        const MissionWatch* watch = w.mission_control()->watch();
        const std::vector<std::string> lines = watch != nullptr ? watch->report_lines()
                                                                : std::vector<std::string>{};
        std::printf("%-10s wall %7.2f s, mission time %s, CPU %6.2f s (%3.0f %%), %s\n",
                    speed.toUtf8().constData(), wall,
                    w.findChild<QLabel*>("mission_time_left")->text().toUtf8().constData(), cpu,
                    100 * cpu / wall, lines.empty() ? "no verdict" : lines.back().c_str());
        for (size_t k = 0; k + 1 < lines.size(); ++k) std::printf("    %s\n", lines[k].c_str());
        std::fflush(stdout);
    }
    return 0;
}

// The satellite's view: what one picture costs at 400 x 400, and the CPU with the view open
// while paused and while a simulation runs. PROGRAM runs for SECONDS first with the view open and
// the tumbling 1U, for pictures taken from outside.
int satellite_figures(Tfmain& w, const QString& program, int seconds, const QString& preset) {
    w.show_satellite(true);
    if (preset.contains('/')) {
        if (!w.simulation_control()->choose_file(preset)) return 2;
    } else if (!w.simulation_control()->choose_shipped(preset)) {
        return 2;
    }
    QFile f(program);
    if (!f.open(QIODevice::ReadOnly)) return 2;
    mcod(w)->setPlainText(QString::fromLatin1(f.readAll()));
    settle();
    QTimer::singleShot(seconds * 1000, [&] { named<QPushButton>(w, "bt_stop")->click(); });
    named<QPushButton>(w, "bt_run")->click();

    QImage image(400, 400, QImage::Format_RGB32);
    SceneCamera camera;
    constexpr int FRAMES = 300;
    QElapsedTimer t;
    t.start();
    const double cpu_before = cpu_seconds();
    for (int i = 0; i < FRAMES; ++i) {
        camera_orbit(camera, 1, 0);
        QPainter p(&image);
        SatelliteView::paint_scene(p, build_scene(scene_state_now(), camera, 400, 400), 400, 400);
    }
    const double ms = ms_since(t) / FRAMES;
    const double cpu_ms = (cpu_seconds() - cpu_before) * 1000 / FRAMES;
    std::printf("satellite view, 400 x 400: %.3f ms a picture (%.3f ms CPU); at 30 a second "
                "%.2f %% of the time\n",
                ms, cpu_ms, ms * 30 / 10);
    // The view as docked, painted and shown on the screen, as each frame of a run does.
    auto* view = w.findChild<SatelliteView*>("satellite_view");
    t.restart();
    const double docked_cpu = cpu_seconds();
    for (int i = 0; i < FRAMES; ++i) {
        SceneCamera c = view->camera();
        camera_orbit(c, 1, 0);
        view->set_camera(c);
        view->repaint();
    }
    const double docked_ms = ms_since(t) / FRAMES;
    std::printf("the docked view, %d x %d, painted and shown: %.3f ms a frame (%.3f ms CPU); at "
                "30 a second %.2f %% of the time\n",
                view->width(), view->height(), docked_ms,
                (cpu_seconds() - docked_cpu) * 1000 / FRAMES, docked_ms * 30 / 10);
    const double paused = cpu_while(w, "LABEL 1\nGOTO 1", true);
    std::printf("view open, simulation on, paused for 10 s: %.3f s CPU = %.2f %% of one core\n",
                paused, paused * 10);
    const double delayed = cpu_while(w, "DELAY 10000\nLABEL 1\nGOTO 1", false);
    std::printf("view open, simulation on, DELAY 10000 for 10 s: %.3f s CPU = %.2f %% of one "
                "core\n",
                delayed, delayed * 10);
    w.simulation_control()->choose_off();
    return 0;
}

double steady_ms() {
    return static_cast<double>(std::chrono::duration_cast<std::chrono::microseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count()) /
           1000.0;
}

// Runs xdotool to move the pointer to (x, y) and click there.
bool x_click(int x, int y) {
    const std::string xs = std::to_string(x);
    const std::string ys = std::to_string(y);
    const char* argv[] = {"xdotool", "mousemove", xs.c_str(), ys.c_str(),
                          "click",   "1",         nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "xdotool", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
        return false;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The X server's time of the press on the button it watches: the server's milliseconds are those
// of the monotonic clock, the steady clock's here.
class PressTime : public QObject {
   public:
    double pressed = 0;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonPress && pressed == 0) {
            pressed = static_cast<double>(static_cast<QMouseEvent*>(e)->timestamp());
        }
        return QObject::eventFilter(o, e);
    }
};

// One endless program, stopped `trials` times after it has run for a while: the milliseconds
// from the click to the run's end, sorted.
std::vector<double> stop_latencies(Tfmain& w, const char* program, int rate, int run_ms,
                                   int trials) {
    auto* speed = w.findChild<QComboBox*>("cb_speed");
    speed->setCurrentIndex(std::max(0, speed->findData(rate)));
    const bool on_x = QGuiApplication::platformName() == "xcb";
    std::vector<double> latencies;
    double ended = 0;
    const auto watch = QObject::connect(run_control(w), &RunControl::stateChanged,
                                        [&](RunControl::State s) {
                                            if (s == RunControl::State::Idle) ended = steady_ms();
                                        });
    for (int i = 0; i < trials; ++i) {
        mcod(w)->setPlainText(program);
        settle();
        // Never in step with the run's passes.
        const int after_ms = run_ms + (i * 37) % 250;
        double clicked = 0;
        std::thread clicker;
        QPushButton* stop = named<QPushButton>(w, "bt_stop");
        if (on_x) {
            const QPoint at = stop->mapToGlobal(stop->rect().center());
            clicker = std::thread([at, after_ms] {
                std::this_thread::sleep_for(std::chrono::milliseconds(after_ms));
                x_click(at.x(), at.y());
            });
        } else {
            QTimer::singleShot(after_ms, &w, [&, stop] {
                const QPoint at = stop->rect().center();
                clicked = steady_ms();
                QCoreApplication::postEvent(
                    stop, new QMouseEvent(QEvent::MouseButtonPress, at, stop->mapToGlobal(at),
                                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
                QCoreApplication::postEvent(
                    stop, new QMouseEvent(QEvent::MouseButtonRelease, at, stop->mapToGlobal(at),
                                          Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
            });
        }
        // A click that never arrives must not hold the driver for ever.
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, &w, [&] {
            clicked = 0;
            run_control(w)->stop();
        });
        guard.start(after_ms + 20000);
        PressTime press;
        if (on_x) stop->installEventFilter(&press);
        ended = 0;
        named<QPushButton>(w, "bt_run")->click();
        if (clicker.joinable()) clicker.join();
        if (on_x) clicked = guard.isActive() ? press.pressed : 0;
        if (clicked > 0 && ended > 0) latencies.push_back(std::max(0.0, ended - clicked));
    }
    QObject::disconnect(watch);
    speed->setCurrentIndex(0);
    std::sort(latencies.begin(), latencies.end());
    return latencies;
}

int stop_latency(Tfmain& w, const char* only) {
    struct Case {
        const char* name;
        const char* program;
        int rate;
        int run_ms;  // before the click
    };
    const Case cases[] = {
        {"PRINT loop, full speed", "LABEL 1\nI=I+1\nPRINT \"X\";I\nGOTO 1", 0, 500},
        // The output pane holds its most lines: each append drops as many from its top.
        {"PRINT loop, pane full", "LABEL 1\nI=I+1\nPRINT \"X\";I\nGOTO 1", 0, 3000},
        {"PRINT loop, long lines",
         "LABEL 1\nI=I+1\nPRINT \"ATTITUDE X Y Z AND THE COILS, TEMPERATURE AND SIGNAL: \";I;I;I;I\nGOTO 1",
         0, 3000},
        {"COIL loop, full speed",
         "LABEL 1\nCOIL 1,0,0\nCOIL -1,0,0\nSPEED I%4+1\nI=I+1\nGOTO 1", 0, 500},
        {"PRINT loop, 10 / s", "LABEL 1\nI=I+1\nPRINT \"X\";I\nGOTO 1", 10, 500},
        {"COIL loop, 2 / s", "LABEL 1\nCOIL 1,0,0\nCOIL -1,0,0\nGOTO 1", 2, 500},
    };
    std::printf("STOP latency on %s (click %s), median of 10:\n",
                QGuiApplication::platformName().toLatin1().constData(),
                QGuiApplication::platformName() == "xcb" ? "sent by xdotool" : "posted");
    for (const Case& c : cases) {
        if (only != nullptr && std::strstr(c.name, only) == nullptr) continue;
        const std::vector<double> l = stop_latencies(w, c.program, c.rate, c.run_ms, 10);
        if (l.empty()) {
            std::printf("  %-24s no click reached the button\n", c.name);
            continue;
        }
        const double median =
            l.size() % 2 == 1 ? l[l.size() / 2] : (l[l.size() / 2 - 1] + l[l.size() / 2]) / 2;
        std::printf("  %-24s median %7.1f ms, min %7.1f, max %7.1f (%zu runs)\n", c.name, median,
                    l.front(), l.back(), l.size());
        std::fflush(stdout);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // A data folder of its own: the driver neither offers nor leaves unsaved texts.
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    prepare_application_environment();
    QApplication app(argc, argv);
    const std::string mode = argc > 1 ? argv[1] : "";
    Tfmain w;
    if (mode == "startup" && argc > 2) {
        FirstPaint probe(std::atoll(argv[2]));
        w.installEventFilter(&probe);
        w.show();
        return app.exec();
    }
    w.show();
    if (mode == "rate") return rate(w, false);
    if (mode == "rate-telemetry") return rate(w, true);
    if (mode == "telemetry-redraw") return telemetry_redraw(w);
    if (mode == "print-rate") return print_rate(w);
    if (mode == "history") return history_figures(w, argc > 2 ? std::atoi(argv[2]) : 5);
    if (mode == "device-rate") return device_rate(w, argc > 2 ? argv[2] : nullptr);
    // Writes the loops to DIR/NAME.bas, for the runner's side of the comparison.
    if (mode == "device-programs" && argc > 2) {
        for (const auto& [name, program] : DEVICE_LOOPS) {
            QFile f(QString::fromLocal8Bit(argv[2]) + "/" + name + ".bas");
            if (!f.open(QIODevice::WriteOnly) || f.write(program) < 0) return 1;
        }
        return 0;
    }
    if (mode == "idle-cpu") return idle_cpu(w);
    if (mode == "mission" && argc > 4) return mission(w, argv[2], argv[3], std::atoi(argv[4]));
    if (mode == "mission-speeds" && argc > 4) {
        QStringList speeds;
        for (int i = 5; i < argc; ++i) speeds << QString::fromUtf8(argv[i]);
        if (speeds.isEmpty()) speeds = {"No waits", "60\u00D7 time", "10\u00D7 time"};
        return mission_speeds(w, argv[2], argv[3], std::atoi(argv[4]), speeds);
    }
    if (mode == "layout" && argc > 4) {
        return layout(w, argv[2], std::atoi(argv[3]), std::atoi(argv[4]),
                      argc > 5 && std::strcmp(argv[5], "telemetry") == 0);
    }
    if (mode == "satellite" && argc > 3) {
        return satellite_figures(w, argv[2], std::atoi(argv[3]), argc > 4 ? argv[4] : "tumbling_1u");
    }
    if (mode == "stop-latency") return stop_latency(w, argc > 2 ? argv[2] : nullptr);
    if (mode == "highlight") return highlight(w);
    if (mode == "recheck") return recheck(w);
    if (mode == "long-line") return long_line_figures(w);
    if (mode == "print-memory" && argc > 2) return print_memory(w, std::atoi(argv[2]));
    if (mode == "telemetry-shot" && argc > 4) {
        return telemetry_shot(w, argv[2], argv[3], std::atoi(argv[4]));
    }
    if (mode == "screenshot" && argc > 3) {
        return screenshot(w, argv[2], argv[3], argc > 4 ? std::atoi(argv[4]) : 3,
                          argc > 5 ? std::atoi(argv[5]) : -1);
    }
    std::fprintf(
        stderr,
        "usage: window_driver rate|rate-telemetry|telemetry-redraw|print-rate|print-memory SECONDS|idle-cpu|stop-latency|highlight|long-line|startup "
        "T0_NS|screenshot FILE "
        "PROGRAM [SECONDS [BREAKPOINT_LINE]]|telemetry-shot FILE PROGRAM SECONDS|mission PROGRAM MISSION SECONDS|mission-speeds PROGRAM MISSION CAP [SPEED...]|layout PROGRAM "
        "ZOOM_STEPS SECONDS [telemetry]\n");
    return 2;
}
