#include "telemetry_pane.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QGraphicsLineItem>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

// The variables' check boxes in as many columns as the pane's width takes, from 7 (four rows)
// to 13 (two), so that a pane docked beside the editor can be narrow.
class BoxFlow : public QWidget {
   public:
    explicit BoxFlow(QWidget* parent) : QWidget(parent) {
        QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
        policy.setHeightForWidth(true);
        setSizePolicy(policy);
    }
    QSize sizeHint() const override { return {MOST_COLUMNS * cell().width(), heightForWidth(0)}; }
    QSize minimumSizeHint() const override {
        const int width = LEAST_COLUMNS * cell().width();
        return {width, heightForWidth(width)};
    }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override {
        const qsizetype n = findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size();
        const int columns = this->columns(width);
        return static_cast<int>((n + columns - 1) / columns) * cell().height();
    }

   protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        const int columns = this->columns(width());
        const QSize c = cell();
        int k = 0;
        for (QObject* child : children()) {
            if (auto* w = qobject_cast<QWidget*>(child)) {
                w->setGeometry(k % columns * c.width(), k / columns * c.height(), c.width() - 2,
                               c.height() - 2);
                ++k;
            }
        }
    }

   private:
    static constexpr int MOST_COLUMNS = 13;
    static constexpr int LEAST_COLUMNS = 7;
    QSize cell() const {
        QSize size(1, 1);
        for (QObject* child : children()) {
            if (auto* w = qobject_cast<QWidget*>(child)) size = size.expandedTo(w->sizeHint());
        }
        return size + QSize(2, 2);
    }
    int columns(int width) const {
        return width <= 0 ? MOST_COLUMNS
                          : std::clamp(width / cell().width(), LEAST_COLUMNS, MOST_COLUMNS);
    }
};

// Points a series gets across the chart's width: enough for every pixel column.
constexpr int OUTLINE_BUCKETS = 400;
constexpr int64_t SHORTEST_VIEW_MS = 100;

// A channel in the colour and style its table row gives; the body rates in the colours of their
// axes; the transmitter, the variables and the other series of a simulation in colours of their
// own.
QPen series_pen(int series) {
    static const QColor others[] = {QColor(0, 0, 0),       QColor(181, 100, 0),
                                    QColor(133, 60, 180),  QColor(42, 150, 150),
                                    QColor(211, 54, 130),  QColor(100, 100, 100)};
    static const QColor simulated[SIM_SERIES_COUNT] = {QColor::fromRgb(AXIS_X_COLOUR),
                                                       QColor::fromRgb(AXIS_Y_COLOUR),
                                                       QColor::fromRgb(AXIS_Z_COLOUR),
                                                       QColor(0, 0, 0),
                                                       QColor(133, 60, 180),
                                                       QColor(181, 100, 0),
                                                       QColor(42, 150, 150)};
    QPen pen;
    pen.setWidthF(1.5);
    if (series < TS_CHANNELS) {
        const ChannelInfo& info = channel_info[series];
        pen.setColor(QColor::fromRgb(info.colour));
        if (info.line == LineStyle::Dashed) pen.setStyle(Qt::DashLine);
        if (info.line == LineStyle::Dotted) pen.setStyle(Qt::DotLine);
    } else if (series >= TS_SIM_FIRST) {
        pen.setColor(simulated[series - TS_SIM_FIRST]);
        if (series == sim_telemetry_series(SIM_RATE)) pen.setWidthF(2.5);
        if (series == sim_telemetry_series(SIM_SUNLIT)) pen.setStyle(Qt::DotLine);
    } else {
        pen.setColor(others[series % 6]);
    }
    return pen;
}

