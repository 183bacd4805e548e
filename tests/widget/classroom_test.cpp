// The window as a classroom uses it: menus and their keys, files from the command line and
// from a drop, examples, screen readers and small screens.
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QScrollArea>
#include <QScrollBar>
#include <sys/wait.h>
#include <QSet>
#include <QUrl>
#include <QInputDialog>
#include <QTextBrowser>
#include <QTextBlock>
#include <QToolTip>
#include <QHelpEvent>

#include "editor_commands.h"
#include "find_bar.h"
#include "help_window.h"
#include "telemetry_pane.h"
#include <QLineSeries>
#include <cstdio>

#include "telemetry_part.h"
#include "window_fixture.h"

namespace {

void press(Tfmain* w, QKeySequence key) {
    QApplication::setActiveWindow(w);
    QTest::keySequence(mcod(*w), key);
}

TEST_F(WindowTest, MenuEntriesFollowAndClickTheirButtons) {
    EXPECT_FALSE(action("act_save")->isEnabled());
    EXPECT_FALSE(action("act_pause")->isEnabled());
    QTest::keyClicks(mcod(*w), "PRINT 1");
    EXPECT_TRUE(action("act_save")->isEnabled());

    // F5 runs, F6 pauses, F10 steps while paused, Shift+F5 stops: the keys of the Run menu.
    QString states_while_running;
    QString states_while_paused;
    double before = 0;
    ASSERT_TRUE(run_steps("FOR I=0 TO 1000000000\nA=A+1\nNEXT I",
                          {{at_once(), [&] { press(w.get(), QKeySequence(Qt::Key_F6)); }},
                           {[&] { return paused(); },
                            [&] {
                                states_while_paused = QStringLiteral("%1%2%3")
                                                          .arg(action("act_run")->isEnabled())
                                                          .arg(action("act_pause")->isEnabled())
                                                          .arg(action("act_step")->isEnabled());
                                before = var_get(0);
                                press(w.get(), QKeySequence(Qt::Key_F10));
                            }},
                           {[&] { return paused(); },
                            [&] { press(w.get(), QKeySequence(Qt::Key_F10)); }},
                           // Two steps: one pass of the loop, and paused again.
                           {[&] { return paused() && var_get(0) == before + 1; },
                            [&] { press(w.get(), QKeySequence(Qt::Key_F5)); }},
                           {[&] { return !paused(); },
                            [&] {
                                states_while_running = QStringLiteral("%1%2")
                                                           .arg(action("act_pause")->isEnabled())
                                                           .arg(action("act_stop")->isEnabled());
                                press(w.get(), QKeySequence(Qt::SHIFT | Qt::Key_F5));
                            }}}));
    EXPECT_EQ(states_while_paused, "101");
    EXPECT_EQ(states_while_running, "11");
    EXPECT_EQ(button_states(), "100");
    EXPECT_FALSE(action("act_stop")->isEnabled());

    mcod(*w)->setPlainText("PRINT 1");
    press(w.get(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(output(), QStringList({"1"}));
    press(w.get(), QKeySequence(Qt::Key_F9));
    EXPECT_TRUE(mcod(*w)->has_breakpoint(0));
}

TEST_F(WindowTest, FileKeysAskAsTheButtonsDo) {
    const QString path = dir.filePath("p.bas");
    answer_dialogs({path, ""});
    QTest::keyClicks(mcod(*w), "PRINT 2");
    press(w.get(), QKeySequence("Ctrl+S"));  // untitled: SAVE asks for a name
    EXPECT_EQ(read_bytes(path), "PRINT 2");
    EXPECT_EQ(w->quick_open()->recent_files(), QStringList({path}));
    press(w.get(), QKeySequence("Ctrl+O"));  // cancelled
    EXPECT_EQ(dialogs, QStringList({"sd", "od"}));

    // New asks about modified text like LOAD, and leaves an untitled, unmodified editor.
    QTest::keyClicks(mcod(*w), "X");
    answer_questions({QMessageBox::Cancel, QMessageBox::No});
    press(w.get(), QKeySequence("Ctrl+N"));
    EXPECT_EQ(mcod(*w)->toPlainText(), "PRINT 2X");
    press(w.get(), QKeySequence("Ctrl+N"));
    EXPECT_EQ(questions, QStringList({"Save changes?", "Save changes?"}));
    EXPECT_EQ(mcod(*w)->toPlainText(), "");
    EXPECT_EQ(w->current_file(), "");
    EXPECT_FALSE(button("bt_save")->isEnabled());

    // Open Recent opens as LOAD does.
    w->quick_open()->recent_menu()->actions().constFirst()->trigger();
    EXPECT_EQ(mcod(*w)->toPlainText(), "PRINT 2");
    EXPECT_EQ(w->windowTitle(), QFileInfo(path).fileName() + "[*] \u2014 ZORVANT Basic Editor");
    EXPECT_EQ(w->status_text(), "Loaded.");
}

TEST_F(WindowTest, OpenFileAsLoadDoesAndForgetsAMissingRecentFile) {
    const QString path = dir.filePath("given.bas");
    write_bytes(path, "PRINT 3\r\n");
    w->open_file(path);
    EXPECT_EQ(mcod(*w)->toPlainText(), "PRINT 3\n");
    EXPECT_EQ(w->status_text(), "Loaded.");
    EXPECT_EQ(w->quick_open()->recent_menu()->actions().size(), 1);

    QFile::remove(path);
    w->open_file(path);
    EXPECT_EQ(errors, QStringList({"Cannot open file " + path + "."}));
    EXPECT_EQ(mcod(*w)->toPlainText(), "PRINT 3\n");
    EXPECT_TRUE(w->quick_open()->recent_files().isEmpty());
    EXPECT_FALSE(w->quick_open()->recent_menu()->isEnabled());
}

// On the editor, on the output or anywhere else in the window.
TEST_F(WindowTest, ADroppedFileOpensAndItsAddressIsNeverTyped) {
    QTest::keyClicks(mcod(*w), "A=1");
    answer_questions({QMessageBox::No});
    int n = 0;
    for (QWidget* target : {mcod(*w)->viewport(), mdb(*w)->viewport(),
                            static_cast<QWidget*>(w.get())}) {
        const QString path = dir.filePath(QStringLiteral("dropped%1.bas").arg(n));
        const QString text = QStringLiteral("PRINT %1").arg(n++);
        write_bytes(path, text.toLatin1());
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        // A drop reaches only a widget that took the drag's entry.
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        EXPECT_TRUE(enter.isAccepted()) << target->objectName().toStdString();
        QApplication::sendEvent(target, &drop);
        EXPECT_TRUE(wait_for([&] { return w->current_file() == path; }));
        EXPECT_EQ(mcod(*w)->toPlainText(), text);
        EXPECT_EQ(mdb(*w)->toPlainText(), "");
    }
    EXPECT_EQ(questions, QStringList({"Save changes?"}));
}

TEST_F(WindowTest, ExamplesOpenAsUntitledCopies) {
    const QList<QAction*> examples = named<QMenu>(*w, "menu_examples")->actions();
    ASSERT_FALSE(examples.isEmpty());
    for (QAction* example : examples) {
        example->trigger();
        EXPECT_EQ(w->current_file(), "") << example->text().toStdString();
        EXPECT_TRUE(mcod(*w)->toPlainText().startsWith("//")) << example->text().toStdString();
        // A lesson says what it set up instead.
        EXPECT_TRUE(w->status_text() == "Example: " + example->text() ||
                    w->status_text().startsWith(example->text() + ". "))
            << w->status_text().toStdString();
        // Untitled and untouched: the next example replaces it without a question.
        EXPECT_FALSE(button("bt_save")->isEnabled());
    }
    EXPECT_EQ(questions, QStringList());
    // Not on disk, so no recovery file either; SAVE AS asks for a name.
    EXPECT_FALSE(QFile::exists(w->recovery_file()));
    answer_dialogs({""});
    button("bt_savas")->click();
    EXPECT_EQ(dialogs, QStringList({"sd"}));
}

// Every control a screen reader reaches has a name of its own.
TEST_F(WindowTest, ScreenReadersTellEveryControlApart) {
    QAccessible::setActive(true);
    QHash<QString, QString> seen;  // name -> object name
    QStringList unnamed;
    QStringList doubled;
    std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* node) {
        for (int i = 0; i < node->childCount(); ++i) {
            QAccessibleInterface* child = node->child(i);
            if (child == nullptr || child->state().invisible) continue;
            auto* widget = qobject_cast<QWidget*>(child->object());
            const QString name = child->text(QAccessible::Name);
            const bool focusable = widget != nullptr && widget->focusPolicy() != Qt::NoFocus;
            const bool control = focusable || child->role() == QAccessible::Slider ||
                                 child->role() == QAccessible::ProgressBar;
            const QString id = widget != nullptr ? widget->objectName() : QString();
            if (control && name.isEmpty()) unnamed << id + "/" + QString::number(child->role());
            // A tab list is named after its current tab, which it holds.
            if (!name.isEmpty() && child->role() != QAccessible::StaticText &&
                child->role() != QAccessible::PageTabList) {
                if (seen.contains(name)) doubled << name;
                seen.insert(name, id);
            }
            walk(child);
        }
    };
    walk(QAccessible::queryAccessibleInterface(w.get()));
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(", ").toStdString();
    EXPECT_TRUE(doubled.isEmpty()) << doubled.join(", ").toStdString();
    for (const char* name : {"Program", "Output", "Magnetometer X", "Coil Z", "Colour red",
                             "Temperature", "RX signal strength", "CPU speed", "System power",
                             "Waterfall", "Waterfall speed", "Status bar"}) {
        EXPECT_TRUE(seen.contains(name)) << name;
    }
    // The hidden helpers are reached by nobody.
    for (const char* name : {"bt_showvars", "bt_sini", "bt_showgage", "msrc"}) {
        auto* hidden = w->findChild<QWidget*>(name);
        ASSERT_NE(hidden, nullptr);
        EXPECT_FALSE(seen.values().contains(name)) << name;
        EXPECT_EQ(hidden->focusPolicy(), Qt::NoFocus) << name;
    }
    QAccessible::setActive(false);
}

// On a small screen every control stays inside the window and none covers another.
TEST_F(WindowTest, NothingOverlapsAt1024x600) {
    w->resize(1024, 600 - 30);
    QCoreApplication::processEvents();
    EXPECT_LE(w->width(), 1024);
    const QRect inside = w->rect();
    QList<QWidget*> controls;
    for (QWidget* c : w->findChildren<QWidget*>()) {
        if (!c->isVisible() || c->objectName().isEmpty() || c->isWindow()) continue;
        if (qobject_cast<QPushButton*>(c) != nullptr || c == mcod(*w) || c == mdb(*w) ||
            c->objectName() == "panel_scroll" || c->objectName() == "cb_speed") {
            controls << c;
        }
    }
    ASSERT_GE(controls.size(), 10);
    for (QWidget* c : controls) {
        const QRect r(c->mapTo(w.get(), QPoint(0, 0)), c->size());
        EXPECT_TRUE(inside.contains(r)) << c->objectName().toStdString();
        for (QWidget* other : controls) {
            const QRect o(other->mapTo(w.get(), QPoint(0, 0)), other->size());
            if (c != other && !c->isAncestorOf(other) && !other->isAncestorOf(c)) {
                EXPECT_FALSE(r.intersects(o))
                    << c->objectName().toStdString() << " " << other->objectName().toStdString();
            }
        }
    }
    EXPECT_GE(mcod(*w)->width(), 320);
    EXPECT_GE(mcod(*w)->height(), 150);
    // The panels that no longer fit scroll.
    auto* scroll = w->findChild<QScrollArea*>("panel_scroll");
    EXPECT_TRUE(scroll->verticalScrollBar()->isVisible());
}

// The editor's command line works without a display.
TEST(EditorCommandLine, HelpVersionAndNoDisplay) {
    auto run = [](const std::string& command) {
        std::string out;
        std::FILE* pipe = popen((command + " 2>&1").c_str(), "r");
        char buffer[512];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
        const int status = pclose(pipe);
        return std::make_pair(WEXITSTATUS(status), out);
    };
    const std::string bin = ZORVANT_BIN;
    const std::string bare = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ";
    auto [code, out] = run(bare + bin + " --version");
    EXPECT_EQ(code, 0);
    EXPECT_EQ(out, std::string("zorvant ") + ZORVANT_VERSION + "\n");
    std::tie(code, out) = run(bare + bin + " --help");
    EXPECT_EQ(code, 0);
    EXPECT_EQ(out.rfind("usage: zorvant [--help] [--version] [FILE]\n", 0), 0u) << out;
    std::tie(code, out) = run(bare + bin + " --bogus");
    EXPECT_EQ(code, 2);
    EXPECT_EQ(out, "zorvant: unknown option '--bogus'\nusage: zorvant [--help] [--version] [FILE]\n");
    std::tie(code, out) = run(bare + bin);
    EXPECT_EQ(code, 1);
    EXPECT_EQ(out, "zorvant: cannot open the window: no display could be reached (DISPLAY is not "
                   "set)\n");
}

}  // namespace

namespace {

TEST_F(WindowTest, F1OpensThePageOfTheWordAtTheCaret) {
    mcod(*w)->setPlainText("A=1\nIF A>0 THEN PRINT A");
    QTextCursor caret = mcod(*w)->textCursor();
    caret.setPosition(4 + 9);  // in THEN
    mcod(*w)->setTextCursor(caret);
    press(w.get(), QKeySequence(Qt::Key_F1));
    ASSERT_NE(w->help_window(), nullptr);
    EXPECT_TRUE(w->help_window()->isVisible());
    EXPECT_EQ(w->help_window()->browser()->source(), QUrl("qrc:/help/if.html"));
    EXPECT_FALSE(w->help_window()->browser()->toPlainText().isEmpty());
    caret.setPosition(0);
    mcod(*w)->setTextCursor(caret);
    press(w.get(), QKeySequence(Qt::Key_F1));  // on a variable: the contents
    EXPECT_EQ(w->help_window()->browser()->source(), QUrl("qrc:/help/index.html"));
}

// Hovering an error report explains it in plain words, with the token codes named.
TEST_F(WindowTest, HoveringAnErrorReportExplainsIt) {
    run("A=1\nIF A=1 THEN B=2 ELSE B=3");
    ASSERT_EQ(output(), QStringList({"ERROR in line: 1", "ERROR: Expected token 35, got 9"}));
    const QRect second = mdb(*w)->cursorRect(
        QTextCursor(mdb(*w)->document()->findBlockByNumber(1)));
    QHelpEvent hover(QEvent::ToolTip, second.center(),
                     mdb(*w)->viewport()->mapToGlobal(second.center()));
    QApplication::sendEvent(mdb(*w)->viewport(), &hover);
    const QString tip = QToolTip::text();
    EXPECT_TRUE(tip.contains("ELSE")) << tip.toStdString();
    EXPECT_TRUE(tip.contains("35")) << tip.toStdString();
    QToolTip::hideText();
}

}  // namespace

namespace {

// The editing keys of the Edit and View menus, each doing its job in the window.
TEST_F(WindowTest, EditAndViewKeys) {
    mcod(*w)->setPlainText("A=1\nprint a\nB=A\nC=A");
    press(w.get(), QKeySequence("Ctrl+F"));
    ASSERT_TRUE(find_bar(*w)->isVisible());
    find_bar(*w)->set_text("A");
    press(w.get(), QKeySequence(Qt::Key_F3));
    const int first = mcod(*w)->textCursor().position();
    press(w.get(), QKeySequence(Qt::Key_F3));
    EXPECT_GT(mcod(*w)->textCursor().position(), first);
    press(w.get(), QKeySequence(Qt::SHIFT | Qt::Key_F3));
    EXPECT_EQ(mcod(*w)->textCursor().position(), first);

    line_dialog_hook = [](QInputDialog& d) {
        d.setIntValue(1);
        return static_cast<int>(QDialog::Accepted);
    };
    press(w.get(), QKeySequence("Ctrl+G"));
    line_dialog_hook = nullptr;
    EXPECT_EQ(mcod(*w)->textCursor().blockNumber(), 1);
    press(w.get(), QKeySequence("Ctrl+Shift+U"));  // no selection: the caret's line
    EXPECT_EQ(mcod(*w)->toPlainText(), "A=1\nPRINT A\nB=A\nC=A");

    press(w.get(), QKeySequence("Ctrl+H"));
    EXPECT_TRUE(w->findChild<QWidget*>("replace_text")->isVisible());

    const int editor_px = text_pixel_size(mcod(*w));
    const int output_px = text_pixel_size(mdb(*w));
    press(w.get(), QKeySequence("Ctrl++"));
    EXPECT_GT(text_pixel_size(mcod(*w)), editor_px);
    EXPECT_GT(text_pixel_size(mdb(*w)), output_px);
    press(w.get(), QKeySequence("Ctrl+0"));
    EXPECT_EQ(text_pixel_size(mcod(*w)), editor_px);
    EXPECT_EQ(text_pixel_size(mdb(*w)), output_px);
}

}  // namespace

namespace {

// A slider moved during a run and the coils a program sets both land in the recording, and
// the pane draws them.
TEST_F(WindowTest, TelemetryRecordsASliderMoveAndACoil) {
    w->telemetry()->view_action()->trigger();
    ASSERT_TRUE(w->telemetry()->pane()->isVisible());
    ASSERT_TRUE(run_steps("COIL 1,0,0\nDELAY 200\nLABEL 1\nIF A=0 THEN GOTO 1\nCOIL -1,0,0",
                          {{[] { return channel_position(Channel::CoiX) == 100; },
                            [&] { slider("tb_magx")->setValue(42); }},
                           {[] { return true; }, [] { var_set(0, 1); }}}));
    const TelemetryRecording& t = w->telemetry()->recording();
    auto values = [&](int series) {
        std::vector<double> v;
        for (const TelemetryPoint& p : t.points(series)) v.push_back(p.value);
        return v;
    };
    EXPECT_EQ(values(0), (std::vector<double>{0, 42}));
    EXPECT_EQ(values(8), (std::vector<double>{0, 100, -100}));
    EXPECT_EQ(values(TS_VARIABLE_A), (std::vector<double>{0, 1}));
    EXPECT_LE(t.points(0)[1].time_ms, t.points(8)[2].time_ms);
    EXPECT_GT(w->telemetry()->pane()->line(0)->count(), 0);

    // The export: the trace's CSV, and the charts beside it.
    answer_dialogs({dir.filePath("run.csv")});
    w->telemetry()->export_action()->trigger();
    const QList<QByteArray> rows = read_bytes(dir.filePath("run.csv")).split('\n');
    EXPECT_TRUE(rows.first().startsWith("time_ms,line,magx,magy,magz,colr,colg,colb,tem,rx,coix,"));
    EXPECT_TRUE(rows.at(1).startsWith("0,")) << rows.at(1).toStdString();
    bool coil_seen = false;
    for (const QByteArray& row : rows) coil_seen |= row.split(',').value(10) == "-100";
    EXPECT_TRUE(coil_seen);
    EXPECT_TRUE(read_bytes(dir.filePath("run.png")).startsWith("\x89PNG"));
    EXPECT_EQ(w->status_text(), "Exported run.csv and run.png.");
    // The recording stays after the run; a fresh RUN starts a new one, and a program that
    // cannot start ends its recording at once: a slider moved after it is not recorded.
    run("PRINT 1");
    EXPECT_EQ(w->telemetry()->recording().points(8).size(), 1u);
    EXPECT_EQ(w->telemetry()->recording().points(8)[0].value, -100);
    run(QString("PRINT 1\nPRINT ") + QChar(0x20AC));
    slider("tb_magx")->setValue(7);
    EXPECT_EQ(w->telemetry()->recording().points(0).size(), 1u);
}

}  // namespace

namespace {

// The pane is made when it is first wanted: an export before it was ever shown draws the charts
// all the same and leaves it closed, and View > Telemetry, the menu bar's context menu and the
// pane's own close button agree on whether it is shown.
TEST_F(WindowTest, TheTelemetryPaneBeforeAndAfterItIsFirstShown) {
    EXPECT_EQ(w->telemetry()->pane(), nullptr);
    run("COIL 1,0,0\nDELAY 20\nCOIL 0,0,0");
    answer_dialogs({dir.filePath("early.csv")});
    w->telemetry()->export_action()->trigger();
    EXPECT_TRUE(read_bytes(dir.filePath("early.png")).startsWith("\x89PNG"));
    EXPECT_TRUE(read_bytes(dir.filePath("early.csv")).startsWith("time_ms,"));
    ASSERT_NE(w->telemetry()->pane(), nullptr);
    EXPECT_FALSE(w->telemetry()->pane()->isVisible());
    EXPECT_FALSE(w->telemetry()->view_action()->isChecked());

    const std::unique_ptr<QMenu> popup(w->createPopupMenu());
    ASSERT_EQ(popup->actions(), QList<QAction*>({w->telemetry()->view_action()}));
    popup->actions().constFirst()->trigger();
    EXPECT_TRUE(w->telemetry()->pane()->isVisible());
    EXPECT_TRUE(w->telemetry()->view_action()->isChecked());
    EXPECT_GT(w->telemetry()->pane()->line(8)->count(), 0);
    w->telemetry()->pane()->close();
    EXPECT_FALSE(w->telemetry()->view_action()->isChecked());
    w->telemetry()->view_action()->trigger();
    EXPECT_TRUE(w->telemetry()->pane()->isVisible());
    w->telemetry()->view_action()->trigger();
    EXPECT_FALSE(w->telemetry()->pane()->isVisible());
}

}  // namespace

namespace {

// A click on a slider's track puts the handle there, not one step towards the click.
TEST_F(WindowTest, AClickOnASliderTrackMovesTheHandleThere) {
    QSlider* s = slider("tb_magx");
    QTest::mouseClick(s, Qt::LeftButton, Qt::NoModifier, QPoint(s->width() - 3, s->height() / 2));
    EXPECT_GT(s->value(), 80);
    QTest::mouseClick(s, Qt::LeftButton, Qt::NoModifier, QPoint(3, s->height() / 2));
    EXPECT_LT(s->value(), -80);
}

}  // namespace

namespace {

// The export is the runner's trace of the same run, byte for byte, when both run on the same
// clock: a slider set before RUN is the runner's --set, one moved during a DELAY a scenario
// event within that DELAY.
TEST_F(WindowTest, TheExportIsTheRunnersTrace) {
    const QString program =
        "A=1\nCOIL 0.5,0,0\nB=2\nDELAY 100\nMGET X,Y,Z\nTX 2,5\nC=3\nDELAY 40\nD=A+B+C\n"
        "COIL 0,-0.25,0\nE=D*2";
    write_bytes(dir.filePath("traced.bas"), program.toLatin1());
    write_bytes(dir.filePath("traced.events"), "50 magy=-20\n");
    QProcess runner;
    runner.start(ZORVANT_RUN, {"--no-wait", "--set", "magx=30", "--scenario",
                               dir.filePath("traced.events"), "--trace",
                               dir.filePath("runner.csv"), dir.filePath("traced.bas")});
    ASSERT_TRUE(runner.waitForFinished(10000));
    ASSERT_EQ(runner.exitCode(), 0) << runner.readAllStandardError().toStdString();

    VirtualClock clock;
    clock.install();
    clock.now = 7000;
    slider("tb_magx")->setValue(30);
    const auto waiting_until = [this](int32_t t) {
        return [this, t] {
            return run_control(*w)->state() == RunControl::State::Waiting &&
                   interp.resume_time == 7000 + t;
        };
    };
    const bool taken = run_steps(program, {{waiting_until(100),
                                            [&] {
                                                slider("tb_magy")->setValue(-20);
                                                clock.advance_to(7100);
                                            }},
                                           {waiting_until(140), [&] { clock.advance_to(7140); }}});
    clock_set_source(nullptr, nullptr);
    ASSERT_TRUE(taken);
    ASSERT_EQ(output(), QStringList());
    answer_dialogs({dir.filePath("window.csv")});
    w->telemetry()->export_action()->trigger();
    const QByteArray exported = read_bytes(dir.filePath("window.csv"));
    EXPECT_EQ(exported.toStdString(), read_bytes(dir.filePath("runner.csv")).toStdString());
    EXPECT_EQ(exported.count('\n'), 8);  // the header and seven rows
}

}  // namespace
