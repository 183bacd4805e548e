#include "Ucompiler.h"

#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QUrl>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QSlider>
#include <QStatusBar>
#include <QTextBlock>
#include <QTimer>
#include <QVBoxLayout>

#include "code_editor.h"
#include "dialog_seams.h"
#include "device_panel_box.h"
#include "device_stmts.h"
#include "editor_commands.h"
#include "find_bar.h"
#include "interp.h"
#include "prepare.h"
#include "radio.h"
#include "mission_control.h"
#include "simulation_control.h"
#include "slider_recorder.h"
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
// hint at a few dozen text lines.
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
    // Room for the panels, and for the scroll bar beside them once they are taller than the
    // area: the bar then takes no width from them.
    QSize sizeHint() const override {
        if (widget() == nullptr) return QScrollArea::sizeHint();
        QSize hint = widget()->sizeHint();
        if (scrolls_up_and_down()) hint.rwidth() += verticalScrollBar()->sizeHint().width();
        return hint;
    }
    QSize minimumSizeHint() const override { return {160, 120}; }

   protected:
    void resizeEvent(QResizeEvent* event) override {
        QScrollArea::resizeEvent(event);
        if (scrolls_up_and_down() != scrolled_) {
            scrolled_ = !scrolled_;
            updateGeometry();
        }
    }

   private:
    bool scrolls_up_and_down() const {
        return height() > 0 && widget() != nullptr && height() < widget()->sizeHint().height();
    }
    bool scrolled_ = false;
};

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

int32_t run_clock(void* run_control) {
    return static_cast<RunControl*>(run_control)->clock_now();
}

}  // namespace

Tfmain::Tfmain(QWidget* parent) : QMainWindow(parent) {
    setObjectName("fmain");
    setWindowTitle("fmain");
    build_controls();
    device_subscribe(timer_changed, this);
    recorder_.set_clock(run_clock, run_control);
    run_control->set_recorder(&recorder_);
    FormCreate();
    // After the settings file: the sliders hold the user's positions when a simulation takes them.
    simulation_->restore();
    install_signal_handlers();
    document_->offer_recovery();
}

Tfmain::~Tfmain() {
    restore_signal_handlers();
    device_unsubscribe(timer_changed, this);
}

// ---- building the window ----