// A legend entry: a simulation's series by its caption and unit ("Rate X (°/s)"), the others
// by their names.
QString series_legend(int series) {
    if (series < TS_SIM_FIRST) return QString::fromLatin1(telemetry_series_name(series));
    const SimSeriesInfo& info = sim_series_info[series - TS_SIM_FIRST];
    QString unit = QString::fromLatin1(info.unit);
    unit.replace("deg", QStringLiteral("°")).replace("uT", QStringLiteral("µT"));
    const QString caption = QString::fromLatin1(info.caption);
    return unit.isEmpty() ? caption : caption + " (" + unit + ")";
}

// The telemetry series of the channels drawn in one chart, in table order, and `extra` after.
std::vector<int> chart_series(ChartGroup group, std::initializer_list<int> extra = {}) {
    std::vector<int> series;
    for (int c = 0; c < TS_CHANNELS; ++c) {
        if (channel_info[c].chart == group) series.push_back(c);
    }
    series.insert(series.end(), extra);
    return series;
}

// A channel keeps its value until it changes: drawn as steps, not slopes.
QList<QPointF> steps(const std::vector<TelemetryPoint>& points) {
    QList<QPointF> out;
    out.reserve(static_cast<qsizetype>(points.size() * 2));
    for (size_t i = 0; i < points.size(); ++i) {
        const double t = static_cast<double>(points[i].time_ms) / 1000.0;
        if (i > 0) out.append(QPointF(t, points[i - 1].value));
        out.append(QPointF(t, points[i].value));
    }
    return out;
}

}  // namespace

TelemetryPane::TelemetryPane(const TelemetryRecording& recording, QWidget* parent)
    : QDockWidget("Telemetry", parent), recording_(recording) {
    setObjectName("telemetry");
    setAccessibleName("Telemetry");
    auto* body = new QWidget(this);
    body->setObjectName("telemetry_body");
    body->setAutoFillBackground(true);
    auto* rows = new QVBoxLayout(body);
    rows->setContentsMargins(4, 4, 4, 4);

    auto* top = new QHBoxLayout;
    auto* boxes = new BoxFlow(body);
    auto* whole = new QPushButton("Whole run", body);
    whole->setObjectName("tm_whole");
    whole->setToolTip("Show the whole run. Wheel: zoom, Shift+wheel: move, drag: zoom in.");
    connect(whole, &QPushButton::clicked, this, &TelemetryPane::show_whole_run);
    top->addWidget(whole);
    top->addWidget(new QLabel("Plot variables:", body));
    for (int k = 0; k < 26; ++k) {
        auto* box = new QCheckBox(QString(QChar('A' + k)), boxes);
        box->setObjectName(QStringLiteral("tm_%1").arg(QChar('A' + k)));
        box->setAccessibleName(QStringLiteral("Plot variable %1").arg(QChar('A' + k)));
        connect(box, &QCheckBox::toggled, this, [this, k](bool on) {
            lines_[TS_VARIABLE_A + k]->setVisible(on);
            redraw();
        });
        variable_boxes_[k] = box;
    }
    top->addStretch(1);
    rows->addLayout(top);
    rows->addWidget(boxes);
    // A row of its own, shown with the cursor: a narrow pane keeps its width.
    cursor_row_ = new QWidget(body);
    auto* cursor_row = new QHBoxLayout(cursor_row_);
    cursor_row->setContentsMargins(0, 0, 0, 0);
    cursor_label_ = new QLabel(cursor_row_);
    cursor_label_->setObjectName("tm_cursor");
    cursor_label_->setTextFormat(Qt::PlainText);
    cursor_label_->setAccessibleDescription("Time cursor");
    cursor_label_->setWordWrap(true);
    cursor_row->addWidget(cursor_label_, 1);
    resume_ = new QPushButton("Resume from here", cursor_row_);
    resume_->setObjectName("tm_resume");
    resume_->setToolTip("Go on with the run from the cursor's moment: what came after it is "
                        "forgotten.");
    resume_->setEnabled(false);
    connect(resume_, &QPushButton::clicked, this, &TelemetryPane::resumeRequested);
    cursor_row->addWidget(resume_);
    cursor_row_->setVisible(false);
    rows->addWidget(cursor_row_);

    charts_ = new QWidget(body);
    auto* stack = new QVBoxLayout(charts_);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);
    std::vector<int> variables;
    for (int k = 0; k < 26; ++k) variables.push_back(TS_VARIABLE_A + k);
    stack->addWidget(
        add_chart("Field and coils (time in seconds)", chart_series(ChartGroup::Field)));
    stack->addWidget(
        add_chart("Temperature, CPU speed and colour", chart_series(ChartGroup::Thermal)));
    stack->addWidget(add_chart(
        "Radio", chart_series(ChartGroup::Radio, {TS_TX_ACTIVE, TS_TX_CHANNEL, TS_TX_SYMBOL})));
    QChartView* variable_view = add_chart("Variables", {});
    variable_view_ = variable_view;
    const int variable_chart = static_cast<int>(views_.size()) - 1;
    for (int s : variables) {
        add_line(variable_view->chart(), s, variable_chart,
                 static_cast<int>(value_axes_.size()) - 1)
            ->setVisible(false);
    }
    // Ticked variables only: the others' names would crowd the legend.
    for (QLegendMarker* m : variable_view->chart()->legend()->markers()) {
        m->setVisible(false);
        connect(m->series(), &QAbstractSeries::visibleChanged, m,
                [m] { m->setVisible(m->series()->isVisible()); });
    }
    stack->addWidget(variable_view);
    // Above the variables. The rates on the left; the field, the sunlight and the station's
    // elevation, which are tens of units rather than a few, on the right.
    simulation_view_ =
        add_chart(QStringLiteral("Attitude and orbit: body rates (°/s, left); field (µT), sunlit, "
                                 "station elevation (°, right)"),
                  {sim_telemetry_series(SIM_RATE_X), sim_telemetry_series(SIM_RATE_Y),
                   sim_telemetry_series(SIM_RATE_Z), sim_telemetry_series(SIM_RATE)},
                  {sim_telemetry_series(SIM_FIELD), sim_telemetry_series(SIM_SUNLIT),
                   sim_telemetry_series(SIM_ELEVATION)});
    simulation_view_->setVisible(false);
    stack->insertWidget(stack->indexOf(variable_view), simulation_view_);
    rows->addWidget(charts_, 1);
    setWidget(body);
    setMinimumHeight(320);
    drag_timer_ = new QTimer(this);
    drag_timer_->setSingleShot(true);
    drag_timer_->setInterval(DRAG_MS);
    connect(drag_timer_, &QTimer::timeout, this, [this] {
        if (!drag_pending_) return;
        const int64_t t = *drag_pending_;
        drag_pending_.reset();
        drag_timer_->start();
        emit cursorDragged(t);
    });
}

