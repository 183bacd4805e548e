#include "editor_commands.h"

#include <QFontInfo>
#include <QInputDialog>
#include <QPlainTextEdit>
#include <QWheelEvent>

std::function<int(QInputDialog&)> line_dialog_hook;

int ask_line_number(QWidget* parent, int current, int last) {
    QInputDialog d(parent);
    d.setObjectName("line_dialog");
    d.setWindowTitle(QObject::tr("Go to Line"));
    d.setLabelText(QObject::tr("Line (0 to %1):").arg(last));
    d.setInputMode(QInputDialog::IntInput);
    d.setIntRange(0, last);
    d.setIntValue(qBound(0, current, last));
    const int result = line_dialog_hook ? line_dialog_hook(d) : d.exec();
    return result == QDialog::Accepted ? d.intValue() : -1;
}

namespace {

constexpr const char* ZOOM_BASE = "zoom_base_px";

void set_pixel_size(QPlainTextEdit* edit, int pixels) {
    QFont f = edit->font();
    f.setPixelSize(pixels);
    edit->setFont(f);
}

// A wheel notch is 120 eighths of a degree; finer wheels add up to one.
class WheelZoom : public QObject {
   public:
    explicit WheelZoom(QPlainTextEdit* edit) : QObject(edit), edit_(edit) {}

   protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Wheel) return QObject::eventFilter(watched, event);
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (!(wheel->modifiers() & Qt::ControlModifier)) return false;
        eighths_ += wheel->angleDelta().y();
        const int steps = eighths_ / 120;
        eighths_ -= steps * 120;
        if (steps != 0) zoom_text(edit_, steps);
        wheel->accept();
        return true;
    }

   private:
    QPlainTextEdit* edit_;
    int eighths_ = 0;
};

}  // namespace

int text_pixel_size(const QPlainTextEdit* edit) {
    const QFont f = edit->font();
    return f.pixelSize() > 0 ? f.pixelSize() : QFontInfo(f).pixelSize();
}

void zoom_text(QPlainTextEdit* edit, int steps) {
    const int now = text_pixel_size(edit);
    if (!edit->property(ZOOM_BASE).isValid()) edit->setProperty(ZOOM_BASE, now);
    const int wanted = qBound(ZOOM_MIN_PX, now + steps * ZOOM_STEP_PX, ZOOM_MAX_PX);
    if (wanted != now) set_pixel_size(edit, wanted);
}

void reset_zoom(QPlainTextEdit* edit) {
    const QVariant base = edit->property(ZOOM_BASE);
    if (base.isValid()) set_pixel_size(edit, base.toInt());
}

void enable_wheel_zoom(QPlainTextEdit* edit) {
    edit->viewport()->installEventFilter(new WheelZoom(edit));
}
