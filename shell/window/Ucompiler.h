// The main window as a frame: the editor, the output pane, the variable panel, the device panel,
// the SDR display and the buttons, laid out, with the menus and the handlers under the names the
// product has always given them. The handlers forward to the window's parts (the program
// document, the debugger, the simulation, the settings file, the Problems pane, ...), each made
// here and reached through its accessor; a control is reached by its object name.
#pragma once

#include <QMainWindow>
#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "channels.h"
#include "program_document.h"
#include "debugger.h"

class ClosingSignals;
class CodeEditor;
class Debugger;
class Telemetry;
class TelemetryPane;
class FindBar;
class HistorySettings;
class HelpWindow;
class LessonPane;
class QAction;
class QKeySequence;
class QMenu;
class DevicePanelBox;
class QComboBox;
class QFileDialog;
class QBoxLayout;
class QGridLayout;
class QGroupBox;
class QScrollArea;
class QSplitter;
class QMessageBox;
class QDockWidget;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSlider;
class QTabWidget;
class QStatusBar;
class QTimer;
class MissionControl;
class ProblemsPane;
class QuickOpen;
class SettingsFile;
class SimulationControl;
class SliderRecorder;
class WaterfallAxis;
class WaterfallRuler;
class WaterfallView;

extern const char* const EditorTitle;

// Process settings the window needs before the application object exists.
void prepare_application_environment();

class Tfmain : public QMainWindow {
    Q_OBJECT
   public:
    explicit Tfmain(QWidget* parent = nullptr);
    ~Tfmain() override;

    // View > Satellite: the "satellite_dock".
    void show_satellite(bool shown);

    QSlider* slider(Channel c) const;
    QProgressBar* pb_spd() const;
    // The text of the status bar's one panel.
    QString status_text() const;

    // The parts.
    // The program in the editor: its file, its modified flag, its recovery, its dialogs.
    ProgramDocument* document() const { return document_; }
    // Runs the program and shows what it does: the run state, breakpoints, the variables.
    Debugger* debugger() const { return debugger_; }
    // The Simulation menu: the chosen preset, the sensors it drives.
    SimulationControl* simulation_control() const { return simulation_; }
    MissionControl* mission_control() const { return mission_; }
    SliderRecorder* slider_recorder() const { return slider_recorder_; }
    // Run > History...: whether runs are kept for Step Back, and how much of them.
    HistorySettings* history_settings() const { return history_settings_; }
    // View > Telemetry, File > Export Telemetry and the recording of the last run.
    Telemetry* telemetry() const { return telemetry_; }
    // View > Problems: every finding of the checker, a click away from its line.
    ProblemsPane* problems() const { return problems_; }
    // File > Open Recent and dropped files.
    QuickOpen* quick_open() const { return quick_open_; }
    // View > Lesson: the lesson opened from File > Examples, and the first start's welcome.
    LessonPane* lesson_pane() const { return lesson_pane_; }
    // The path of the program file, empty before the first LOAD or SAVE AS.
    QString current_file() const { return document_->path(); }
    // What a file made for the program is named after: the program file's base name, the
    // example's while it is an untitled copy of one, else "untitled".
    QString program_name() const;

    // Help > Language Reference: the page of the word at the editor's caret, or the contents.
    void show_language_reference();
    void show_help_page(const QString& page);
    HelpWindow* help_window() const { return help_window_; }

    // Opens a program file as LOAD does once its dialog is answered, after "Save changes?"
    // when the text is modified.
    void open_file(const QString& path);
    // File > New: an empty, untitled editor, after the same question.
    void new_program();
    // An example as an untitled copy of its text.
    void open_example(const QString& title, const QString& text);

    // Handlers.
    void FormCreate();
    void bt_runClick();
    void bt_pauseClick();
    void bt_stopClick();
    void bt_stepClick();
    void bt_stepbackClick();
    void cb_speedChange();
    void bt_showvarsClick();
    void bt_showgageClick();
    void tb_magxChange();
    void tb_timerChange();
    void t_sdrTimer();
    void mcodChange();
    void show_cursor_position();
    void bt_loadClick();
    void bt_saveClick();
    void bt_savasClick();
    void bt_siniClick();

    // The menu bar's context menu: the panes.
    QMenu* createPopupMenu() override;

    // The file that keeps this window's unsaved text between a crash and the next start.
    QString recovery_file() const;

    // Seam for the math error box: when set, it receives the text instead of a modal box.
    static std::function<void(const QString& caption, const QString& text)>& math_error_hook;
    // Seams for the file dialogs and the questions: when set, they stand in for exec() and
    // return its result (QDialog::Accepted with a file selected, QMessageBox::Yes, ...).
    static std::function<int(QFileDialog& dialog)>& file_dialog_hook;
    static std::function<int(QMessageBox& box)>& question_hook;

   protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

