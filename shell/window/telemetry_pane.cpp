#include "telemetry_pane.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPushButton>
#include <QValueAxis>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {

// Points a series gets across the chart's width: enough for every pixel column.
constexpr int OUTLINE_BUCKETS = 400;
constexpr int64_t SHORTEST_VIEW_MS = 100;

// A channel in the colour and style its table row gives; the transmitter and the variables in
// colours of their own.
QPen series_pen(int series) {
    static const QColor others[] = {QColor(0, 0, 0),       QColor(181, 100, 0),
                                    QColor(133, 60, 180),  QColor(42, 150, 150),
                                    QColor(211, 54, 130),  QColor(100, 100, 100)};
    QPen pen;
    pen.setWidthF(1.5);
    if (series < TS_CHANNELS) {
        const ChannelInfo& info = channel_info[series];
        pen.setColor(QColor::fromRgb(info.colour));
        if (info.line == LineStyle::Dashed) pen.setStyle(Qt::DashLine);
        if (info.line == LineStyle::Dotted) pen.setStyle(Qt::DotLine);
    } else {
        pen.setColor(others[series % 6]);
    }
    return pen;
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
    auto* whole = new QPushButton("Whole run", body);
    whole->setObjectName("tm_whole");
    whole->setToolTip("Show the whole run. Wheel: zoom, Shift+wheel: move, drag: zoom in.");
    connect(whole, &QPushButton::clicked, this, &TelemetryPane::show_whole_run);
    top->addWidget(whole);
    top->addWidget(new QLabel("Plot variables:", body));
    auto* boxes = new QGridLayout;
    boxes->setSpacing(2);
    for (int k = 0; k < 26; ++k) {
        auto* box = new QCheckBox(QString(QChar('A' + k)), body);
        box->setObjectName(QStringLiteral("tm_%1").arg(QChar('A' + k)));
        box->setAccessibleName(QStringLiteral("Plot variable %1").arg(QChar('A' + k)));
        connect(box, &QCheckBox::toggled, this, [this, k](bool on) {
            lines_[TS_VARIABLE_A + k]->setVisible(on);
            redraw();
        });
        boxes->addWidget(box, k / 13, k % 13);
        variable_boxes_[k] = box;
    }
    top->addLayout(boxes);
    top->addStretch(1);
    rows->addLayout(top);

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
    for (int s : variables) {
        auto* line = new QLineSeries;
        line->setName(telemetry_series_name(s));
        line->setPen(series_pen(s));
        variable_view->chart()->addSeries(line);
        line->attachAxis(time_axes_[3]);
        line->attachAxis(variable_view->chart()->axes(Qt::Vertical).constFirst());
        line->setVisible(false);
        lines_[s] = line;
        chart_of_[s] = 3;
    }
    // Ticked variables only: the others' names would crowd the legend.
    for (QLegendMarker* m : variable_view->chart()->legend()->markers()) {
        m->setVisible(false);
        connect(m->series(), &QAbstractSeries::visibleChanged, m,
                [m] { m->setVisible(m->series()->isVisible()); });
    }
    stack->addWidget(variable_view);
    rows->addWidget(charts_, 1);
    setWidget(body);
    setMinimumHeight(320);
}

QChartView* TelemetryPane::add_chart(const char* title, const std::vector<int>& series) {
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
    time_axes_[views_.size()] = time;
    for (int s : series) {
        auto* line = new QLineSeries;
        line->setName(telemetry_series_name(s));
        line->setPen(series_pen(s));
        chart->addSeries(line);
        line->attachAxis(time);
        line->attachAxis(values);
        lines_[s] = line;
        chart_of_[s] = static_cast<int>(views_.size());
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
    view->viewport()->installEventFilter(this);
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
    for (int v = 0; v < 4; ++v) {
        time_axes_[v]->setRange(static_cast<double>(from_) / 1000.0,
                                static_cast<double>(to_) / 1000.0);
    }
    double low[4] = {HUGE_VAL, HUGE_VAL, HUGE_VAL, HUGE_VAL};
    double high[4] = {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    for (int s = 0; s < TS_COUNT; ++s) {
        QLineSeries* line = lines_[s];
        if (line == nullptr) continue;
        if (!line->isVisible() || recording_.points(s).empty()) {
            if (line->count() > 0) line->clear();
            continue;
        }
        const auto outline = recording_.outline(s, from_, to_, OUTLINE_BUCKETS);
        line->replace(steps(outline));
        const int chart = chart_of_[s];
        for (const TelemetryPoint& p : outline) {
            low[chart] = std::min(low[chart], p.value);
            high[chart] = std::max(high[chart], p.value);
        }
    }
    for (int v = 0; v < 4; ++v) {
        auto* values = static_cast<QValueAxis*>(views_[v]->chart()->axes(Qt::Vertical).first());
        if (low[v] > high[v]) {
            values->setRange(-1, 1);
            continue;
        }
        const double margin = std::max((high[v] - low[v]) * 0.08, 0.5);
        values->setRange(low[v] - margin, high[v] + margin);
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
    }
    return charts_->grab();
}
