// The "Peripherals Simulation" group box: sliders, value labels and bars laid out from the
// channel table. Thin: a moved slider goes to the model; the panel subscribes to the model and
// redraws the channels that changed at the paint rate, never in the middle of a statement.
#pragma once

#include <QElapsedTimer>
#include <QGroupBox>
#include <QString>
#include <cstdint>
#include <vector>

#include "channels.h"

class QLabel;
class QProgressBar;
class QSlider;
class QTimer;

// A slider for one channel: its range and start position, one tick a unit, and every move
// forwarded to the model.
QSlider* make_channel_slider(Channel c, QWidget* parent);

class DevicePanelBox : public QGroupBox {
    Q_OBJECT
   public:
    explicit DevicePanelBox(QWidget* parent = nullptr);
    ~DevicePanelBox() override;

    QSlider* slider(Channel c) const { return sliders_[static_cast<int>(c)]; }
    QLabel* value_label(Channel c) const { return labels_[static_cast<int>(c)]; }
    QProgressBar* bar(Channel c) const { return bars_[static_cast<int>(c)]; }
    QProgressBar* pb_spd = nullptr;
    QProgressBar* pb_sys = nullptr;

    // A channel's slider that lives elsewhere in the window (the waterfall speed): the panel
    // keeps it in step with the model too.
    void adopt_slider(Channel c, QSlider* s);

    // Sets every value label from the model now.
    void refresh_labels();
    // Redraws the channels that changed since the last redraw, now.
    void flush();
    // Channels wait for the next redraw.
    bool pending() const { return dirty_ != 0; }

    // The sensors a simulation moves: their sliders are disabled, their values drawn in the
    // simulation's colour with a tooltip and a description that say so, and a line under the
    // panel names the simulation. An empty `caption` gives every slider back to the user.
    void show_simulation(const QString& caption, const std::vector<Channel>& driven);
    // The line under the panel; nullptr until a simulation was first shown.
    QLabel* simulation_note() const { return note_; }

    // Lays the rows out again: fonts, rows and widths `scale` times the design's; the rows'
    // spacing from only as far apart as their text needs (`spread` 0) to the design's (1).
    void arrange(double scale, double spread);
    // The panel's height for that arrangement.
    static int height_for(double scale, double spread);
    double scale() const { return scale_; }
    double spread() const { return spread_; }

   private:
    static void channel_changed(Channel c, void* self);
    void show(Channel c);
    QLabel* add_caption(const char* text, bool bold);
    void add_slider_row(Channel c);
    void add_bar(Channel c);
    void place_note();

    // The panel's widgets in the order of the rows, for arrange().
    struct Row {
        Channel channel;
        QLabel* section = nullptr;  // the section caption that opens the row, if any
        QLabel* letter = nullptr;   // the caption before a slider
    };
    std::vector<Row> rows_;
    double scale_ = 1.0;
    double spread_ = 1.0;

    QSlider* sliders_[CHANNEL_COUNT] = {};
    QLabel* labels_[CHANNEL_COUNT] = {};
    QProgressBar* bars_[CHANNEL_COUNT] = {};
    QLabel* note_ = nullptr;
    int note_top_ = 0;  // below the last control
    int note_px_ = 14;
    // One bit a channel: changed in the model since the last redraw.
    uint32_t dirty_ = 0;
    QTimer* paint_timer_;
    QElapsedTimer since_paint_;
};
