#include "help_window.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "help_pages.h"

HelpWindow::HelpWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName("help_window");
    setWindowTitle("Language Reference");
    resize(720, 760);
    auto* page = new QWidget(this);
    setCentralWidget(page);
    browser_ = new QTextBrowser(page);
    browser_->setObjectName("help_browser");
    browser_->setAccessibleName("Language reference page");
    browser_->setOpenExternalLinks(false);

    auto* back = new QPushButton("Back", page);
    auto* forward = new QPushButton("Forward", page);
    auto* contents = new QPushButton("Contents", page);
    back->setObjectName("help_back");
    forward->setObjectName("help_forward");
    contents->setObjectName("help_contents");
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(contents, &QPushButton::clicked, this,
            [this] { browser_->setSource(help_page_url("index.html")); });
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        setWindowTitle("Language Reference - " + browser_->documentTitle());
    });
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {back, forward, contents}) buttons->addWidget(b);
    buttons->addStretch(1);
    auto* column = new QVBoxLayout(page);
    column->addLayout(buttons);
    column->addWidget(browser_, 1);
}

void HelpWindow::show_page(const QUrl& page) {
    browser_->setSource(page);
    show();
    raise();
    activateWindow();
}