void Tfmain::build_controls() {
    resize(1118, 930);
    // By name: the help window, a main window too, inherits this style sheet.
    setStyleSheet(QStringLiteral("#fmain, #central { background: %1; }")
                      .arg(css(window_colours::WINDOW_BACKGROUND)));
    auto* central = new QWidget(this);
    central->setObjectName("central");
    setCentralWidget(central);

    mcod = new CodeEditor(central);
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

    mdb = new QPlainTextEdit(central);
    mdb->setObjectName("mdb");
    mdb->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mdb->setMinimumSize(320, 80);
    mdb->setTabChangesFocus(true);
    enable_wheel_zoom(mdb);
    mdb->setMaximumBlockCount(MAX_OUTPUT_LINES);
    // Nobody undoes a program's output; an undo history would keep every line ever printed.
    mdb->setUndoRedoEnabled(false);
    mdb->viewport()->installEventFilter(this);
    // Drops reach the editor or its viewport, whichever accepts them.
    mcod->installEventFilter(this);
    mcod->viewport()->installEventFilter(this);

    msrc = new QPlainTextEdit("msrc", central);
    msrc->setObjectName("msrc");
    msrc->setLineWrapMode(QPlainTextEdit::NoWrap);
    msrc->setVisible(false);
    hide_from_user(msrc);

    // The three panels scroll as one when the window is smaller than they are; at the window's
    // design size they show whole and the scroll area is not seen. Every control is made in the
    // widget it stays in: moving a made one restyles it and all it holds, which under the
    // window's style sheet costs start-up milliseconds.
    auto* panel_scroll = new PanelScrollArea(central);
    panel_scroll->setObjectName("panel_scroll");
    auto* panels = new QWidget(panel_scroll->viewport());
    panels->setObjectName("panels");
    auto* panel_row = new QHBoxLayout(panels);
    panel_row->setContentsMargins(0, 0, 0, 0);
    panel_row->setSpacing(14);
    panel_row->addWidget(build_variable_panel(panels), 0, Qt::AlignTop);
    GroupBox1 = new DevicePanelBox(panels);
    panel_row->addWidget(GroupBox1, 0, Qt::AlignTop);
    panel_row->addWidget(build_sdr_box(panels), 0, Qt::AlignTop);
    panel_scroll->setWidget(panels);
    panel_scroll->setAccessibleName("Panels");
    // The sliders inside take the focus; the area scrolls to the one that has it.
    panel_scroll->setFocusPolicy(Qt::NoFocus);

    auto* bottom = new QWidget(central);
    auto* bottom_row = new QHBoxLayout(bottom);
    bottom_row->setContentsMargins(0, 0, 0, 0);
    bottom_row->addWidget(build_run_buttons(bottom), 1);
    bottom_row->addWidget(build_file_buttons(bottom), 0, Qt::AlignTop);
    bottom_row->addSpacing(20);

    auto* grid = new QGridLayout(central);
    grid->setContentsMargins(8, 0, 8, 4);
    grid->setHorizontalSpacing(14);
    auto* editor_column = new QWidget(central);
    auto* editor_rows = new QVBoxLayout(editor_column);
    editor_rows->setContentsMargins(0, 0, 0, 0);
    editor_rows->setSpacing(2);
    editor_rows->addWidget(mcod, 1);
    find_bar = new FindBar(mcod, editor_column);
    editor_rows->addWidget(find_bar);
    connect(find_bar, &FindBar::message, this, [this](const QString& text) {
        if (!text.isEmpty()) set_status(text);
    });
    grid->addWidget(editor_column, 0, 0);
    grid->addWidget(panel_scroll, 0, 1);
    // The output, and under it the plain words for a report that ended the run.
    auto* output_column = new QWidget(central);
    auto* output_rows = new QVBoxLayout(output_column);
    output_rows->setContentsMargins(0, 0, 0, 0);
    output_rows->setSpacing(2);
    output_rows->addWidget(mdb, 1);
    explanation_ = new QLabel(output_column);
    explanation_->setObjectName("explanation");
    explanation_->setWordWrap(true);
    explanation_->setTextFormat(Qt::RichText);
    explanation_->setTextInteractionFlags(Qt::TextBrowserInteraction);
    explanation_->setAccessibleDescription("Explanation of the error report");
    explanation_->setStyleSheet("QLabel { background: #fff8d0; color: #202020; padding: 4px; }");
    // A few lines high at most, so the editor keeps its room; a longer text scrolls.
    auto* explanation_scroll = new QScrollArea(output_column);
    explanation_scroll->setObjectName("explanation_scroll");
    explanation_scroll->setWidget(explanation_);
    explanation_scroll->setWidgetResizable(true);
    explanation_scroll->setFrameShape(QFrame::NoFrame);
    explanation_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    explanation_scroll->setMaximumHeight(96);
    explanation_scroll->hide();
    output_rows->addWidget(explanation_scroll);
    grid->addWidget(output_column, 1, 0);
    grid->addWidget(bottom, 1, 1);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(0, 6);
    grid->setRowStretch(1, 1);

    sb = new QStatusBar(this);
    sb->setObjectName("sb");
    sb->setSizeGripEnabled(false);
    sb->setStyleSheet("QStatusBar { background: palette(window); }");
    status_panel_ = new QLabel(sb);
    status_panel_->setObjectName("sb_panel");
    sb->addWidget(status_panel_, 1);
    setStatusBar(sb);

    // Never shown: their handlers are operations that other handlers call.
    bt_showvars = make_button("bt_showvars", "showvars", central);
    bt_sini = make_button("bt_sini", "saveini", central);
    bt_showgage = make_button("bt_showgage", "showgage", central);
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
    build_document();

    build_debugger();
    simulation_ = new SimulationControl(GroupBox1, run_control, this);
    connect(simulation_, &SimulationControl::status, this, &Tfmain::set_status);
    simulation_->moved = [this] { record_simulation(); };
    mission_ = new MissionControl(simulation_, run_control, this);
    connect(mission_, &MissionControl::status, this, &Tfmain::set_status);
    slider_recorder_ = new SliderRecorder(run_control, this);
    connect(slider_recorder_, &SliderRecorder::status, this, &Tfmain::set_status);
    build_telemetry();
    build_menus();
    set_accessible_names();
    setAcceptDrops(true);
}

