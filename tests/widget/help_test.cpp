// The help pages as the window gets them: compiled in under qrc:/help/ and readable by a
// text browser.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QTextBrowser>

#include "explain.h"
#include "help_pages.h"
#include "tokens.h"

namespace {

TEST(HelpResources, EveryPageIsCompiledInAndRenders) {
    EXPECT_EQ(help_page_url("index.html"), QUrl("qrc:/help/index.html"));
    int pages = 0;
    QDirIterator it(":/help");
    while (it.hasNext()) {
        const QString path = it.next();
        if (!path.endsWith(".html")) continue;
        ++pages;
        QTextBrowser browser;
        browser.setSource(QUrl("qrc" + path));
        EXPECT_FALSE(browser.documentTitle().isEmpty()) << path.toStdString();
        EXPECT_TRUE(browser.toPlainText().contains("Contents")) << path.toStdString();
    }
    EXPECT_GT(pages, KEYWORD_COUNT);
    for (const KeywordEntry* k = keyword_table; k->keyword != nullptr; ++k) {
        EXPECT_TRUE(QFile::exists(help_url_for_word(k->keyword).toString().mid(3)))
            << k->keyword;
    }
    EXPECT_EQ(help_url_for_word("else"), help_page_url("if.html"));
    EXPECT_EQ(help_url_for_word("HELLO"), help_page_url("index.html"));
}

}  // namespace
