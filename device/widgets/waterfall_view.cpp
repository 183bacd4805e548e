#include "waterfall_view.h"

#include <QFontDatabase>
#include <QHelpEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <cmath>

#include "radio.h"
#include "window_colours.h"

namespace {

constexpr int AXIS_TEXT_PX = 9;

QColor panel_text() {
    const Rgb c = window_colours::PANEL_TEXT;
    return QColor(c.r, c.g, c.b);
}

// The transmitter's mark: the trace's own brightest colour family, bright while it sends.
QColor mark_colour(bool active) {
    return active ? QColor(255, 255, 0) : QColor(150, 150, 90);
}

QString seconds_text(double s) {
    if (s < 60) return QStringLiteral("%1 s").arg(s, 0, 'f', s < 10 ? 1 : 0);
    return QStringLiteral("%1 min %2 s").arg(static_cast<int>(s) / 60).arg(static_cast<int>(s) % 60);
}

}  // namespace

// RGB32 keeps each pixel as blue, green, red and an ignored fourth byte in memory, which is
// the layout the waterfall writes.
WaterfallView::WaterfallView(QWidget* parent)
    : QWidget(parent),
      image_(radio.pixels, SDR_WIDTH, SDR_HEIGHT, SDR_STRIDE, QImage::Format_RGB32) {
    setObjectName("Iprev");
    setFixedSize(SDR_WIDTH, SDR_HEIGHT);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void WaterfallView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
    if (const std::optional<int> y = marked_row()) {
        // A thin line across the row, and a tick at each side that the row's own pixels
        // cannot hide.
        const QColor mark(255, 60, 60);
        painter.setPen(QColor(mark.red(), mark.green(), mark.blue(), 150));
        painter.drawLine(0, *y, width() - 1, *y);
        painter.setPen(mark);
        painter.drawLine(0, *y, 5, *y);
        painter.drawLine(width() - 6, *y, width() - 1, *y);
    }
}

void WaterfallView::row_scrolled(std::optional<int32_t> clock_ms) {
    Stamp& s = stamps_[static_cast<size_t>(rows_ % SDR_HEIGHT)];
    s.set = clock_ms.has_value();
    s.clock_ms = clock_ms.value_or(0);
    ++rows_;
}

void WaterfallView::forget_stamps() {
    stamps_.fill(Stamp{});
    run_first_row_ = rows_;
    mark_time(std::nullopt);
}

void WaterfallView::forget_stamps_after(int32_t clock_ms) {
    for (Stamp& s : stamps_) {
        if (s.set && static_cast<int32_t>(static_cast<uint32_t>(s.clock_ms) -
                                          static_cast<uint32_t>(clock_ms)) > 0) {
            s.set = false;
        }
    }
}

// The row that holds a time is the oldest one stamped at or after it, when the next older
// stamped row is before it, or when the run began within the picture. Along the picture the
// stamps only fall: rows stand still while the run is held, and a run gone back forgets the rows
// of the future it left.
void WaterfallView::mark_time(std::optional<int32_t> clock_ms) {
    const long long before = marked_;
    marked_ = -1;
    if (clock_ms) {
        long long found = -1;
        bool bounded = false;
        const long long kept = std::min<long long>(rows_, SDR_HEIGHT);
        for (long long y = 0; y < kept; ++y) {
            const long long n = rows_ - 1 - y;
            const Stamp& s = stamps_[static_cast<size_t>(n % SDR_HEIGHT)];
            if (!s.set) continue;
            if (static_cast<int32_t>(static_cast<uint32_t>(s.clock_ms) -
                                     static_cast<uint32_t>(*clock_ms)) < 0) {
                bounded = true;
                break;
            }
            found = n;
        }
        if (found >= 0 && (bounded || run_first_row_ > rows_ - SDR_HEIGHT)) marked_ = found;
    }
    if (marked_ != before) update();
}

std::optional<int> WaterfallView::marked_row() const {
    if (marked_ < 0) return std::nullopt;
    const long long y = rows_ - 1 - marked_;
    if (y >= height()) return std::nullopt;
    return static_cast<int>(y);
}

void WaterfallView::set_rows(int rows) {
    setFixedSize(SDR_WIDTH, qBound(1, rows, SDR_HEIGHT));
}

QString WaterfallView::tip_at(QPoint p) const {
    const int channel = sdr_column_channel(p.x());
    const QString ago = seconds_text(static_cast<double>(p.y()) * row_ms_ / 1000);
    const QString cursor =
        marked_row() == p.y() ? QStringLiteral("; the time cursor's row") : QString();
    if (channel < 0) return QStringLiteral("No channel here; %1 ago%2").arg(ago, cursor);
    return QStringLiteral("Channel %1 (column %2); %3 ago%4")
        .arg(channel)
        .arg(sdr_channel_column(channel))
        .arg(ago, cursor);
}

