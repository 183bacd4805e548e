#include "waterfall_view.h"

#include <QPainter>

#include "radio.h"

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
}

void WaterfallView::set_rows(int rows) {
    setFixedSize(SDR_WIDTH, qBound(1, rows, SDR_HEIGHT));
}