QLineSeries* TelemetryPane::add_line(QChart* chart, int series, int time_axis, int value_axis) {
    auto* line = new QLineSeries;
    line->setName(series_legend(series));
    line->setPen(series_pen(series));
    chart->addSeries(line);
    line->attachAxis(time_axes_[static_cast<size_t>(time_axis)]);
    line->attachAxis(value_axes_[static_cast<size_t>(value_axis)]);
    lines_[series] = line;
    axis_of_[series] = value_axis;
    return line;
}

QChartView* TelemetryPane::add_chart(const QString& title, const std::vector<int>& series,
                                     const std::vector<int>& right_series) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->legend()->setAlignment(Qt::AlignTop);
    QFont small = chart->legend()->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    chart->legend()->setFont(small);
    chart->setTitleFont(small);
    auto* time = new QValueAxis;
    time->setLabelFormat("%.1f");
    auto* values = new QValueAxis;
    values->setLabelFormat("%g");
    values->setTickCount(3);
    time->setLabelsFont(small);
    values->setLabelsFont(small);
    chart->addAxis(time, Qt::AlignBottom);
    chart->addAxis(values, Qt::AlignLeft);
    const int chart_index = static_cast<int>(time_axes_.size());
    time_axes_.push_back(time);
    value_axes_.push_back(values);
    for (int s : series) add_line(chart, s, chart_index, static_cast<int>(value_axes_.size()) - 1);
    if (!right_series.empty()) {
        // Two axes side by side: short labels.
        values->setLabelFormat("%.3g");
        auto* right = new QValueAxis;
        right->setLabelFormat("%.3g");
        right->setTickCount(3);
        right->setLabelsFont(small);
        chart->addAxis(right, Qt::AlignRight);
        value_axes_.push_back(right);
        for (int s : right_series) {
            add_line(chart, s, chart_index, static_cast<int>(value_axes_.size()) - 1);
        }
    }
    // A click on a legend entry hides its series, and shows it again.
    for (QLegendMarker* m : chart->legend()->markers()) {
        connect(m, &QLegendMarker::clicked, this, [this, m] {
            m->series()->setVisible(!m->series()->isVisible());
            m->setVisible(true);
            QFont f = m->font();
            f.setStrikeOut(!m->series()->isVisible());
            m->setFont(f);
            redraw();
        });
    }
    auto* view = new QChartView(chart, charts_);
    view->setObjectName(QStringLiteral("tm_chart%1").arg(views_.size()));
    view->setAccessibleName(QStringLiteral("Telemetry chart: %1").arg(title));
    view->setRenderHint(QPainter::Antialiasing, false);
    view->setRubberBand(QChartView::NoRubberBand);
    view->setMinimumHeight(110);
    view->setFocusPolicy(Qt::StrongFocus);
    view->installEventFilter(this);
    view->viewport()->installEventFilter(this);
    // The time cursor: a line across the plot, over the series.
    auto* cursor = new QGraphicsLineItem(chart);
    QPen pen(QColor(200, 0, 0));
    pen.setWidthF(1.5);
    cursor->setPen(pen);
    cursor->setZValue(100);
    cursor->hide();
    cursor_lines_.push_back(cursor);
    connect(chart, &QChart::plotAreaChanged, this, &TelemetryPane::place_cursor);
    views_.push_back(view);
    return view;
}

