// The language reference in a window of its own, beside the editor: the pages, with Back,
// Forward and Contents. A main window of its own kind, so that a screen reader lists it among
// the application's windows and hears it come to the front; a plain widget shown as a window
// is only a pane to it.
#pragma once

#include <QMainWindow>
#include <QUrl>

class QTextBrowser;

class HelpWindow : public QMainWindow {
    Q_OBJECT
   public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the page and brings the window to the front.
    void show_page(const QUrl& page);
    QTextBrowser* browser() const { return browser_; }

   private:
    QTextBrowser* browser_;
};
