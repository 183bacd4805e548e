// Tfmain's menu bar, with File > Examples and the Help entries. Every entry that has a button
// does what the button does: it clicks it, and it is enabled exactly when the button is.
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QDirIterator>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBlock>

#include "Ucompiler.h"
#include "code_editor.h"
#include "editor_commands.h"
#include "explain.h"
#include "find_bar.h"
#include "dialog_seams.h"
#include "help_pages.h"
#include "help_window.h"
#include "history_settings.h"
#include "lesson_pane.h"
#include "mission_control.h"
#include "problems_pane.h"
#include "quick_open.h"
#include "simulation_control.h"
#include "slider_recorder.h"
#include "telemetry_part.h"

// The menu bar's context menu lists the panes; the telemetry's entry is there before the pane is
// first made.
QMenu* Tfmain::createPopupMenu() {
    auto* menu = new QMenu(this);
    menu->addAction(telemetry_->view_action());
    return menu;
}

QAction* Tfmain::add_action(QMenu* menu, const QString& text, const QKeySequence& key,
                            const std::function<void()>& handler) {
    auto* action = menu->addAction(text);
    if (!key.isEmpty()) action->setShortcut(key);
    // The window's shortcuts work wherever the focus is in it, the editor included.
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, handler);
    return action;
}

// The entry clicks the button, so the button's handler and its checks run as for a click.
QAction* Tfmain::add_button_action(QMenu* menu, const QString& text, const QKeySequence& key,
                                   QPushButton* button) {
    QAction* action = add_action(menu, text, key, [button] {
        if (button->isEnabled()) button->click();
    });
    action->setEnabled(button->isEnabled());
    button_actions_.emplace_back(button, action);
    button->installEventFilter(this);
    return action;
}

void Tfmain::mirror_button_state(QObject* button) {
    for (const auto& [b, action] : button_actions_) {
        if (b == button) action->setEnabled(b->isEnabled());
    }
}

