// Tfmain's frame: the controls and how they are arranged for the screen and the zoom, the
// parts made and wired, start-up, the handlers of the editor, the device panel and the
// waterfall, and the docks kept within the screen.
#include "Ucompiler.h"

#include <QApplication>
#include <QBoxLayout>
#include <QComboBox>
#include <QFontMetrics>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMouseEvent>
#include <QDockWidget>
#include <QLayout>
#include <QPointer>
#include <QScopedValueRollback>
#include <QScreen>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QStatusBar>
#include <QTextBlock>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "closing_signals.h"
#include "code_editor.h"
#include "dialog_seams.h"
#include "device_panel_box.h"
#include "device_stmts.h"
#include "editor_commands.h"
#include "find_bar.h"
#include "interp.h"
#include "prepare.h"
#include "help_pages.h"
#include "help_window.h"
#include "lesson_pane.h"
#include "problems_pane.h"
#include "quick_open.h"
#include "radio.h"
#include "settings_file.h"
#include "mission_control.h"
#include "simulation_control.h"
#include "slider_recorder.h"
#include "telemetry_part.h"
#include "telemetry_pane.h"
#include "waterfall_view.h"
#include "window_colours.h"

const char* const EditorTitle = "ZORVANT Basic Editor";

std::function<void(const QString&, const QString&)>& Tfmain::math_error_hook = math_error_seam;

void prepare_application_environment() {
    // The run loop looks at the event queue every thousand statements or so. Qt's own dispatcher answers
    // that in half the time of the GLib one, which a running program feels as speed.
    if (qEnvironmentVariableIsEmpty("QT_NO_GLIB")) qputenv("QT_NO_GLIB", "1");
}

