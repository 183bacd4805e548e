#include "error_display.h"

#include <QLabel>
#include <QMessageBox>
#include <QProxyStyle>
#include <QTextDocument>

std::function<void(const QString&, const QString&, const QString&)> error_display_hook;

QString error_display_text(const QString& message) {
    if (!message.isEmpty() && message.back().unicode() > '.') return message + '.';
    return message;
}

void show_error(const QString& message, const QString& reason) {
    const QString title = QApplication::applicationDisplayName();
    const QString text = error_display_text(message);
    if (error_display_hook) {
        error_display_hook(title, text, reason);
        return;
    }
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok,
                    QApplication::activeWindow());
    // A name or a line from a file is shown as it is, never read as markup.
    box.setTextFormat(Qt::PlainText);
    box.setInformativeText(reason);
    if (auto* label = box.findChild<QLabel*>("qt_msgbox_informativelabel")) {
        label->setTextFormat(Qt::PlainText);
    }
    box.exec();
}

QString plain_tooltip(const QString& text) {
    return text.isEmpty() ? text : Qt::convertFromPlainText(text);
}

void show_error(const QString& message, const std::string& reason) {
    // The system's texts follow the user's locale, which need not be Latin-1.
    show_error(message,
               QString::fromLocal8Bit(reason.data(), static_cast<qsizetype>(reason.size())));
}

namespace {

// A click on a slider's track puts the handle where the click was, rather than one step
// towards it: the way to set a sensor quickly with a mouse, and on a touch screen.
class TrackClickStyle : public QProxyStyle {
   public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        if (hint == QStyle::SH_Slider_AbsoluteSetButtons) return Qt::LeftButton;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

}  // namespace

ZorvantApplication::ZorvantApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setStyle(new TrackClickStyle);
}

bool ZorvantApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const DisplayedError& e) {
        show_error(QString::fromUtf8(e.what()), e.reason);
    } catch (const std::exception& e) {
        show_error(QString::fromUtf8(e.what()));
    } catch (...) {
        show_error(QString());
    }
    return false;
}