void Tfmain::build_menus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("menu_bar");
    bar->setAccessibleName("Menu bar");

    QMenu* file = bar->addMenu("&File");
    file->setObjectName("menu_file");
    add_action(file, "&New", QKeySequence::New, [this] { new_program(); })
        ->setObjectName("act_new");
    add_button_action(file, "&Open...", QKeySequence::Open, bt_load)->setObjectName("act_open");
    quick_open_->add_recent_menu(file);
    build_examples_menu(file->addMenu("&Examples"));
    file->addSeparator();
    add_button_action(file, "&Save", QKeySequence::Save, bt_save)->setObjectName("act_save");
    add_button_action(file, "Save &As...", QKeySequence("Ctrl+Shift+S"), bt_savas)
        ->setObjectName("act_save_as");
    file->addSeparator();
    file->addAction(telemetry_->export_action());
    file->addSeparator();
    add_action(file, "&Quit", QKeySequence("Ctrl+Q"), [this] { close(); })
        ->setObjectName("act_quit");

    QMenu* edit = bar->addMenu("&Edit");
    edit->setObjectName("menu_edit");
    QAction* act_undo = add_action(edit, "&Undo", QKeySequence::Undo, [this] { mcod->undo(); });
    act_undo->setObjectName("act_undo");
    QAction* act_redo = add_action(edit, "&Redo", QKeySequence("Ctrl+Y"), [this] { mcod->redo(); });
    act_redo->setObjectName("act_redo");
    act_redo->setShortcuts({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")});
    act_undo->setEnabled(false);
    act_redo->setEnabled(false);
    connect(mcod, &QPlainTextEdit::undoAvailable, act_undo, &QAction::setEnabled);
    connect(mcod, &QPlainTextEdit::redoAvailable, act_redo, &QAction::setEnabled);
    edit->addSeparator();
    add_action(edit, "Cu&t", QKeySequence::Cut, [this] { mcod->cut(); })->setObjectName("act_cut");
    add_action(edit, "&Copy", QKeySequence::Copy, [this] { text_in_focus()->copy(); })
        ->setObjectName("act_copy");
    add_action(edit, "&Paste", QKeySequence::Paste, [this] { mcod->paste(); })
        ->setObjectName("act_paste");
    add_action(edit, "Select &All", QKeySequence::SelectAll, [this] {
        text_in_focus()->selectAll();
    })->setObjectName("act_select_all");
    edit->addSeparator();
    add_action(edit, "&Find...", QKeySequence::Find, [this] { find_bar->show_find(); })
        ->setObjectName("act_find");
    add_action(edit, "Find &Next", QKeySequence(Qt::Key_F3), [this] {
        if (find_bar->text().isEmpty()) {
            find_bar->show_find();
        } else {
            find_bar->find_next();
        }
    })->setObjectName("act_find_next");
    add_action(edit, "Find Pre&vious", QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] {
        if (find_bar->text().isEmpty()) {
            find_bar->show_find();
        } else {
            find_bar->find_previous();
        }
    })->setObjectName("act_find_previous");
    add_action(edit, "R&eplace...", QKeySequence("Ctrl+H"), [this] { find_bar->show_replace(); })
        ->setObjectName("act_replace");
    add_action(edit, "&Go to Line...", QKeySequence("Ctrl+G"), [this] { go_to_line(); })
        ->setObjectName("act_go_to_line");
    edit->addSeparator();
    add_action(edit, "U&pper Case", QKeySequence("Ctrl+Shift+U"), [this] {
        mcod->upper_case_selection();
    })->setObjectName("act_upper_case");

    QMenu* run = bar->addMenu("&Run");
    run->setObjectName("menu_run");
    add_button_action(run, "&Run", QKeySequence(Qt::Key_F5), bt_run)->setObjectName("act_run");
    add_button_action(run, "&Pause", QKeySequence(Qt::Key_F6), bt_pause)
        ->setObjectName("act_pause");
    add_button_action(run, "&Stop", QKeySequence(Qt::SHIFT | Qt::Key_F5), bt_stop)
        ->setObjectName("act_stop");
    add_button_action(run, "S&tep", QKeySequence(Qt::Key_F10), bt_step)->setObjectName("act_step");
    add_button_action(run, "Step Bac&k", QKeySequence(Qt::SHIFT | Qt::Key_F10), bt_stepback)
        ->setObjectName("act_step_back");
    act_run_back_ = add_action(run, "R&un Back", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F5),
                               [this] {
                                   if (debugger_->can_step_back()) debugger_->run_back();
                               });
    act_run_back_->setObjectName("act_run_back");
    act_run_back_->setToolTip("Back to the last breakpoint passed, or as far as the run is kept");
    act_run_back_->setEnabled(false);
    run->addSeparator();
    add_action(run, "Toggle &Breakpoint", QKeySequence(Qt::Key_F9), [this] {
        debugger_->toggle_breakpoint_at_caret();
    })->setObjectName("act_breakpoint");
    // A to Z back to 0; only while no run is active.
    QAction* act_clear_variables =
        add_action(run, "Clear &Variables", QKeySequence(), [this] { debugger_->clear_variables(); });
    act_clear_variables->setObjectName("act_clear_variables");
    connect(run_control, &RunControl::stateChanged, act_clear_variables,
            [act_clear_variables](RunControl::State s) {
                act_clear_variables->setEnabled(s == RunControl::State::Idle);
            });
    run->addAction(slider_recorder_->action());
    run->addAction(history_settings_->action());
    QMenu* speed = run->addMenu("Run S&peed");
    speed->setObjectName("menu_speed");
    speed->setToolTipsVisible(true);
    auto* speeds = new QActionGroup(speed);
    for (int i = 0; i < cb_speed->count(); ++i) {
        QAction* a = speed->addAction(cb_speed->itemText(i));
        a->setToolTip(cb_speed->itemData(i, Qt::ToolTipRole).toString());
        a->setCheckable(true);
        a->setChecked(i == cb_speed->currentIndex());
        speeds->addAction(a);
        connect(a, &QAction::triggered, cb_speed, [this, i] { cb_speed->setCurrentIndex(i); });
    }
    connect(cb_speed, &QComboBox::currentIndexChanged, speed,
            [speeds](int i) { speeds->actions().at(i)->setChecked(true); });

    QMenu* simulation = bar->addMenu("&Simulation");
    simulation->setObjectName("menu_simulation");
    simulation_->build_menu(simulation);
    simulation->addSeparator();
    mission_->build_menu(simulation->addMenu("&Missions"));

    QMenu* view = bar->addMenu("&View");
    view->setObjectName("menu_view");
    // The editor and the output grow and shrink together, for a projector or a small screen.
    // The panels follow the editor's size; a window with room on its screen grows for them.
    QAction* act_zoom_in = add_action(view, "Zoom &In", QKeySequence::ZoomIn, [this] {
        zoom_text(mcod, 1);
        zoom_text(mdb, 1);
        grow_for_panels();
    });
    act_zoom_in->setObjectName("act_zoom_in");
    act_zoom_in->setShortcuts({QKeySequence("Ctrl++"), QKeySequence("Ctrl+=")});
    add_action(view, "Zoom &Out", QKeySequence("Ctrl+-"), [this] {
        zoom_text(mcod, -1);
        zoom_text(mdb, -1);
    })->setObjectName("act_zoom_out");
    add_action(view, "&Reset Zoom", QKeySequence("Ctrl+0"), [this] {
        reset_zoom(mcod);
        reset_zoom(mdb);
    })->setObjectName("act_zoom_reset");
    view->addSeparator();
    // The checker's findings: the list, and one after the other; RUN never waits for them.
    add_action(view, "&Problems", QKeySequence(), [this] { problems_->show_pane(); })
        ->setObjectName("act_problems");
    add_action(view, "&Next Problem", QKeySequence("F8"), [this] {
        problems_->show_pane();
        mcod->go_to_problem(true);
    });
    add_action(view, "&Previous Problem", QKeySequence("Shift+F8"), [this] {
        problems_->show_pane();
        mcod->go_to_problem(false);
    });
    connect(mcod, &CodeEditor::problemShown, this, &Tfmain::set_status);
    connect(mcod, &CodeEditor::helpRequested, this, &Tfmain::show_help_page);
    view->addSeparator();
    view->addAction(telemetry_->view_action());
    build_satellite_action(view);
    view->addAction(lesson_pane_->view_action());

    QMenu* help = bar->addMenu("&Help");
    help->setObjectName("menu_help");
    add_action(help, "Language &Reference", QKeySequence(Qt::Key_F1), [this] {
        show_language_reference();
    })->setObjectName("act_reference");
    add_action(help, "&About", QKeySequence(), [this] { show_about(); })
        ->setObjectName("act_about");
}

