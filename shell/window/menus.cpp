// The menu bar. Every entry that has a button does what the button does: it clicks it, and it
// is enabled exactly when the button is.
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QDirIterator>
#include <QDockWidget>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTextBlock>
#include <QToolTip>
#include <QHelpEvent>

#include "Ucompiler.h"
#include "code_editor.h"
#include "editor_commands.h"
#include "explain.h"
#include "find_bar.h"
#include "dialog_seams.h"
#include "help_pages.h"
#include "help_window.h"
#include "mission_control.h"
#include "simulation_control.h"
#include "slider_recorder.h"
#include "telemetry_part.h"

namespace {

// Recent files live in the toolkit's own settings store; brevolin.ini keeps its fixed lines.
constexpr int MAX_RECENT_FILES = 10;
const char* const RECENT_KEY = "recentFiles";

QSettings user_settings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "zorvant", "zorvant");
}

// The first comment line of an example is its title; the file name stands in without one.
QString example_title(const QString& path, const QString& text) {
    const QString first = text.section('\n', 0, 0).trimmed();
    if (first.startsWith("//") && first.size() > 2) return first.mid(2).trimmed();
    return QFileInfo(path).completeBaseName().replace('_', ' ');
}

}  // namespace

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
    act_new = add_action(file, "&New", QKeySequence::New, [this] { new_program(); });
    act_open = add_button_action(file, "&Open...", QKeySequence::Open, bt_load);
    recent_menu_ = file->addMenu("Open &Recent");
    recent_menu_->setObjectName("menu_recent");
    examples_menu_ = file->addMenu("&Examples");
    examples_menu_->setObjectName("menu_examples");
    build_examples_menu();
    file->addSeparator();
    act_save = add_button_action(file, "&Save", QKeySequence::Save, bt_save);
    act_save_as = add_button_action(file, "Save &As...", QKeySequence("Ctrl+Shift+S"), bt_savas);
    file->addSeparator();
    file->addAction(telemetry_->export_action());
    file->addSeparator();
    act_quit = add_action(file, "&Quit", QKeySequence("Ctrl+Q"), [this] { close(); });
    update_recent_menu();

    QMenu* edit = bar->addMenu("&Edit");
    edit->setObjectName("menu_edit");
    act_undo = add_action(edit, "&Undo", QKeySequence::Undo, [this] { mcod->undo(); });
    act_redo = add_action(edit, "&Redo", QKeySequence("Ctrl+Y"), [this] { mcod->redo(); });
    act_redo->setShortcuts({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")});
    act_undo->setEnabled(false);
    act_redo->setEnabled(false);
    connect(mcod, &QPlainTextEdit::undoAvailable, act_undo, &QAction::setEnabled);
    connect(mcod, &QPlainTextEdit::redoAvailable, act_redo, &QAction::setEnabled);
    edit->addSeparator();
    act_cut = add_action(edit, "Cu&t", QKeySequence::Cut, [this] { mcod->cut(); });
    act_copy = add_action(edit, "&Copy", QKeySequence::Copy, [this] { text_in_focus()->copy(); });
    act_paste = add_action(edit, "&Paste", QKeySequence::Paste, [this] { mcod->paste(); });
    act_select_all = add_action(edit, "Select &All", QKeySequence::SelectAll,
                                [this] { text_in_focus()->selectAll(); });
    edit->addSeparator();
    act_find = add_action(edit, "&Find...", QKeySequence::Find, [this] { find_bar->show_find(); });
    act_find_next = add_action(edit, "Find &Next", QKeySequence(Qt::Key_F3), [this] {
        if (find_bar->text().isEmpty()) {
            find_bar->show_find();
        } else {
            find_bar->find_next();
        }
    });
    act_find_previous =
        add_action(edit, "Find Pre&vious", QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] {
            if (find_bar->text().isEmpty()) {
                find_bar->show_find();
            } else {
                find_bar->find_previous();
            }
        });
    act_replace = add_action(edit, "R&eplace...", QKeySequence("Ctrl+H"),
                             [this] { find_bar->show_replace(); });
    act_go_to_line =
        add_action(edit, "&Go to Line...", QKeySequence("Ctrl+G"), [this] { go_to_line(); });
    edit->addSeparator();
    act_upper_case = add_action(edit, "U&pper Case", QKeySequence("Ctrl+Shift+U"),
                                [this] { mcod->upper_case_selection(); });
    edit_menu_ = edit;

    QMenu* run = bar->addMenu("&Run");
    run->setObjectName("menu_run");
    act_run = add_button_action(run, "&Run", QKeySequence(Qt::Key_F5), bt_run);
    act_pause = add_button_action(run, "&Pause", QKeySequence(Qt::Key_F6), bt_pause);
    act_stop = add_button_action(run, "&Stop", QKeySequence(Qt::SHIFT | Qt::Key_F5), bt_stop);
    act_step = add_button_action(run, "S&tep", QKeySequence(Qt::Key_F10), bt_step);
    run->addSeparator();
    act_breakpoint = add_action(run, "Toggle &Breakpoint", QKeySequence(Qt::Key_F9),
                                [this] { debugger_->toggle_breakpoint_at_caret(); });
    act_clear_variables =
        add_action(run, "Clear &Variables", QKeySequence(), [this] { debugger_->clear_variables(); });
    act_clear_variables->setObjectName("act_clear_variables");
    connect(run_control, &RunControl::stateChanged, act_clear_variables,
            [this](RunControl::State s) { act_clear_variables->setEnabled(s == RunControl::State::Idle); });
    run->addAction(slider_recorder_->action());
    QMenu* speed = run->addMenu("Run S&peed");
    speed->setObjectName("menu_speed");
    auto* speeds = new QActionGroup(speed);
    for (int i = 0; i < cb_speed->count(); ++i) {
        QAction* a = speed->addAction(cb_speed->itemText(i));
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

    view_menu_ = bar->addMenu("&View");
    view_menu_->setObjectName("menu_view");
    // The editor and the output grow and shrink together, for a projector or a small screen.
    // The panels follow the editor's size; a window with room on its screen grows for them.
    act_zoom_in = add_action(view_menu_, "Zoom &In", QKeySequence::ZoomIn, [this] {
        zoom_text(mcod, 1);
        zoom_text(mdb, 1);
        grow_for_panels();
    });
    act_zoom_in->setShortcuts({QKeySequence("Ctrl++"), QKeySequence("Ctrl+=")});
    act_zoom_out = add_action(view_menu_, "Zoom &Out", QKeySequence("Ctrl+-"), [this] {
        zoom_text(mcod, -1);
        zoom_text(mdb, -1);
    });
    act_zoom_reset = add_action(view_menu_, "&Reset Zoom", QKeySequence("Ctrl+0"), [this] {
        reset_zoom(mcod);
        reset_zoom(mdb);
    });
    view_menu_->addSeparator();
    // The checker's findings: the list, and one after the other; RUN never waits for them.
    act_problems = add_action(view_menu_, "&Problems", QKeySequence(), [this] { show_problems(); });
    add_action(view_menu_, "&Next Problem", QKeySequence("F8"), [this] {
        show_problems();
        mcod->go_to_problem(true);
    });
    add_action(view_menu_, "&Previous Problem", QKeySequence("Shift+F8"), [this] {
        show_problems();
        mcod->go_to_problem(false);
    });
    connect(mcod, &CodeEditor::problemShown, this, &Tfmain::set_status);
    view_menu_->addSeparator();
    view_menu_->addAction(telemetry_->view_action());
    build_satellite_action(view_menu_);

    help_menu_ = bar->addMenu("&Help");
    help_menu_->setObjectName("menu_help");
    act_reference = add_action(help_menu_, "Language &Reference", QKeySequence(Qt::Key_F1),
                               [this] { show_language_reference(); });
    act_about = add_action(help_menu_, "&About", QKeySequence(), [this] { show_about(); });
}

void Tfmain::go_to_line() {
    const int line =
        ask_line_number(this, mcod->textCursor().blockNumber(), mcod->blockCount() - 1);
    if (line >= 0) mcod->go_to_line(line);
}

QPlainTextEdit* Tfmain::text_in_focus() const {
    return mdb->hasFocus() ? mdb : static_cast<QPlainTextEdit*>(mcod);
}

// ---- recent files ----

QStringList Tfmain::recent_files() const {
    return user_settings().value(RECENT_KEY).toStringList();
}

void Tfmain::remember_recent_file(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList files = recent_files();
    files.removeAll(absolute);
    files.prepend(absolute);
    while (files.size() > MAX_RECENT_FILES) files.removeLast();
    user_settings().setValue(RECENT_KEY, files);
    update_recent_menu();
}

void Tfmain::forget_recent_file(const QString& path) {
    QStringList files = recent_files();
    if (files.removeAll(QFileInfo(path).absoluteFilePath()) == 0) return;
    user_settings().setValue(RECENT_KEY, files);
    update_recent_menu();
}

void Tfmain::update_recent_menu() {
    recent_menu_->clear();
    const QStringList files = recent_files();
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files.at(i);
        // "&1" to "&9", then "1&0": every entry has its key.
        const QString number = i < 9 ? QStringLiteral("&%1").arg(i + 1) : QStringLiteral("1&0");
        QAction* a = recent_menu_->addAction(number + "  " + path);
        connect(a, &QAction::triggered, this, [this, path] { open_file(path); });
    }
    recent_menu_->setEnabled(!files.isEmpty());
}

