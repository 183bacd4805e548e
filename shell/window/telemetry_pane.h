// View > Telemetry: the run over program time in stacked charts that share the time axis:
// the field and the coils; temperature, CPU speed and colour; the radio; a simulation's
// attitude and orbit when one was on; the variables the user ticks. Follows the newest time
// while a program runs; zoom and pan when it does not.
//
// After a run and while it is paused, a time cursor stands across the charts at the moment the
// machine shows. A click or a drag on a chart asks for another time, and so do the keys while a
// chart has the focus; the pane only asks (cursorDragged, cursorKey) and shows where it is put.
#pragma once

#include <QDockWidget>
#include <functional>
#include <optional>
#include <vector>

#include "telemetry.h"

class QChart;
class QChartView;
class QCheckBox;
class QGraphicsLineItem;
class QLabel;
class QLineSeries;
class QPushButton;
class QTimer;
class QValueAxis;

class TelemetryPane : public QDockWidget {
    Q_OBJECT
   public:
    TelemetryPane(const TelemetryRecording& recording, QWidget* parent = nullptr);

    // Draws the recording again. `now_ms` is the program time; while `running`, the view
    // shows the newest FOLLOW_MS of it.
    void refresh(int64_t now_ms, bool running);
    // The whole run, from its start to its newest sample.
    void show_whole_run();

    // The charts as a picture, for the export.
    QPixmap picture();

    // The time range shown, in milliseconds.
    int64_t view_from() const { return from_; }
    int64_t view_to() const { return to_; }
    // The line of a series, for tests.
    QLineSeries* line(int series) const { return lines_[series]; }
    QCheckBox* variable_box(int k) const { return variable_boxes_[k]; }
    // The simulation's chart; shown only for a recording with a simulation. The variables'
    // chart then gives it its room while no variable is ticked.
    QChartView* simulation_chart() const { return simulation_view_; }
    QChartView* variable_chart() const { return variable_view_; }

    static constexpr int64_t FOLLOW_MS = 60000;

    // The time cursor: at `time_ms` of the recording, with `caption` saying where (the time and
    // the line); none hides it. `description` is what a screen reader says of it.
    void set_cursor(std::optional<int64_t> time_ms, const QString& caption,
                    const QString& description);
    std::optional<int64_t> cursor() const { return cursor_ms_; }
    // "Resume from here" is offered while the cursor stands in the run's past.
    void set_resume_enabled(bool on);
    QLabel* cursor_label() const { return cursor_label_; }
    QPushButton* resume_button() const { return resume_; }
    // The cursor's line across a chart, for tests: its x in the chart's scene, when shown.
    std::optional<double> cursor_x(int chart) const;
    // The time under x of a chart's scene.
    int64_t time_at(int chart, double x) const;
    QChartView* chart_view(int chart) const { return views_[static_cast<size_t>(chart)]; }

    // While a drag goes on, the asks go out at most this often: the paint rate.
    static constexpr int DRAG_MS = 16;

   signals:
    // The mouse put the cursor at `time_ms` of the recording.
    void cursorDragged(int64_t time_ms);
    // A key for the cursor while a chart has the focus: Left, Right, Page Up, Page Down, Home
    // or End.
    void cursorKey(int key);
    void resumeRequested();

   protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

   private:
    // A chart with its time axis and a value axis on the left for `series`; `right_series` get
    // one of their own on the right.
    QChartView* add_chart(const QString& title, const std::vector<int>& series,
                          const std::vector<int>& right_series = {});
    QLineSeries* add_line(QChart* chart, int series, int time_axis, int value_axis);
    void set_view(int64_t from, int64_t to);
    void redraw();  // when shown
    void draw();
    void zoom(double factor, double at_fraction);
    void pan(double fraction);
    // The cursor's lines where the time axis puts them now.
    void place_cursor();
    bool cursor_event(QChartView* view, QEvent* event);
    void drag_to(int64_t time_ms);

    const TelemetryRecording& recording_;
    QWidget* charts_ = nullptr;
    std::vector<QChartView*> views_;
    QLineSeries* lines_[TS_COUNT] = {};
    int axis_of_[TS_COUNT] = {};  // index into value_axes_
    std::vector<QValueAxis*> time_axes_;
    std::vector<QValueAxis*> value_axes_;
    QChartView* simulation_view_ = nullptr;
    QChartView* variable_view_ = nullptr;
    QCheckBox* variable_boxes_[26] = {};
    int64_t from_ = 0;
    int64_t to_ = 10000;
    bool running_ = false;
    std::optional<int64_t> cursor_ms_;
    std::vector<QGraphicsLineItem*> cursor_lines_;  // one a chart
    QWidget* cursor_row_ = nullptr;
    QLabel* cursor_label_ = nullptr;
    QPushButton* resume_ = nullptr;
    bool dragging_ = false;
    std::optional<int64_t> drag_pending_;
    QTimer* drag_timer_ = nullptr;
};