// A page of the language reference, "traps.html#comparisons" at its section.
void Tfmain::show_help_page(const QString& page) {
    if (help_window_ == nullptr) help_window_ = new HelpWindow(this);
    help_window_->show_page(help_page_url(page));
}

void Tfmain::go_to_line() {
    const int line =
        ask_line_number(this, mcod->textCursor().blockNumber(), mcod->blockCount() - 1);
    if (line >= 0) mcod->go_to_line(line);
}

QPlainTextEdit* Tfmain::text_in_focus() const {
    return mdb->hasFocus() ? mdb : static_cast<QPlainTextEdit*>(mcod);
}

// ---- help ----

void Tfmain::show_language_reference() {
    const QTextCursor caret = mcod->textCursor();
    const std::string word = keyword_at(caret.block().text().toLatin1().toStdString(),
                                        static_cast<size_t>(caret.positionInBlock()));
    if (help_window_ == nullptr) help_window_ = new HelpWindow(this);
    help_window_->show_page(help_url_for_word(QString::fromStdString(word)));
}

void Tfmain::show_about() {
    QMessageBox box(QMessageBox::Information, "About",
                    QStringLiteral("<b>%1</b><p>Version %2</p>"
                                   "<p>An editor and interpreter for a small BASIC that drives "
                                   "a simulated satellite.</p>")
                        .arg(QString::fromLatin1(EditorTitle), ZORVANT_VERSION),
                    QMessageBox::Ok, this);
    box.setObjectName("about_box");
    exec_question(box);
}
