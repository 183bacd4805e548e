// The language reference: HTML pages compiled into the program under qrc:/help/.
#pragma once

#include <QString>
#include <QUrl>

// qrc:/help/<page>, e.g. help_page_url("print.html"). Makes sure the pages are linked in: they
// live in a static library, which keeps only what something refers to.
QUrl help_page_url(const QString& page);

// The page of a word of the language, or the contents page for any other word.
QUrl help_url_for_word(const QString& word);