void TelemetryPane::refresh(int64_t now_ms, bool running) {
    running_ = running;
    if (running) {
        const int64_t to = std::max<int64_t>(now_ms, 10000);
        set_view(std::max<int64_t>(0, to - FOLLOW_MS), to);
    } else {
        redraw();
    }
}

void TelemetryPane::show_whole_run() {
    set_view(0, std::max<int64_t>(recording_.last_time(), 1000));
}

void TelemetryPane::set_view(int64_t from, int64_t to) {
    from_ = from;
    to_ = std::max(to, from + SHORTEST_VIEW_MS);
    redraw();
}

void TelemetryPane::redraw() {
    if (isVisible()) draw();
}

void TelemetryPane::draw() {
    const bool simulated = recording_.simulated();
    simulation_view_->setVisible(simulated);
    // Five charts leave each too little height to read: with the simulation's, the variables'
    // chart shows only while a variable is ticked.
    variable_view_->setVisible(
        !simulated || std::any_of(std::begin(variable_boxes_), std::end(variable_boxes_),
                                  [](const QCheckBox* box) { return box->isChecked(); }));
    for (QValueAxis* time : time_axes_) {
        time->setRange(static_cast<double>(from_) / 1000.0, static_cast<double>(to_) / 1000.0);
    }
    std::vector<double> low(value_axes_.size(), HUGE_VAL);
    std::vector<double> high(value_axes_.size(), -HUGE_VAL);
    std::vector<int> drawn;
    for (int s = 0; s < TS_COUNT; ++s) {
        QLineSeries* line = lines_[s];
        if (line == nullptr) continue;
        if (line->isVisible() && recording_.has_series(s)) {
            drawn.push_back(s);
        } else if (line->count() > 0) {
            line->clear();
        }
    }
    const auto outlines = recording_.outlines(drawn, from_, to_, OUTLINE_BUCKETS);
    for (size_t k = 0; k < drawn.size(); ++k) {
        lines_[drawn[k]]->replace(steps(outlines[k]));
        const auto axis = static_cast<size_t>(axis_of_[drawn[k]]);
        for (const TelemetryPoint& p : outlines[k]) {
            low[axis] = std::min(low[axis], p.value);
            high[axis] = std::max(high[axis], p.value);
        }
    }
    for (size_t v = 0; v < value_axes_.size(); ++v) {
        QValueAxis* values = value_axes_[v];
        if (low[v] > high[v]) {
            values->setRange(-1, 1);
            continue;
        }
        const double margin = std::max((high[v] - low[v]) * 0.08, 0.5);
        values->setRange(low[v] - margin, high[v] + margin);
    }
    place_cursor();
}

