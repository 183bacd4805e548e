// The waterfall image: shows the radio model's pixel buffer as it is, without a copy. Beside it
// a channel axis under the image and a time ruler at its side, drawn outside the image, so that
// "TX 17" can be checked by eye.
#pragma once

#include <QImage>
#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>

#include "radio.h"

class WaterfallView : public QWidget {
    Q_OBJECT
   public:
    explicit WaterfallView(QWidget* parent = nullptr);
    // The picture as shown: it shares the model's pixels.
    const QImage& image() const { return image_; }
    // Shows the newest `rows` rows of the picture, at most all of them: the newest is on top,
    // so a shorter view keeps a shorter history. The picture itself is unchanged.
    void set_rows(int rows);
    // How long one row stands for at the waterfall's speed now, for the tooltip.
    void set_row_ms(int ms) { row_ms_ = ms; }
    // What the tooltip says at a point: the column's channel and how long ago the row was drawn.
    QString tip_at(QPoint p) const;

    // A row was scrolled in: the program clock's reading then while a run's statements go on,
    // none between runs and while a run is held. The view keeps one stamp a row of its picture.
    void row_scrolled(std::optional<int32_t> clock_ms);
    // A fresh run: no row stands for a moment of it yet.
    void forget_stamps();
    // The run went on from an earlier moment: the rows drawn after it stand for no moment of it.
    void forget_stamps_after(int32_t clock_ms);
    // Marks the row that holds the program clock's `clock_ms` (the time cursor's), while it is in
    // view; none: no mark.
    void mark_time(std::optional<int32_t> clock_ms);
    // The marked row's place from the top, if it is in view.
    std::optional<int> marked_row() const;

   protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

   private:
    // A row's stamp: its place in the ring is its serial number modulo the picture's height.
    struct Stamp {
        bool set = false;
        int32_t clock_ms = 0;
    };
    QImage image_;
    int row_ms_ = 300;
    std::array<Stamp, SDR_HEIGHT> stamps_{};
    long long rows_ = 0;           // rows scrolled in, ever; the newest is number rows_ - 1
    long long run_first_row_ = 0;  // the number of the first row after forget_stamps
    long long marked_ = -1;        // the number of the row marked; -1 for none
};

// Under the image: a tick every 5 channels, numbers every 10, the transmitter's channel marked,
// and a line saying how long a tick of the time ruler is.
class WaterfallAxis : public QWidget {
    Q_OBJECT
   public:
    explicit WaterfallAxis(QWidget* parent = nullptr);
    // The image's first column lies at `x` in this widget.
    void set_image_left(int x);
    // The time ruler's ticks in words, on the axis's second line.
    void set_time_legend(const QString& legend);
    void set_scale(double scale);
    // Where channel c's column lies in this widget.
    int channel_x(int channel) const;
    // Looks at the transmitter and redraws when the mark has to move or change.
    void refresh();
    // The channel marked, or -1 before the first transmission of the window's life.
    int marked_channel() const { return marked_; }
    bool mark_active() const { return active_; }

   protected:
    void paintEvent(QPaintEvent* event) override;

   private:
    int image_left_ = 0;
    QString legend_;
    double scale_ = 1;
    int marked_ = -1;
    bool active_ = false;
};

// Beside the image: a tick every few seconds of the waterfall's history at its speed now, a
// longer one at round minutes or tens of seconds.
class WaterfallRuler : public QWidget {
    Q_OBJECT
   public:
    explicit WaterfallRuler(QWidget* parent = nullptr);
    void set_row_ms(int ms);
    // The seconds between two ticks: a round number that keeps them at least 8 pixels apart.
    int tick_seconds() const { return tick_seconds_; }
    // "tick 1 s, long 10 s"
    QString legend() const;

   protected:
    void paintEvent(QPaintEvent* event) override;

   private:
    int row_ms_ = 300;
    int tick_seconds_ = 10;
    int long_seconds_ = 60;
};