   private:
    void build_controls();
    void build_parts();
    void build_menus();
    QAction* add_action(QMenu* menu, const QString& text, const QKeySequence& key,
                        const std::function<void()>& handler);
    QAction* add_button_action(QMenu* menu, const QString& text, const QKeySequence& key,
                               QPushButton* button);
    void mirror_button_state(QObject* button);
    QPlainTextEdit* text_in_focus() const;
    void go_to_line();
    void build_examples_menu(QMenu* examples);
    // File > Examples and the lessons among them (window_lessons.cpp).
    struct Example {
        QString path;
        QString title;
        QString text;
        bool lesson = false;  // a set-up file lies beside it
    };
    void build_lessons();
    void open_example_at(int k);
    void set_up_lesson(int k);
    QString choose_lesson_speed(int time_factor);
    int next_lesson() const;
    QString next_lesson_caption() const;
    void build_satellite_action(QMenu* menu);
    void show_about();
    void set_accessible_names();
    void fit_to_screen();
    QWidget* build_variable_panel(QWidget* parent);
    QGroupBox* build_sdr_box(QWidget* parent);
    void build_run_buttons(QWidget* parent);
    void build_file_buttons(QWidget* parent);
    void arrange_panels();
    void arrange_variable_panel(double scale, bool two_columns, int height);
    void arrange_sdr_box(double scale, int height);
    enum class ButtonRows { Design, Two, Three };
    void arrange_bottom(ButtonRows rows);
    int bottom_height(ButtonRows rows) const;
    int bottom_width(ButtonRows rows) const;
    void grow_for_panels();
    void place_telemetry_pane(TelemetryPane* pane);
    // The panes docked in the window take its room rather than add to it: the panes on one side
    // share it as tabs, and leave the editor its columns.
    void watch_dock(QDockWidget* dock);
    void fit_docks(QDockWidget* dock);
    // A window that is not full screen stays within the screen's free area.
    void keep_on_screen();
    // The room on a small screen (window_room.cpp).
    int editor_width_for_columns(int text_px) const;
    int side_least_width(int text_px) const;
    void choose_text_size();
    void keep_editor_columns();
    void make_room_for_pane(QDockWidget* dock);
    void set_default_split();
    void restore_window_state();
    void save_window_state();
    void set_status(const QString& text);

    void build_debugger();
    // Step Back and Run Back: enabled while the debugger can go back.
    void build_step_back();
    void show_step_back_state();
    bool eventFilter(QObject* watched, QEvent* event) override;

    void build_document();
    void set_caption();

    // Controls, under the names the product has always given them (their object names too).
    CodeEditor* mcod = nullptr;
    QPlainTextEdit* mdb = nullptr;
    QPlainTextEdit* msrc = nullptr;  // never shown: the program as the run reads it
    QPushButton* bt_run = nullptr;
    QPushButton* bt_pause = nullptr;
    QPushButton* bt_stop = nullptr;
    QPushButton* bt_step = nullptr;
    QPushButton* bt_stepback = nullptr;
    QPushButton* bt_load = nullptr;
    QPushButton* bt_save = nullptr;
    QPushButton* bt_savas = nullptr;
    DevicePanelBox* GroupBox1 = nullptr;
    FindBar* find_bar = nullptr;  // under the editor: find and replace
    RunControl* run_control = nullptr;  // the debugger's
    QAction* act_satellite = nullptr;
    QWidget* Panel1 = nullptr;
    QSplitter* editor_split_ = nullptr;  // the editor over the output
    QWidget* side_ = nullptr;            // beside them: the panels over the buttons
    QScrollArea* panel_scroll_ = nullptr;
    QWidget* panels_ = nullptr;
    QWidget* bottom_ = nullptr;
    QGridLayout* bottom_grid_ = nullptr;
    QWidget* run_row_ = nullptr;
    QWidget* file_box_ = nullptr;
    QBoxLayout* file_column_ = nullptr;
    ButtonRows button_rows_ = ButtonRows::Design;
    bool arranging_ = false;
    bool panels_arranged_ = false;
    QLabel* Label2 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* variable_labels_[26] = {};  // lA .. lZ
    QGroupBox* gb_sdr = nullptr;
    WaterfallView* Iprev = nullptr;
    WaterfallAxis* sdr_axis_ = nullptr;    // channel numbers under the waterfall
    WaterfallRuler* sdr_ruler_ = nullptr;  // seconds beside it
    QSlider* tb_timer = nullptr;
    QTimer* t_sdr = nullptr;
    QStatusBar* sb = nullptr;
    QComboBox* cb_speed = nullptr;  // statements per second

    QLabel* status_panel_ = nullptr;
    std::vector<std::pair<QPushButton*, QAction*>> button_actions_;
    bool fitted_to_screen_ = false;
    HelpWindow* help_window_ = nullptr;
    QLabel* explanation_ = nullptr;  // under the output, after a report
    ProgramDocument* document_ = nullptr;
    Debugger* debugger_ = nullptr;
    SimulationControl* simulation_ = nullptr;
    MissionControl* mission_ = nullptr;
    SliderRecorder* slider_recorder_ = nullptr;
    HistorySettings* history_settings_ = nullptr;
    QAction* act_run_back_ = nullptr;
    Telemetry* telemetry_ = nullptr;
    SettingsFile* settings_ = nullptr;
    ProblemsPane* problems_ = nullptr;
    QTabWidget* output_tabs_ = nullptr;  // the output, and the Problems tab beside it
    QuickOpen* quick_open_ = nullptr;
    LessonPane* lesson_pane_ = nullptr;
    std::vector<Example> examples_;
    int example_ = -1;  // the example in the editor, until another text replaces it
    int lesson_ = -1;   // the lesson the pane shows
    ClosingSignals* closing_signals_ = nullptr;
    bool fitting_docks_ = false;
    // The user has put the line between the editor and the output, now or in a past session.
    bool split_chosen_ = false;
    QList<int> default_split_;  // the sizes the window gave them last
    // Out of the maximised state: the next size the window manager gives is checked.
    bool unmaximised_ = false;
    // The close went ahead.
    bool closed_ = false;
};