// ---- the time cursor ----

void TelemetryPane::set_cursor(std::optional<int64_t> time_ms, const QString& caption,
                               const QString& description) {
    cursor_ms_ = time_ms;
    if (!time_ms) {
        dragging_ = false;
        drag_pending_.reset();
        drag_timer_->stop();
    }
    cursor_label_->setText(time_ms ? caption : QString());
    cursor_row_->setVisible(time_ms.has_value());
    // A screen reader says what the line shows, on whichever chart has the focus.
    const QString said = time_ms ? description : QString();
    for (QChartView* view : views_) {
        if (view->accessibleDescription() != said) view->setAccessibleDescription(said);
    }
    // A cursor put off the time shown brings its time into view.
    if (time_ms && !running_ && (*time_ms < from_ || *time_ms > to_)) {
        const int64_t span = to_ - from_;
        const int64_t from = std::max<int64_t>(0, *time_ms - span / 2);
        set_view(from, from + span);
    }
    place_cursor();
}

void TelemetryPane::set_resume_enabled(bool on) {
    resume_->setEnabled(on);
}

void TelemetryPane::place_cursor() {
    for (size_t k = 0; k < cursor_lines_.size(); ++k) {
        QGraphicsLineItem* line = cursor_lines_[k];
        if (!cursor_ms_ || *cursor_ms_ < from_ || *cursor_ms_ > to_) {
            line->hide();
            continue;
        }
        const QRectF area = views_[k]->chart()->plotArea();
        const double x = area.left() + area.width() * static_cast<double>(*cursor_ms_ - from_) /
                                           static_cast<double>(to_ - from_);
        line->setLine(x, area.top(), x, area.bottom());
        line->show();
    }
}

std::optional<double> TelemetryPane::cursor_x(int chart) const {
    const QGraphicsLineItem* line = cursor_lines_[static_cast<size_t>(chart)];
    if (!line->isVisible()) return std::nullopt;
    return line->mapToScene(line->line().p1()).x();
}

int64_t TelemetryPane::time_at(int chart, double x) const {
    const QChart* c = views_[static_cast<size_t>(chart)]->chart();
    const QRectF area = c->plotArea();
    const double at = (c->mapFromScene(QPointF(x, 0)).x() - area.left()) / area.width();
    return from_ + std::llround(std::clamp(at, 0.0, 1.0) * static_cast<double>(to_ - from_));
}

void TelemetryPane::drag_to(int64_t time_ms) {
    if (drag_timer_->isActive()) {
        drag_pending_ = time_ms;
        return;
    }
    drag_timer_->start();
    emit cursorDragged(time_ms);
}