QWidget* Tfmain::build_variable_panel(QWidget* parent) {
    Panel1 = new QWidget(parent);
    Panel1->setObjectName("Panel1");
    Panel1->setFixedSize(153, 721);
    Panel1->setAttribute(Qt::WA_StyledBackground);
    Panel1->setStyleSheet(QStringLiteral("#Panel1 { background: %1; }")
                              .arg(css(window_colours::VARIABLE_PANEL_BACKGROUND)));
    Label2 = new QLabel("Variables", Panel1);
    Label2->setObjectName("Label2");
    Label2->setFont(fixed_font(TEXT_PX, true));
    Label2->setStyleSheet("color: " + css(window_colours::PANEL_TEXT));
    Label2->move(16, 12);
    Label2->adjustSize();
    for (int k = 0; k < 26; ++k) {
        auto* l = new QLabel("---", Panel1);
        l->setObjectName(QStringLiteral("l%1").arg(QChar('A' + k)));
        l->setFont(fixed_font(TEXT_PX));
        l->setStyleSheet("color: yellow; background: black;");
        l->setGeometry(16, 48 + 24 * k, 130, 22);
        variable_labels_[k] = l;
    }
    return Panel1;
}

QGroupBox* Tfmain::build_sdr_box(QWidget* parent) {
    gb_sdr = new QGroupBox("SDR-Sim", parent);
    gb_sdr->setObjectName("gb_sdr");
    gb_sdr->setFixedSize(121, 729);
    gb_sdr->setFont(fixed_font(TEXT_PX));
    gb_sdr->setStyleSheet(
        QStringLiteral("QGroupBox { color: %1; }").arg(css(window_colours::PANEL_TEXT)));
    Iprev = new WaterfallView(gb_sdr);
    Iprev->move(10, 32);
    tb_timer = make_channel_slider(Channel::Timer, gb_sdr);
    GroupBox1->adopt_slider(Channel::Timer, tb_timer);
    tb_timer->setGeometry(8, 688, 105, 33);
    t_sdr = new QTimer(this);
    t_sdr->setObjectName("t_sdr");
    t_sdr->setInterval(300);
    connect(t_sdr, &QTimer::timeout, this, &Tfmain::t_sdrTimer);
    return gb_sdr;
}

QWidget* Tfmain::build_run_buttons(QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    auto* row = new QHBoxLayout;
    bt_run = make_button("bt_run", "RUN", box);
    bt_pause = make_button("bt_pause", "PAUSE", box);
    bt_stop = make_button("bt_stop", "STOP", box);
    bt_step = make_button("bt_step", "STEP", box);
    bt_pause->setEnabled(false);
    bt_stop->setEnabled(false);
    for (QPushButton* b : {bt_run, bt_pause, bt_stop, bt_step}) row->addWidget(b);
    row->addStretch(1);
    column->addLayout(row);
    cb_speed = new QComboBox(box);
    cb_speed->setObjectName("cb_speed");
    cb_speed->setAccessibleName("Run speed");
    // order: the rates in statements per second, 0 for full speed
    cb_speed->addItem("Full speed", 0);
    for (int rate : {1000, 100, 10, 2}) cb_speed->addItem(QStringLiteral("%1 / s").arg(rate), rate);
    cb_speed->setFixedWidth(100);
    connect(cb_speed, &QComboBox::currentIndexChanged, this, &Tfmain::cb_speedChange);
    column->addWidget(cb_speed, 0, Qt::AlignLeft);
    column->addStretch(1);
    Label5 = new QLabel("BETA 150130", box);
    Label5->setObjectName("Label5");
    QFont f = font();
    f.setPixelSize(32);
    Label5->setFont(f);
    Label5->setStyleSheet("color: aqua;");
    column->addWidget(Label5, 0, Qt::AlignRight);
    connect(bt_run, &QPushButton::clicked, this, &Tfmain::bt_runClick);
    connect(bt_pause, &QPushButton::clicked, this, &Tfmain::bt_pauseClick);
    connect(bt_stop, &QPushButton::clicked, this, &Tfmain::bt_stopClick);
    connect(bt_step, &QPushButton::clicked, this, &Tfmain::bt_stepClick);
    return box;
}

