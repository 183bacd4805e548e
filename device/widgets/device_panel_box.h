// The "Peripherals Simulation" group box: sliders, value labels and bars that mirror the
// device model. Thin: a moved slider goes to the model, and the model's changes come back here.
#pragma once

#include <QGroupBox>

#include "channels.h"

class QLabel;
class QProgressBar;
class QSlider;

// A slider mirroring one channel: its range and start position, one tick a unit, and every
// move forwarded to the model.
QSlider* make_channel_slider(Channel c, QWidget* parent);

// What a screen reader calls the control of a channel: "Magnetometer X", "Coil Z", ...
const char* channel_accessible_name(Channel c);

class DevicePanelBox : public QGroupBox {
    Q_OBJECT
   public:
    explicit DevicePanelBox(QWidget* parent = nullptr);

    QSlider* slider(Channel c) const { return sliders_[static_cast<int>(c)]; }
    QLabel* value_label(Channel c) const { return labels_[static_cast<int>(c)]; }
    QProgressBar* pb_spd = nullptr;
    QProgressBar* pb_sys = nullptr;

    // Sets the eleven value labels from the model.
    void refresh_labels();
    // Brings the widget of one channel to the model's position.
    void mirror(Channel c);

   private:
    QLabel* add_caption(const char* text, int top, bool bold);
    void add_slider_row(const char* caption, Channel c, int top, bool bold);
    QProgressBar* add_bar(const char* name, Channel c, int top);

    QSlider* sliders_[CHANNEL_COUNT] = {};
    QLabel* labels_[CHANNEL_COUNT] = {};
};