bool WaterfallView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        QToolTip::showText(help->globalPos(), tip_at(help->pos()), this);
        return true;
    }
    return QWidget::event(event);
}

// ---- the channel axis ----

WaterfallAxis::WaterfallAxis(QWidget* parent) : QWidget(parent) {
    setObjectName("sdr_axis");
    setAccessibleName("Channel axis");
    setAccessibleDescription("No transmission yet");
}

void WaterfallAxis::set_image_left(int x) {
    image_left_ = x;
    update();
}

void WaterfallAxis::set_time_legend(const QString& legend) {
    if (legend == legend_) return;
    legend_ = legend;
    update();
}

void WaterfallAxis::set_scale(double scale) {
    scale_ = scale;
    update();
}

int WaterfallAxis::channel_x(int channel) const {
    return image_left_ + sdr_channel_column(channel);
}

void WaterfallAxis::refresh() {
    const bool active = radio.tx_active;
    const int channel = active ? radio.tx_column / 3 : marked_;
    if (channel == marked_ && active == active_) return;
    marked_ = channel;
    active_ = active;
    setAccessibleDescription(marked_ < 0 ? QStringLiteral("No transmission yet")
                             : active_   ? QStringLiteral("Transmitting on channel %1").arg(marked_)
                                         : QStringLiteral("Last transmission on channel %1").arg(marked_));
    update();
}

void WaterfallAxis::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setPixelSize(std::max(8, static_cast<int>(std::lround(AXIS_TEXT_PX * scale_))));
    p.setFont(f);
    const int line = QFontMetrics(f).height();
    p.setPen(panel_text());
    p.drawLine(image_left_, 0, image_left_ + SDR_WIDTH - 1, 0);
    for (int c = 0; c < TX_CHANNELS; c += 5) {
        const int x = channel_x(c);
        p.drawLine(x, 0, x, c % 10 == 0 ? 4 : 2);
        if (c % 10 == 0) {
            const QString n = QString::number(c);
            const int w = QFontMetrics(f).horizontalAdvance(n);
            p.drawText(QRect(x - w, 4, 2 * w, line), Qt::AlignHCenter | Qt::AlignTop, n);
        }
    }
    // The legend keeps to the axis's width, in a smaller letter when the zoomed one is too wide.
    QFont small = f;
    while (small.pixelSize() > 7 && QFontMetrics(small).horizontalAdvance(legend_) > width()) {
        small.setPixelSize(small.pixelSize() - 1);
    }
    p.setFont(small);
    p.drawText(QRect(0, 4 + line, width(), line), Qt::AlignHCenter | Qt::AlignTop, legend_);
    if (marked_ >= 0) {
        // A small triangle pointing up at the channel's column.
        const int x = channel_x(marked_);
        QPainterPath mark;
        mark.moveTo(x, 1);
        mark.lineTo(x - 3, 6);
        mark.lineTo(x + 4, 6);
        mark.closeSubpath();
        p.fillPath(mark, mark_colour(active_));
    }
}

// ---- the time ruler ----

WaterfallRuler::WaterfallRuler(QWidget* parent) : QWidget(parent) {
    setObjectName("sdr_time");
    setAccessibleName("Time ruler");
    set_row_ms(300);
}

void WaterfallRuler::set_row_ms(int ms) {
    row_ms_ = std::max(1, ms);
    static constexpr int STEPS[] = {1, 2, 5, 10, 15, 30, 60, 120, 300, 600, 1800};
    tick_seconds_ = STEPS[std::size(STEPS) - 1];
    for (int s : STEPS) {
        if (s * 1000.0 / row_ms_ >= 8) {
            tick_seconds_ = s;
            break;
        }
    }
    long_seconds_ = tick_seconds_ <= 2 ? 10 : tick_seconds_ <= 15 ? 60 : 300;
    setAccessibleDescription(QStringLiteral("A tick every %1 s, a long one every %2 s, the newest "
                                            "row at the top")
                                 .arg(tick_seconds_)
                                 .arg(long_seconds_));
    update();
}

QString WaterfallRuler::legend() const {
    return QStringLiteral("tick %1 s, long %2 s").arg(tick_seconds_).arg(long_seconds_);
}

void WaterfallRuler::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(panel_text());
    const double per_tick = tick_seconds_ * 1000.0 / row_ms_;
    for (int k = 0;; ++k) {
        const int y = static_cast<int>(std::lround(k * per_tick));
        if (y >= height()) break;
        const bool long_tick = k * tick_seconds_ % long_seconds_ == 0;
        p.drawLine(0, y, long_tick ? width() - 1 : width() / 2, y);
    }
}
