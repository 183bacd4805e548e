// The waterfall image: shows the radio model's pixel buffer as it is, without a copy.
#pragma once

#include <QImage>
#include <QWidget>

class WaterfallView : public QWidget {
    Q_OBJECT
   public:
    explicit WaterfallView(QWidget* parent = nullptr);
    // The picture as shown: it shares the model's pixels.
    const QImage& image() const { return image_; }
    // Shows the newest `rows` rows of the picture, at most all of them: the newest is on top,
    // so a shorter view keeps a shorter history. The picture itself is unchanged.
    void set_rows(int rows);

   protected:
    void paintEvent(QPaintEvent* event) override;

   private:
    QImage image_;
};
