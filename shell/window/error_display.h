// The application's error display: a modal box titled with the application's title, an error
// icon and OK. Errors that escape an event handler end up here too, and the event loop goes on.
#pragma once

#include <QApplication>
#include <QString>
#include <functional>
#include <stdexcept>
#include <string>

// An error meant for the user: its message is what the error display shows, and the reason,
// when there is one, says why.
struct DisplayedError : std::runtime_error {
    explicit DisplayedError(const QString& message, const QString& reason = QString())
        : std::runtime_error(message.toUtf8().toStdString()), reason(reason) {}
    QString reason;
};

// The text the display shows: the message, with a full stop appended when its last character
// comes after '.' in the character table.
QString error_display_text(const QString& message);

// Shows the message in the error display, with the reason (the system's, such as "No space
// left on device") below it when there is one.
void show_error(const QString& message, const QString& reason = QString());
void show_error(const QString& message, const std::string& reason);

// A tooltip that shows `text` character for character. A tooltip takes a text that looks like
// markup for markup, and a file's words may look like anything.
QString plain_tooltip(const QString& text);

// Seam: when set, it receives the box's title, text and reason instead of a modal box.
extern std::function<void(const QString& title, const QString& text, const QString& reason)>
    error_display_hook;

class ZorvantApplication : public QApplication {
   public:
    ZorvantApplication(int& argc, char** argv);
    // Catches an error that escapes an event handler and shows it.
    bool notify(QObject* receiver, QEvent* event) override;
};
