// The application's error display: a modal box titled with the application's title, an error
// icon and OK. Errors that escape an event handler end up here too, and the event loop goes on.
#pragma once

#include <QApplication>
#include <QString>
#include <functional>
#include <stdexcept>

// An error meant for the user: its message is what the error display shows.
struct DisplayedError : std::runtime_error {
    explicit DisplayedError(const QString& message)
        : std::runtime_error(message.toUtf8().toStdString()) {}
};

// The text the display shows: the message, with a full stop appended when its last character
// comes after '.' in the character table.
QString error_display_text(const QString& message);

// Shows the message in the error display.
void show_error(const QString& message);

// Seam: when set, it receives the box's title and text instead of a modal box.
extern std::function<void(const QString& title, const QString& text)> error_display_hook;

class ZorvantApplication : public QApplication {
   public:
    ZorvantApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    // Catches an error that escapes an event handler and shows it.
    bool notify(QObject* receiver, QEvent* event) override;
};
