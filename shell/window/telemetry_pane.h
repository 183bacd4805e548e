// View > Telemetry: the run over program time in stacked charts that share the time axis:
// the field and the coils; temperature, CPU speed and colour; the radio; a simulation's
// attitude and orbit when one was on; the variables the user ticks. Follows the newest time
// while a program runs; zoom and pan when it does not.
#pragma once

#include <QDockWidget>
#include <functional>
#include <vector>

#include "telemetry.h"

class QChart;
class QChartView;
class QCheckBox;
class QLineSeries;
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
};