QWidget* Tfmain::build_file_buttons(QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 24, 0, 0);
    column->setSpacing(7);
    bt_load = make_button("bt_load", "LOAD", box);
    bt_save = make_button("bt_save", "SAVE", box);
    bt_savas = make_button("bt_savas", "SAVE AS", box);
    bt_save->setEnabled(false);
    for (QPushButton* b : {bt_load, bt_save, bt_savas}) column->addWidget(b);
    return box;
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

// ---- start-up ----

void Tfmain::FormCreate() {
    QLocale::setDefault(QLocale::c());  // '.' as the decimal separator, whatever the locale
    // A bad settings file is reported, and start-up goes on: the window is fully usable.
    read_settings();
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
    t_sdr->setInterval(sdr_interval_ms(channel_position(Channel::Timer), info_of(Channel::Timer).maximum));
}

void Tfmain::t_sdrTimer() {
    // Every row drawn while a run loop is active carries the transmission, even when the
    // loop is held up in a math error box.
    if (debugger_->active()) tx_inject();
    sdr_tick();
    Iprev->update();
    bt_showvarsClick();
    recorder_.record_variables();
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

// At the design size when the screen has room for it, else as large as the screen allows,
// frame included, so that no button lies beyond the screen's edge.
void Tfmain::fit_to_screen() {
    const QRect available = screen()->availableGeometry();
    const QRect frame = frameGeometry();
    const QSize extra = frame.size() - size();
    const QSize room = available.size() - extra;
    if (room.width() >= width() && room.height() >= height() && available.contains(frame)) return;
    QSize fitted = size().boundedTo(room);
    // The panels beside the editor scroll up and down now; their scroll bar takes width that a
    // wide enough screen can give.
    if (fitted.height() < height()) {
        fitted.rwidth() += style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        fitted = fitted.boundedTo(room);
    }
    resize(fitted.expandedTo(minimumSizeHint()));
    move(available.topLeft());
}

void Tfmain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (fitted_to_screen_) return;
    fitted_to_screen_ = true;
    fit_to_screen();
}

// ---- dropped files ----

namespace {

// The first local file among the dropped URLs, or an empty text.
QString dropped_file(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) return url.toLocalFile();
    }
    return {};
}

}  // namespace

void Tfmain::dragEnterEvent(QDragEnterEvent* event) {
    if (!dropped_file(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void Tfmain::dropEvent(QDropEvent* event) {
    take_dropped_file(event);
}

// A file dropped anywhere in the window, the editor included, opens as LOAD would open it;
// its address never lands in the program text.
bool Tfmain::take_dropped_file(QEvent* event) {
    auto* drop = static_cast<QDropEvent*>(event);
    const QString path = dropped_file(drop->mimeData());
    if (path.isEmpty()) return false;
    drop->acceptProposedAction();
    if (event->type() == QEvent::Drop) {
        // After the drag has ended: the question and the box need a free event loop.
        QTimer::singleShot(0, this, [this, path] { open_file(path); });
    }
    return true;
}

// ---- the output pane ----

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