// A click on a chart puts the cursor there and a drag takes it along; the keys move it while a
// chart has the focus. Nothing while no cursor is shown.
bool TelemetryPane::cursor_event(QChartView* view, QEvent* event) {
    if (!cursor_ms_) return false;
    const int chart =
        static_cast<int>(std::find(views_.begin(), views_.end(), view) - views_.begin());
    switch (event->type()) {
        case QEvent::ShortcutOverride:
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->modifiers() & ~Qt::KeypadModifier) return false;
            switch (key->key()) {
                case Qt::Key_Left:
                case Qt::Key_Right:
                case Qt::Key_PageUp:
                case Qt::Key_PageDown:
                case Qt::Key_Home:
                case Qt::Key_End:
                    // Claimed before any shortcut of the window's takes it.
                    if (event->type() == QEvent::KeyPress) emit cursorKey(key->key());
                    event->accept();
                    return true;
                default:
                    return false;
            }
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (event->type() == QEvent::MouseButtonRelease) {
                if (mouse->button() != Qt::LeftButton || !dragging_) return false;
                dragging_ = false;
                drag_timer_->stop();
                if (drag_pending_) {
                    const int64_t t = *drag_pending_;
                    drag_pending_.reset();
                    emit cursorDragged(t);
                }
                return true;
            }
            if (event->type() == QEvent::MouseButtonPress) {
                const QRectF area = view->chart()->plotArea();
                const QPointF at = view->chart()->mapFromScene(view->mapToScene(mouse->pos()));
                if (mouse->button() != Qt::LeftButton || at.x() < area.left() ||
                    at.x() > area.right()) {
                    return false;
                }
                view->setFocus(Qt::MouseFocusReason);
                dragging_ = true;
            } else if (!dragging_ || !(mouse->buttons() & Qt::LeftButton)) {
                return false;
            }
            drag_to(time_at(chart, view->mapToScene(mouse->pos()).x()));
            return true;
        }
        default:
            return false;
    }
}

void TelemetryPane::zoom(double factor, double at_fraction) {
    const double span = static_cast<double>(to_ - from_);
    const double at = static_cast<double>(from_) + span * at_fraction;
    const double new_span = std::max(span * factor, static_cast<double>(SHORTEST_VIEW_MS));
    const auto from = static_cast<int64_t>(std::max(0.0, at - new_span * at_fraction));
    set_view(from, from + static_cast<int64_t>(new_span));
}

void TelemetryPane::pan(double fraction) {
    const int64_t shift = static_cast<int64_t>(static_cast<double>(to_ - from_) * fraction);
    const int64_t from = std::max<int64_t>(0, from_ + shift);
    set_view(from, from + (to_ - from_));
}

// Wheel: zoom around the pointer; Shift+wheel: move along the time axis; a double click: the
// whole run. Only while no program runs: a running view follows the newest time.
bool TelemetryPane::eventFilter(QObject* watched, QEvent* event) {
    if (running_) return QDockWidget::eventFilter(watched, event);
    for (QChartView* view : views_) {
        if ((watched == view || watched == view->viewport()) && cursor_event(view, event)) {
            return true;
        }
    }
    auto* viewport = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::Wheel && viewport != nullptr) {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        const int delta = wheel->angleDelta().y() != 0 ? wheel->angleDelta().y()
                                                       : wheel->angleDelta().x();
        if (delta == 0) return true;
        if (wheel->modifiers() & Qt::ShiftModifier) {
            pan(delta > 0 ? -0.1 : 0.1);
        } else {
            QChartView* view = views_.front();
            for (QChartView* v : views_) {
                if (v->viewport() == viewport) view = v;
            }
            const QRectF area = view->chart()->plotArea();
            const double at = std::clamp((wheel->position().x() - area.left()) / area.width(),
                                         0.0, 1.0);
            zoom(delta > 0 ? 0.8 : 1.25, at);
        }
        return true;
    }
    if (event->type() == QEvent::MouseButtonDblClick) {
        show_whole_run();
        return true;
    }
    return QDockWidget::eventFilter(watched, event);
}

// Drawn even when the pane is closed: the export needs no open pane.
QPixmap TelemetryPane::picture() {
    if (!isVisible()) {
        charts_->resize(widget()->size().expandedTo(QSize(880, 600)));
        set_view(0, std::max<int64_t>(recording_.last_time(), 1000));
        draw();
        // The simulation's chart may have come or gone: the stack is laid out again.
        charts_->layout()->activate();
    }
    return charts_->grab();
}