// ---- examples ----

void Tfmain::build_examples_menu() {
    QStringList paths;
    for (QDirIterator it(":/samples", {"*.bas"}, QDir::Files); it.hasNext();) paths << it.next();
    paths.sort();
    for (const QString& path : paths) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QString text = QString::fromLatin1(f.readAll()).replace("\r\n", "\n");
        const QString title = example_title(path, text);
        QAction* a = examples_menu_->addAction(title);
        a->setData(path);
        connect(a, &QAction::triggered, this, [this, title, text] { open_example(title, text); });
    }
    examples_menu_->setEnabled(!paths.isEmpty());
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

// ---- problems ----

// Made when first wanted, docked beside the editor, and kept in step with the checker.
void Tfmain::show_problems() {
    if (problems_dock_ == nullptr) {
        problems_dock_ = new QDockWidget("Problems", this);
        problems_dock_->setObjectName("problems_dock");
        problems_list_ = new QListWidget(problems_dock_);
        problems_list_->setObjectName("problems");
        problems_list_->setAccessibleName("Problems");
        problems_list_->setWordWrap(true);
        problems_dock_->setWidget(problems_list_);
        addDockWidget(Qt::BottomDockWidgetArea, problems_dock_);
        watch_dock(problems_dock_);
        connect(mcod, &CodeEditor::findingsChanged, this, &Tfmain::fill_problems);
        connect(problems_list_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
            if (!item->data(Qt::UserRole).isValid()) return;  // no place: "and M more"
            const int line = item->data(Qt::UserRole).toInt();
            const int column = item->data(Qt::UserRole + 1).toInt();
            const QTextBlock block = mcod->document()->findBlockByNumber(line);
            if (!block.isValid()) return;
            QTextCursor c(block);
            c.setPosition(block.position() + std::min(column, block.length() - 1));
            mcod->setTextCursor(c);
            mcod->ensureCursorVisible();
            mcod->setFocus();
        });
        connect(problems_list_, &QListWidget::itemClicked, problems_list_,
                &QListWidget::itemActivated);
        mcod->check_now();
        fill_problems();
    }
    problems_dock_->show();
}

void Tfmain::fill_problems() {
    if (problems_list_ == nullptr) return;
    problems_list_->clear();
    for (const Finding& f : mcod->findings()) {
        auto* item = new QListWidgetItem(
            QStringLiteral("Line %1, column %2: %3")
                .arg(f.line)
                .arg(f.column)
                .arg(QString::fromStdString(f.message)),
            problems_list_);
        item->setData(Qt::UserRole, f.line);
        item->setData(Qt::UserRole + 1, f.column);
    }
    if (mcod->more_findings() > 0) {
        // Not a place in the text: activating it goes nowhere.
        auto* more = new QListWidgetItem(
            QStringLiteral("and %1 more").arg(mcod->more_findings()), problems_list_);
        more->setFlags(Qt::ItemIsEnabled);
    }
    if (mcod->findings().empty()) problems_list_->addItem("No problems found.");
}
