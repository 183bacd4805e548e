// The language reference in a window of its own, beside the editor: the pages, with Back,
// Forward and Contents.
#pragma once

#include <QUrl>
#include <QWidget>

class QTextBrowser;

class HelpWindow : public QWidget {
    Q_OBJECT
   public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the page and brings the window to the front.
    void show_page(const QUrl& page);
    QTextBrowser* browser() const { return browser_; }

   private:
    QTextBrowser* browser_;
};