namespace {

constexpr int TEXT_PX = 18;
// Lines the output pane keeps; older ones leave at the top. A program that prints without end
// would otherwise take all memory, and the window with it.
constexpr int MAX_OUTPUT_LINES = 100000;

// A colour of window_colours.h as a style sheet writes it.
QString css(Rgb c) {
    return QColor(c.r, c.g, c.b).name();
}

QFont fixed_font(int pixels, bool bold = false) {
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// Controls that exist for their handlers or as working storage: nobody sees them, so neither
// the keyboard nor a screen reader may reach them. A window of its own is outside the main
// window's accessibility tree and focus chain, and is never shown.
void hide_from_user(QWidget* w) {
    w->setFocusPolicy(Qt::NoFocus);
    w->setWindowFlag(Qt::Window);
    w->setVisible(false);
}

// Shows its panels at their full size when there is room; the usual scroll area caps its size
// hint at a few dozen text lines. The width of its vertical scroll bar is kept beside them, so
// that the panels stay where they are whether it shows or not.
class PanelScrollArea : public QScrollArea {
   public:
    explicit PanelScrollArea(QWidget* parent) : QScrollArea(parent) {
        setFrameShape(QFrame::NoFrame);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        setWidgetResizable(false);
        viewport()->setAutoFillBackground(false);
        setStyleSheet("QScrollArea, #panels { background: transparent; }");
    }
    // Narrower than the panels, it is taller by its horizontal scroll bar.
    QSize sizeHint() const override {
        if (widget() == nullptr) return QScrollArea::sizeHint();
        QSize hint = widget()->sizeHint();
        hint.rwidth() += verticalScrollBar()->sizeHint().width();
        if (scrolls_across()) hint.rheight() += horizontalScrollBar()->sizeHint().height();
        return hint;
    }
    QSize minimumSizeHint() const override { return {160, 120}; }

    // Kept in sight when the area is narrower than the panels.
    QWidget* keep_in_view = nullptr;

   protected:
    void resizeEvent(QResizeEvent* event) override {
        QScrollArea::resizeEvent(event);
        if (scrolls_across() != scrolled_across_) {
            scrolled_across_ = !scrolled_across_;
            updateGeometry();
        }
        if (keep_in_view != nullptr && scrolled_across_) bring_into_view_across();
    }

   private:
    // Left and right only: the panels' tops stay in sight.
    void bring_into_view_across() {
        QScrollBar* bar = horizontalScrollBar();
        const int left = keep_in_view->mapTo(widget(), QPoint(0, 0)).x();
        const int right = left + keep_in_view->width();
        const int shown = viewport()->width();
        if (right > bar->value() + shown) bar->setValue(right - shown);
        if (left < bar->value()) bar->setValue(left);
    }
    bool scrolls_across() const {
        return width() > 0 && widget() != nullptr &&
               width() < widget()->sizeHint().width() + verticalScrollBar()->sizeHint().width();
    }
    bool scrolled_across_ = false;
};

// The window's design size, and the part of the window's height the output takes at first.
constexpr int DESIGN_WIDTH = 1118;
constexpr int DESIGN_HEIGHT = 930;
constexpr int OUTPUT_SHARE = 7;
constexpr int SIDE_SPACING = 6;
// The editor's width at the design size, and the margins and spacing around the two columns.
constexpr int DESIGN_EDITOR_WIDTH = 498;
constexpr int GRID_MARGIN = 8;
constexpr int GRID_SPACING = 14;

QPushButton* make_button(const char* name, const char* caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setFixedSize(75, 25);
    return b;
}

// The waterfall's speed follows its channel, however it was set.
void timer_changed(Channel c, void* window) {
    if (c == Channel::Timer) static_cast<Tfmain*>(window)->tb_timerChange();
}

}  // namespace

Tfmain::Tfmain(QWidget* parent) : QMainWindow(parent) {
    setObjectName("fmain");
    setWindowTitle("fmain");
    build_controls();
    device_subscribe(timer_changed, this);
    FormCreate();
    restore_window_state();
    if (!LessonPane::welcome_dismissed()) lesson_pane_->show_welcome();
    // After the settings file: the sliders hold the user's positions when a simulation takes them.
    simulation_->restore();
    closing_signals_ = new ClosingSignals(document_, slider_recorder_, settings_, this);
    document_->offer_recovery();
}

Tfmain::~Tfmain() {
    // The panes hidden as the window goes leave nothing to fit: once this destructor is done
    // they would be telling a window that is no longer one.
    fitting_docks_ = true;
    for (QDockWidget* dock : findChildren<QDockWidget*>()) dock->disconnect(this);
    // The process's own handlers come back first.
    delete closing_signals_;
    device_unsubscribe(timer_changed, this);
}

// ---- building the window ----

void Tfmain::build_controls() {
    resize(DESIGN_WIDTH, DESIGN_HEIGHT);
    // By name: the help window, a main window too, inherits this style sheet.
    // A docked pane's title bar keeps the toolkit's colours, readable over the window's.
    setStyleSheet(QStringLiteral("#fmain, #central { background: %1; } "
                                 "QDockWidget::title { background: palette(window); "
                                 "padding: 3px; }")
                      .arg(css(window_colours::WINDOW_BACKGROUND)));
    auto* central = new QWidget(this);
    central->setObjectName("central");
    setCentralWidget(central);

    // The editor over the output, the line between them movable; the column beside them holds
    // the panels over the buttons.
    editor_split_ = new QSplitter(Qt::Vertical, central);
    editor_split_->setObjectName("editor_split");
    editor_split_->setChildrenCollapsible(false);
    auto* editor_column = new QWidget(editor_split_);
    auto* output_column = new QWidget(editor_split_);

    mcod = new CodeEditor(editor_column);
    mcod->setObjectName("mcod");
    mcod->setLineWrapMode(QPlainTextEdit::NoWrap);
    mcod->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mcod->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mcod->setFont(fixed_font(TEXT_PX));
    QPalette editor_colours = mcod->palette();
    editor_colours.setColor(QPalette::Base, Qt::black);
    editor_colours.setColor(QPalette::Text, QColor(0, 255, 0));
    mcod->setPalette(editor_colours);
    // The editor keeps a usable size on a small screen; the panels beside it give way first.
    mcod->setMinimumSize(320, 150);
    connect(mcod, &QPlainTextEdit::textChanged, this, &Tfmain::mcodChange);
    connect(mcod, &CodeEditor::keyUp, this, &Tfmain::show_cursor_position);
    connect(mcod, &CodeEditor::mouseUp, this, &Tfmain::show_cursor_position);

    mdb = new QPlainTextEdit(output_column);
    mdb->setObjectName("mdb");
    mdb->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mdb->setMinimumSize(320, 80);
    mdb->setTabChangesFocus(true);
    enable_wheel_zoom(mdb);
    mdb->setMaximumBlockCount(MAX_OUTPUT_LINES);
    // Nobody undoes a program's output; an undo history would keep every line ever printed.
    mdb->setUndoRedoEnabled(false);
    // The panels follow the editor's zoom.
    mcod->installEventFilter(this);

    msrc = new QPlainTextEdit("msrc", central);
    msrc->setObjectName("msrc");
    msrc->setLineWrapMode(QPlainTextEdit::NoWrap);
    msrc->setVisible(false);
    hide_from_user(msrc);

    side_ = new QWidget(central);
    side_->setObjectName("side");
    // The three panels scroll as one when the window is smaller than they are; at the window's
    // design size they show whole and the scroll area is not seen. Every control is made in the
    // widget it stays in: moving a made one restyles it and all it holds, which under the
    // window's style sheet costs start-up milliseconds.
    auto* panel_scroll = new PanelScrollArea(side_);
    panel_scroll_ = panel_scroll;
    panel_scroll_->setObjectName("panel_scroll");
    panels_ = new QWidget(panel_scroll_->viewport());
    panels_->setObjectName("panels");
    auto* panel_row = new QHBoxLayout(panels_);
    panel_row->setContentsMargins(0, 0, 0, 0);
    panel_row->setSpacing(14);
    panel_row->addWidget(build_variable_panel(panels_), 0, Qt::AlignTop);
    GroupBox1 = new DevicePanelBox(panels_);
    panel_row->addWidget(GroupBox1, 0, Qt::AlignTop);
    panel_row->addWidget(build_sdr_box(panels_), 0, Qt::AlignTop);
    // Beside a docked pane the sliders stay in sight rather than the variables.
    panel_scroll->keep_in_view = GroupBox1;
    panel_scroll_->setWidget(panels_);
    panel_scroll_->setAccessibleName("Panels");
    // The sliders inside take the focus; the area scrolls to the one that has it.
    panel_scroll_->setFocusPolicy(Qt::NoFocus);

    bottom_ = new QWidget(side_);
    bottom_->setObjectName("buttons");
    bottom_grid_ = new QGridLayout(bottom_);
    bottom_grid_->setContentsMargins(0, 0, 0, 0);
    build_run_buttons(bottom_);
    build_file_buttons(bottom_);
    arrange_bottom(ButtonRows::Design);
    // Narrower than that, the buttons take three rows.
    bottom_->setMinimumWidth(bottom_width(ButtonRows::Three));

    auto* side_rows = new QVBoxLayout(side_);
    side_rows->setContentsMargins(0, 0, 0, 0);
    side_rows->setSpacing(SIDE_SPACING);
    side_rows->addWidget(panel_scroll_, 0);
    side_rows->addWidget(bottom_, 0);
    side_rows->addStretch(1);
    // Its height decides how the panels are laid out.
    side_->installEventFilter(this);

    auto* grid = new QGridLayout(central);
    grid->setContentsMargins(GRID_MARGIN, 0, GRID_MARGIN, 4);
    grid->setHorizontalSpacing(GRID_SPACING);
    auto* editor_rows = new QVBoxLayout(editor_column);
    editor_rows->setContentsMargins(0, 0, 0, 0);
    editor_rows->setSpacing(2);
    editor_rows->addWidget(mcod, 1);
    find_bar = new FindBar(mcod, editor_column);
    editor_rows->addWidget(find_bar);
    connect(find_bar, &FindBar::message, this, [this](const QString& text) {
        if (!text.isEmpty()) set_status(text);
    });
    // The output, and under it the plain words for a report that ended the run.
    auto* output_rows = new QVBoxLayout(output_column);
    output_rows->setContentsMargins(0, 0, 0, 0);
    output_rows->setSpacing(2);
    // The output and, on a tab beside it, the checker's findings (View > Problems), as IDEs have
    // them: the list takes none of the panels' height.
    output_tabs_ = new QTabWidget(output_column);
    output_tabs_->setObjectName("output_tabs");
    output_tabs_->setAccessibleName("Output and Problems");
    output_tabs_->setDocumentMode(true);
    output_tabs_->addTab(mdb, "Output");
    output_tabs_->tabBar()->setAccessibleTabName(0, "Output tab");  // the pane is "Output"
    // The tab bar takes the keys itself, between the program and the output.
    output_tabs_->setFocusPolicy(Qt::NoFocus);  // passed on to the bar: given back below
    output_tabs_->tabBar()->setFocusPolicy(Qt::TabFocus);
    output_tabs_->tabBar()->setObjectName("output_tab_bar");
    output_tabs_->tabBar()->setAccessibleName("Output and Problems");
    output_rows->addWidget(output_tabs_, 1);
    // The cause comes first; the general words about reports wait behind "More".
    auto* explanation_body = new QWidget(output_column);
    explanation_body->setObjectName("explanation_body");
    explanation_body->setStyleSheet("#explanation_body { background: #fff8d0; }");
    explanation_ = new QLabel(explanation_body);
    explanation_->setObjectName("explanation");
    explanation_->setWordWrap(true);
    explanation_->setTextFormat(Qt::RichText);
    explanation_->setTextInteractionFlags(Qt::TextBrowserInteraction);
    explanation_->setAccessibleDescription("Explanation of the error report");
    explanation_->setStyleSheet("QLabel { background: #fff8d0; color: #202020; padding: 4px; }");
    // A few lines high at most, so the editor keeps its room; a longer text scrolls.
    auto* explanation_scroll = new QScrollArea(output_column);
    explanation_scroll->setObjectName("explanation_scroll");
    auto* explanation_more = new QPushButton("More", explanation_body);
    explanation_more->setObjectName("explanation_more");
    explanation_more->setCheckable(true);
    explanation_more->setFlat(true);
    explanation_more->setAccessibleName("More about this error");
    explanation_more->setAccessibleDescription(
        "Shows or hides what the error report means in general");
    auto* explanation_rows = new QHBoxLayout(explanation_body);
    explanation_rows->setContentsMargins(0, 0, 0, 0);
    explanation_rows->setSpacing(0);
    explanation_rows->addWidget(explanation_, 1);
    explanation_rows->addWidget(explanation_more, 0, Qt::AlignTop);
    explanation_scroll->setWidget(explanation_body);
    explanation_scroll->setWidgetResizable(true);
    explanation_scroll->setFrameShape(QFrame::NoFrame);
    explanation_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    explanation_scroll->setMaximumHeight(96);
    explanation_scroll->hide();
    output_rows->addWidget(explanation_scroll);
    // Both grow with the window, each by its share; the line between them stays where the
    // user put it.
    editor_split_->setSizes({(OUTPUT_SHARE - 1) * DESIGN_HEIGHT, DESIGN_HEIGHT});
    editor_split_->setStretchFactor(0, 1);
    editor_split_->setStretchFactor(1, 1);
    connect(editor_split_, &QSplitter::splitterMoved, this, [this] { split_chosen_ = true; });
    output_column->installEventFilter(this);
    grid->addWidget(editor_split_, 0, 0);
    grid->addWidget(side_, 0, 1);
    grid->setColumnStretch(0, 1);

    sb = new QStatusBar(this);
    sb->setObjectName("sb");
    sb->setSizeGripEnabled(false);
    sb->setStyleSheet("QStatusBar { background: palette(window); }");
    status_panel_ = new QLabel(sb);
    status_panel_->setObjectName("sb_panel");
    // Messages quote titles and names from files: shown as written.
    status_panel_->setTextFormat(Qt::PlainText);
    // A long message is cut at the window's edge; it never makes the window wider.
    status_panel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    sb->addWidget(status_panel_, 1);
    setStatusBar(sb);

    // Never shown: their handlers are operations that other handlers call.
    auto* bt_showvars = make_button("bt_showvars", "showvars", central);
    auto* bt_sini = make_button("bt_sini", "saveini", central);
    auto* bt_showgage = make_button("bt_showgage", "showgage", central);
    for (QPushButton* b : {bt_showvars, bt_sini, bt_showgage}) {
        b->setVisible(false);
        hide_from_user(b);
    }
    connect(bt_showvars, &QPushButton::clicked, this, &Tfmain::bt_showvarsClick);
    connect(bt_showgage, &QPushButton::clicked, this, &Tfmain::bt_showgageClick);

    connect(bt_load, &QPushButton::clicked, this, &Tfmain::bt_loadClick);
    connect(bt_save, &QPushButton::clicked, this, &Tfmain::bt_saveClick);
    connect(bt_savas, &QPushButton::clicked, this, &Tfmain::bt_savasClick);
    connect(bt_sini, &QPushButton::clicked, this, &Tfmain::bt_siniClick);
    build_parts();
    build_menus();
    set_accessible_names();
    setAcceptDrops(true);
}

// The parts the handlers forward to, each with its state; the frame wires them to the status
// bar, the docks and each other.
void Tfmain::build_parts() {
    settings_ = new SettingsFile(this);
    build_document();
    quick_open_ = new QuickOpen(document_, this);
    // The editor and the output would take a drop as text; elsewhere the window takes it itself.
    quick_open_->watch_drops(mcod);
    quick_open_->watch_drops(mcod->viewport());
    quick_open_->watch_drops(mdb->viewport());
    problems_ = new ProblemsPane(mcod, output_tabs_);
    setTabOrder(mcod, output_tabs_->tabBar());
    setTabOrder(output_tabs_->tabBar(), mdb);
    setTabOrder(mdb, problems_->list());
    connect(problems_, &ProblemsPane::helpRequested, this, &Tfmain::show_help_page);
    build_debugger();
    // A run's output is what the student looks at next.
    connect(debugger_, &Debugger::runStarting, this,
            [this] { output_tabs_->setCurrentWidget(mdb); });
    // The waterfall marks the row drawn at the moment the machine shows, while it is in view.
    connect(debugger_, &Debugger::runStarting, Iprev, &WaterfallView::forget_stamps);
    connect(debugger_, &Debugger::futureDropped, Iprev,
            [this](const RunMoment& from) { Iprev->forget_stamps_after(from.clock_ms); });
    connect(debugger_, &Debugger::momentShown, Iprev,
            [this](const RunMoment& moment) { Iprev->mark_time(moment.clock_ms); });
    connect(run_control, &RunControl::stateChanged, Iprev, [this](RunControl::State state) {
        if (state == RunControl::State::Running) Iprev->mark_time(std::nullopt);
    });
    simulation_ = new SimulationControl(GroupBox1, run_control, this);
    connect(simulation_, &SimulationControl::status, this, &Tfmain::set_status);
    mission_ = new MissionControl(simulation_, run_control, this);
    connect(mission_, &MissionControl::status, this, &Tfmain::set_status);
    connect(mission_, &MissionControl::dockMade, this, &Tfmain::watch_dock);
    slider_recorder_ = new SliderRecorder(run_control, this);
    connect(slider_recorder_, &SliderRecorder::status, this, &Tfmain::set_status);
    slider_recorder_->set_program_name([this] { return program_name(); });
    build_step_back();
    connect(debugger_, &Debugger::momentShown, mission_, &MissionControl::show_moment);
    telemetry_ = new Telemetry(debugger_, document_, this);
    connect(telemetry_, &Telemetry::status, this, &Tfmain::set_status);
    connect(telemetry_, &Telemetry::placeWanted, this, &Tfmain::place_telemetry_pane);
    connect(telemetry_, &Telemetry::dockMade, this, &Tfmain::watch_dock);
    build_lessons();
}

QWidget* Tfmain::build_variable_panel(QWidget* parent) {
    Panel1 = new QWidget(parent);
    Panel1->setObjectName("Panel1");
    Panel1->setAttribute(Qt::WA_StyledBackground);
    Panel1->setStyleSheet(QStringLiteral("#Panel1 { background: %1; }")
                              .arg(css(window_colours::VARIABLE_PANEL_BACKGROUND)));
    Label2 = new QLabel("Variables", Panel1);
    Label2->setObjectName("Label2");
    Label2->setStyleSheet("color: " + css(window_colours::PANEL_TEXT));
    for (int k = 0; k < 26; ++k) {
        auto* l = new QLabel("---", Panel1);
        l->setObjectName(QStringLiteral("l%1").arg(QChar('A' + k)));
        l->setStyleSheet("color: yellow; background: black;");
        variable_labels_[k] = l;
    }
    arrange_variable_panel(1.0, false, 0);
    return Panel1;
}

// One column of 26 rows, as designed, or two of 13 for a short screen; `height` is the least
// height of the panel, to stand as tall as the panels beside it.
void Tfmain::arrange_variable_panel(double scale, bool two_columns, int height) {
    auto px = [scale](int v) { return qRound(v * scale); };
    const int text_px = px(TEXT_PX);
    Label2->setFont(fixed_font(text_px, true));
    Label2->move(px(16), px(12));
    Label2->adjustSize();
    const int rows = two_columns ? 13 : 26;
    // Two columns spread their rows a little down the panel's height.
    const int pitch =
        two_columns ? std::clamp((height - px(58)) / rows, px(24), px(30)) : px(24);
    for (int k = 0; k < 26; ++k) {
        QLabel* l = variable_labels_[k];
        l->setFont(fixed_font(text_px));
        l->setGeometry(px(16) + (k / rows) * px(138), px(48) + pitch * (k % rows), px(130),
                       text_px + px(4));
    }
    const int columns = two_columns ? 2 : 1;
    const int width = px(16) + columns * px(138) - px(1);
    const int rows_height = two_columns ? px(48) + rows * pitch + px(10) : px(721);
    Panel1->setFixedSize(width, std::max(rows_height, height));
}

QGroupBox* Tfmain::build_sdr_box(QWidget* parent) {
    gb_sdr = new QGroupBox("SDR-Sim", parent);
    gb_sdr->setObjectName("gb_sdr");
    gb_sdr->setStyleSheet(
        QStringLiteral("QGroupBox { color: %1; }").arg(css(window_colours::PANEL_TEXT)));
    Iprev = new WaterfallView(gb_sdr);
    sdr_axis_ = new WaterfallAxis(gb_sdr);
    sdr_ruler_ = new WaterfallRuler(gb_sdr);
    tb_timer = make_channel_slider(Channel::Timer, gb_sdr);
    GroupBox1->adopt_slider(Channel::Timer, tb_timer);
    arrange_sdr_box(1.0, GroupBox1->height());
    t_sdr = new QTimer(this);
    t_sdr->setObjectName("t_sdr");
    t_sdr->setInterval(300);
    connect(t_sdr, &QTimer::timeout, this, &Tfmain::t_sdrTimer);
    return gb_sdr;
}

// The box as tall as the device panel: its speed slider at the foot, above it the channel axis,
// and above that as many of the waterfall's newest rows as there is room for, with the time
// ruler at their side.
void Tfmain::arrange_sdr_box(double scale, int height) {
    auto px = [scale](int v) { return qRound(v * scale); };
    const QFont title = fixed_font(px(TEXT_PX));
    gb_sdr->setFont(title);
    const int width =
        std::max(121, QFontMetrics(title).horizontalAdvance(gb_sdr->title()) + 24);
    gb_sdr->setFixedSize(width, height);
    const int slider_top = std::min(height - px(41), px(32) + SDR_HEIGHT + 7);
    tb_timer->setGeometry((width - 105) / 2, slider_top, 105, px(33));
    const int axis_height = px(24);
    Iprev->set_rows(slider_top - 7 - px(32) - axis_height);
    Iprev->move((width - Iprev->width()) / 2, px(32));
    const int image_bottom = Iprev->y() + Iprev->height();
    sdr_axis_->setGeometry(2, image_bottom + 1, width - 4, axis_height);
    sdr_axis_->set_image_left(Iprev->x() - 2);
    sdr_axis_->set_scale(scale);
    const int ruler_left = Iprev->x() + Iprev->width() + 1;
    sdr_ruler_->setGeometry(ruler_left, Iprev->y(), std::max(1, width - 3 - ruler_left),
                            Iprev->height());
}

void Tfmain::build_run_buttons(QWidget* parent) {
    run_row_ = new QWidget(parent);
    auto* row = new QHBoxLayout(run_row_);
    row->setContentsMargins(0, 0, 0, 0);
    bt_run = make_button("bt_run", "RUN", run_row_);
    bt_pause = make_button("bt_pause", "PAUSE", run_row_);
    bt_stop = make_button("bt_stop", "STOP", run_row_);
    bt_step = make_button("bt_step", "STEP", run_row_);
    bt_stepback = make_button("bt_stepback", "BACK", run_row_);
    bt_pause->setEnabled(false);
    bt_stop->setEnabled(false);
    bt_stepback->setEnabled(false);
    for (QPushButton* b : {bt_run, bt_pause, bt_stop, bt_step, bt_stepback}) row->addWidget(b);
    row->addStretch(1);
    cb_speed = new QComboBox(parent);
    cb_speed->setObjectName("cb_speed");
    cb_speed->setAccessibleName("Run speed");
    // order: RUN_SPEEDS; each entry's data is its rate in statements per second
    for (const RunSpeed& speed : RUN_SPEEDS) {
        const QString text = QString::fromUtf8(speed.text);
        cb_speed->addItem(text, speed.rate);
        const QString tip = QString::fromUtf8(speed.tip);
        cb_speed->setItemData(cb_speed->count() - 1, text + ": " + tip, Qt::ToolTipRole);
    }
    cb_speed->setToolTip(cb_speed->itemData(0, Qt::ToolTipRole).toString());
    cb_speed->setFixedWidth(100);
    connect(cb_speed, &QComboBox::currentIndexChanged, this, &Tfmain::cb_speedChange);
    Label5 = new QLabel("BETA 150130", parent);
    Label5->setObjectName("Label5");
    QFont f = font();
    f.setPixelSize(32);
    Label5->setFont(f);
    Label5->setStyleSheet("color: aqua;");
    connect(bt_run, &QPushButton::clicked, this, &Tfmain::bt_runClick);
    connect(bt_pause, &QPushButton::clicked, this, &Tfmain::bt_pauseClick);
    connect(bt_stop, &QPushButton::clicked, this, &Tfmain::bt_stopClick);
    connect(bt_step, &QPushButton::clicked, this, &Tfmain::bt_stepClick);
    connect(bt_stepback, &QPushButton::clicked, this, &Tfmain::bt_stepbackClick);
}

void Tfmain::build_file_buttons(QWidget* parent) {
    file_box_ = new QWidget(parent);
    file_column_ = new QBoxLayout(QBoxLayout::TopToBottom, file_box_);
    bt_load = make_button("bt_load", "LOAD", file_box_);
    bt_save = make_button("bt_save", "SAVE", file_box_);
    bt_savas = make_button("bt_savas", "SAVE AS", file_box_);
    bt_save->setEnabled(false);
    for (QPushButton* b : {bt_load, bt_save, bt_savas}) file_column_->addWidget(b);
}

// As designed, the file buttons in a column beside the run buttons, the speed and the version
// under these; in two rows, the run buttons and the file buttons, then the speed and the
// version; in three, for a narrow column, the run buttons, the file buttons with BACK under
// STEP, the rest.
void Tfmain::arrange_bottom(ButtonRows rows) {
    button_rows_ = rows;
    bt_stepback->parentWidget()->layout()->removeWidget(bt_stepback);
    if (rows == ButtonRows::Three) {
        file_column_->addWidget(bt_stepback);
    } else {
        static_cast<QBoxLayout*>(run_row_->layout())->insertWidget(4, bt_stepback);
    }
    for (QWidget* w : {run_row_, file_box_, static_cast<QWidget*>(cb_speed),
                       static_cast<QWidget*>(Label5)}) {
        bottom_grid_->removeWidget(w);
    }
    const bool design = rows == ButtonRows::Design;
    file_column_->setDirection(design ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight);
    file_column_->setContentsMargins(0, design ? 24 : 0, 0, 0);
    file_column_->setSpacing(design ? 7 : 6);
    switch (rows) {
        case ButtonRows::Design:
            bottom_grid_->addWidget(run_row_, 0, 0);
            bottom_grid_->addWidget(cb_speed, 1, 0, Qt::AlignLeft);
            bottom_grid_->addWidget(Label5, 2, 0, Qt::AlignRight | Qt::AlignBottom);
            bottom_grid_->addWidget(file_box_, 0, 1, 3, 1, Qt::AlignTop);
            break;
        case ButtonRows::Two:
            bottom_grid_->addWidget(run_row_, 0, 0);
            bottom_grid_->addWidget(file_box_, 0, 1, Qt::AlignRight);
            bottom_grid_->addWidget(cb_speed, 1, 0, Qt::AlignLeft | Qt::AlignVCenter);
            bottom_grid_->addWidget(Label5, 1, 1, Qt::AlignRight | Qt::AlignVCenter);
            break;
        case ButtonRows::Three:
            bottom_grid_->addWidget(run_row_, 0, 0, 1, 2);
            bottom_grid_->addWidget(file_box_, 1, 0, 1, 2, Qt::AlignLeft);
            bottom_grid_->addWidget(cb_speed, 2, 0, Qt::AlignLeft | Qt::AlignVCenter);
            bottom_grid_->addWidget(Label5, 2, 1, Qt::AlignRight | Qt::AlignVCenter);
            break;
    }
    bottom_grid_->setRowStretch(2, design ? 1 : 0);
    bottom_grid_->setColumnMinimumWidth(2, design || rows == ButtonRows::Two ? 14 : 0);
    bottom_grid_->setColumnStretch(0, 1);
    bottom_grid_->invalidate();
}

// The bottom's height and least width in each arrangement, for the choice between them.
int Tfmain::bottom_height(ButtonRows rows) const {
    const int button = bt_run->height();
    const int spacing = std::max(0, bottom_grid_->verticalSpacing());
    const int speed = cb_speed->sizeHint().height();
    const int version = Label5->sizeHint().height();
    switch (rows) {
        case ButtonRows::Design:
            return std::max(24 + 3 * button + 2 * 7, button + speed + version + 2 * spacing);
        case ButtonRows::Two:
            return button + spacing + std::max({button, speed, version});
        case ButtonRows::Three:
            break;
    }
    return 2 * (button + spacing) + std::max({speed, version});
}

int Tfmain::bottom_width(ButtonRows rows) const {
    const int spacing = std::max(0, bottom_grid_->horizontalSpacing());
    const int button = bt_load->width();
    // Five run buttons, or four with BACK in the row below.
    const int run_buttons = rows == ButtonRows::Three ? 4 : 5;
    const int run = run_buttons * button + (run_buttons - 1) * std::max(0, run_row_->layout()->spacing());
    switch (rows) {
        case ButtonRows::Design:
            return run + button + 2 * spacing + 14;
        case ButtonRows::Two:
            return run + 3 * button + 2 * 6 + 2 * spacing + 14;
        case ButtonRows::Three:
            break;
    }
    return run;
}

// The panels at the editor's zoom, laid out as designed when the column beside the editor is
// tall enough for that, else compact: the variables in two columns, the rows closer together,
// a shorter waterfall, the buttons in two rows (three in a narrow column). What still does not
// fit scrolls.
void Tfmain::arrange_panels() {
    if (side_ == nullptr || arranging_) return;
    arranging_ = true;
    const double scale = static_cast<double>(text_pixel_size(mcod)) / TEXT_PX;
    const int room = side_->height() - SIDE_SPACING;
    const int across = side_->width();
    auto rows_for = [&](bool compact) {
        const ButtonRows wanted = compact ? ButtonRows::Two : ButtonRows::Design;
        return across > 0 && across < bottom_width(wanted) ? ButtonRows::Three : wanted;
    };
    const bool compact =
        room > 0 && DevicePanelBox::height_for(scale, 1.0) + bottom_height(rows_for(false)) > room;
    // Compact rows spread out as far as the column's height allows, in steps of a tenth.
    double spread = 1.0;
    if (compact) {
        const int free = room - bottom_height(rows_for(true));
        spread = 0.9;
        while (spread > 0 && DevicePanelBox::height_for(scale, spread) > free) spread -= 0.1;
        spread = std::max(0.0, std::round(spread * 10) / 10);
    }
    if (scale != GroupBox1->scale() || spread != GroupBox1->spread() || !panels_arranged_) {
        panels_arranged_ = true;
        GroupBox1->arrange(scale, spread);
        const int height = GroupBox1->height();
        arrange_variable_panel(scale, compact, height - qRound(8 * scale));
        arrange_sdr_box(scale, height);
        panels_->adjustSize();
        panel_scroll_->updateGeometry();
    }
    if (rows_for(compact) != button_rows_) arrange_bottom(rows_for(compact));
    arranging_ = false;
}

// After a zoom: a window that is not maximised grows, as far as the screen allows, until the
// panels fit beside the editor again.
void Tfmain::grow_for_panels() {
    if (isMaximized() || isFullScreen() || !isVisible() || screen() == nullptr) return;
    arrange_panels();
    // The editor keeps its width, or grows with its text from the design's.
    const int editor = std::max(editor_split_->width(),
                                qRound(DESIGN_EDITOR_WIDTH * GroupBox1->scale()));
    const QSize needed(
        width() - centralWidget()->width() + 2 * GRID_MARGIN + GRID_SPACING + editor +
            panel_scroll_->sizeHint().width(),
        height() - side_->height() + panels_->sizeHint().height() + SIDE_SPACING +
            bottom_height(button_rows_));
    const QRect available = screen()->availableGeometry();
    const QSize extra = frameGeometry().size() - size();
    const QSize wanted = needed.boundedTo(available.size() - extra).expandedTo(size());
    if (wanted == size()) return;
    resize(wanted);
    QRect frame(frameGeometry().topLeft(), wanted + extra);
    if (!available.contains(frame)) {
        frame.moveRight(std::min(frame.right(), available.right()));
        frame.moveBottom(std::min(frame.bottom(), available.bottom()));
        frame.moveLeft(std::max(frame.left(), available.left()));
        frame.moveTop(std::max(frame.top(), available.top()));
        move(frame.topLeft());
    }
}

QSlider* Tfmain::slider(Channel c) const {
    return c == Channel::Timer ? tb_timer : GroupBox1->slider(c);
}

QProgressBar* Tfmain::pb_spd() const {
    return GroupBox1->pb_spd;
}

QString Tfmain::status_text() const {
    return status_panel_->text();
}

void Tfmain::set_status(const QString& text) {
    status_panel_->setText(text);
}

// Beside the window when the screen has room for the charts there; else docked at the window's
// right, where the editor and the panels give way to it but stay in sight.
void Tfmain::place_telemetry_pane(TelemetryPane* pane) {
    constexpr int WANTED_WIDTH = 900;
    addDockWidget(Qt::RightDockWidgetArea, pane);
    const int least = std::max(pane->minimumSizeHint().width(), 480);
    const QRect available = screen()->availableGeometry();
    const QRect frame = frameGeometry();
    const int right = available.right() - frame.right();
    const int left = frame.left() - available.left();
    if (!isMaximized() && !isFullScreen() && std::max(left, right) >= least) {
        pane->setFloating(true);
        const int room = std::max(left, right);
        const QSize size(std::min(WANTED_WIDTH, room) - (pane->frameGeometry().width() - pane->width()),
                         std::min(frame.height(), available.height()) -
                             (pane->frameGeometry().height() - pane->height()));
        pane->resize(size.expandedTo(pane->minimumSizeHint()));
        const int x = right >= left ? frame.right() + 1 : frame.left() - std::min(WANTED_WIDTH, room);
        pane->move(x, std::max(frame.top(), available.top()));
        return;
    }
    // The width the editor and the panels leave at their full size, within the pane's limits.
    const int spare = width() - (mcod->minimumWidth() + panel_scroll_->sizeHint().width() + 30);
    resizeDocks({pane}, {std::max(least, std::min(WANTED_WIDTH, spare))}, Qt::Horizontal);
}

void Tfmain::watch_dock(QDockWidget* dock) {
    if (dock->property("watched").toBool()) return;
    dock->setProperty("watched", true);
    const QPointer<QDockWidget> watched(dock);
    const auto fit = [this, watched] {
        if (watched != nullptr) fit_docks(watched);
    };
    connect(dock, &QDockWidget::visibilityChanged, this, fit);
    connect(dock, &QDockWidget::topLevelChanged, this, fit);
    connect(dock, &QDockWidget::dockLocationChanged, this, fit);
    if (dock->isVisible()) fit();
}

// A pane docked beside others on their side becomes a tab among them, rather than stacking: the
// toolkit would grow the window to the stacked panes' least heights. Beside the editor it takes
// what the editor's columns and the sliders leave.
void Tfmain::fit_docks(QDockWidget* dock) {
    if (screen() == nullptr || fitting_docks_) return;
    const QScopedValueRollback<bool> busy(fitting_docks_, true);
    if (!dock->isHidden() && !dock->isFloating()) {
        const Qt::DockWidgetArea area = dockWidgetArea(dock);
        for (QDockWidget* other : findChildren<QDockWidget*>(Qt::FindDirectChildrenOnly)) {
            if (other == dock || other->isHidden() || other->isFloating() ||
                dockWidgetArea(other) != area) {
                continue;
            }
            if (!tabifiedDockWidgets(dock).contains(other)) {
                tabifyDockWidget(other, dock);
                dock->raise();
            }
            break;
        }
    }
    make_room_for_pane(dock);
    QTimer::singleShot(0, this, &Tfmain::keep_on_screen);
}

// A maximised window is the screen's free area already; the toolkit may still have made it
// larger while a pane was laid out.
void Tfmain::keep_on_screen() {
    if (isFullScreen() || !isVisible() || screen() == nullptr) return;
    const QRect available = screen()->availableGeometry();
    const QSize extra = frameGeometry().size() - size();
    const QSize room = available.size() - extra;
    if (width() > room.width() || height() > room.height()) {
        resize(size().boundedTo(room).expandedTo(minimumSizeHint()));
    }
    if (isMaximized()) return;
    QRect frame(frameGeometry().topLeft(), size() + extra);
    if (available.contains(frame)) return;
    frame.moveRight(std::min(frame.right(), available.right()));
    frame.moveBottom(std::min(frame.bottom(), available.bottom()));
    frame.moveLeft(std::max(frame.left(), available.left()));
    frame.moveTop(std::max(frame.top(), available.top()));
    move(frame.topLeft());
}

// ---- start-up ----

void Tfmain::FormCreate() {
    QLocale::setDefault(QLocale::c());  // '.' as the decimal separator, whatever the locale
    // A bad settings file is reported, and start-up goes on: the window is fully usable.
    settings_->read();
    set_caption();
    prep = PrepState{};
    // The waterfall: one tick on an empty row, the whole picture black, then the timer.
    sdr_init();
    Iprev->update();
    bt_showvarsClick();
    tb_timerChange();
    t_sdr->start();
    tb_magxChange();
    GroupBox1->flush();
    bt_showvarsClick();
}

// ---- editor ----

void Tfmain::mcodChange() {
    if (debugger_->active()) {
        set_status("Edited: the run goes on with the program as it was at RUN.");
    }
}

void Tfmain::show_cursor_position() {
    const QTextCursor cursor = mcod->textCursor();
    const int p = cursor.selectionEnd();
    const int y = mcod->document()->findBlock(p).blockNumber();
    const int x = p - cursor.block().position();
    set_status(QStringLiteral("Line: %1  X: %2").arg(y).arg(x));
}

void Tfmain::bt_showvarsClick() {
    debugger_->show_variables();
}

// ---- device panel and waterfall ----

void Tfmain::bt_showgageClick() {
    GroupBox1->refresh_labels();
}

void Tfmain::tb_magxChange() {
    bt_showgageClick();
}

void Tfmain::tb_timerChange() {
    const int row_ms =
        sdr_interval_ms(channel_position(Channel::Timer), info_of(Channel::Timer).maximum);
    t_sdr->setInterval(row_ms);
    Iprev->set_row_ms(row_ms);
    sdr_ruler_->set_row_ms(row_ms);
    sdr_axis_->set_time_legend(sdr_ruler_->legend());
}

void Tfmain::t_sdrTimer() {
    // Every row drawn while a run loop is active carries the transmission, even when the
    // loop is held up in a math error box.
    if (debugger_->active()) tx_inject();
    sdr_tick();
    // The rows a running program's statements fill stand for moments of its run.
    const RunControl::State run = run_control->state();
    Iprev->row_scrolled(run == RunControl::State::Running || run == RunControl::State::Waiting
                            ? std::optional<int32_t>(run_control->clock_now())
                            : std::nullopt);
    Iprev->update();
    sdr_axis_->refresh();
    bt_showvarsClick();
    telemetry_->sample();
}

// ---- accessibility ----

// A label keeps no name of its own: a screen reader then reads the text it shows ("A: 1",
// "Stop in line: 3"), and hears each change of it. What the label stands for is its
// description.
void Tfmain::set_accessible_names() {
    mcod->setAccessibleName("Program");
    mdb->setAccessibleName("Output");
    Panel1->setAccessibleName("Variables");
    Iprev->setAccessibleName("Waterfall");
    sb->setAccessibleName("Status bar");
    status_panel_->setAccessibleDescription("Status");
    Label5->setAccessibleDescription("Version");
    for (int k = 0; k < VARIABLE_COUNT; ++k) {
        variable_labels_[k]->setAccessibleDescription(
            QStringLiteral("Variable %1").arg(QChar('A' + k)));
    }
}

// ---- any screen ----

// At the design size when the screen has room for it, else the whole screen, frame included,
// so that no button lies beyond the screen's edge. A window manager may not have told the size
// of its frame yet: the window is maximised too, which it fits to the screen with its frame.
void Tfmain::fit_to_screen() {
    const QRect available = screen()->availableGeometry();
    const QRect frame = frameGeometry();
    const QSize extra = frame.size() - size();
    const QSize room = available.size() - extra;
    const bool fits = room.width() >= width() && room.height() >= height();
    if (fits && available.contains(frame)) return;
    move(available.topLeft());
    if (fits) return;
    resize(room.expandedTo(minimumSizeHint()));
    setWindowState(windowState() | Qt::WindowMaximized);
}

// Out of the maximised state the window manager gives back the size from before it, which was
// chosen before the frame's size was known: that size, when it comes, is brought within the
// screen.
void Tfmain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && fitted_to_screen_) {
        const auto* change = static_cast<QWindowStateChangeEvent*>(event);
        unmaximised_ = (change->oldState() & Qt::WindowMaximized) && !isMaximized();
        if (unmaximised_) QTimer::singleShot(0, this, &Tfmain::keep_on_screen);
    }
}

void Tfmain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (!unmaximised_) return;
    unmaximised_ = false;
    QTimer::singleShot(0, this, &Tfmain::keep_on_screen);
}

void Tfmain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (fitted_to_screen_) return;
    fitted_to_screen_ = true;
    // A window put back where the user left it stays there while the screen has room for it.
    fit_to_screen();
    choose_text_size();
}

// ---- dropped files ----

void Tfmain::dragEnterEvent(QDragEnterEvent* event) {
    quick_open_->take_drop(event);
}

void Tfmain::dropEvent(QDropEvent* event) {
    quick_open_->take_drop(event);
}

// ---- what the frame watches ----

// The panels follow the editor's zoom and the height beside it; the buttons' menu entries
// follow the buttons.
bool Tfmain::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == mcod && event->type() == QEvent::FontChange) ||
        (watched == side_ && event->type() == QEvent::Resize)) {
        arrange_panels();
    }
    if (watched == mcod && event->type() == QEvent::FontChange) keep_editor_columns();
    if (watched == editor_split_->widget(1) && event->type() == QEvent::Resize) {
        set_default_split();
    }
    if (event->type() == QEvent::EnabledChange) mirror_button_state(watched);
    return QMainWindow::eventFilter(watched, event);
}
