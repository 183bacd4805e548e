#include "error_display.h"

#include <QMessageBox>

std::function<void(const QString&, const QString&)> error_display_hook;

QString error_display_text(const QString& message) {
    if (!message.isEmpty() && message.back().unicode() > '.') return message + '.';
    return message;
}

void show_error(const QString& message) {
    const QString title = QApplication::applicationDisplayName();
    const QString text = error_display_text(message);
    if (error_display_hook) {
        error_display_hook(title, text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

bool ZorvantApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        show_error(QString::fromUtf8(e.what()));
    } catch (...) {
        show_error(QString());
    }
    return false;
}
