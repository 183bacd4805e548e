#include "help_pages.h"

#include "explain.h"

// Q_INIT_RESOURCE declares the resource's function where it stands, so not in a namespace.
static void init_help_resources() {
    Q_INIT_RESOURCE(help);
}

QUrl help_page_url(const QString& page) {
    static const bool initialized = (init_help_resources(), true);
    (void)initialized;
    return QUrl(QStringLiteral("qrc:/help/") + page);
}

QUrl help_url_for_word(const QString& word) {
    const std::string page = help_page_for_word(word.toStdString());
    return help_page_url(page.empty() ? QStringLiteral("index.html")
                                      : QString::fromStdString(page));
}
