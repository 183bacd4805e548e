// The editor as a classroom tool: colours from the scanner, problems explained on hover.
#include <QApplication>
#include <QHelpEvent>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolTip>

#include "highlighter.h"
#include "window_fixture.h"

namespace {

// The format the highlighter gave the character at `column` of `line`.
QTextCharFormat format_at(const QPlainTextEdit& edit, int line, int column) {
    const QTextBlock block = edit.document()->findBlockByNumber(line);
    for (const QTextLayout::FormatRange& r : block.layout()->formats()) {
        if (column >= r.start && column < r.start + r.length) return r.format;
    }
    return {};
}

QColor colour_at(const QPlainTextEdit& edit, int line, int column) {
    const QTextCharFormat f = format_at(edit, line, column);
    return f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color()
                                                       : edit.palette().color(QPalette::Text);
}

QColor colour(Highlight kind) {
    const Rgb c = highlight_colour(kind);
    return QColor(c.r, c.g, c.b);
}

void put_caret(QPlainTextEdit& edit, int line, int column) {
    QTextCursor c(edit.document()->findBlockByNumber(line));
    c.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, column);
    edit.setTextCursor(c);
}

TEST_F(WindowTest, TheEditorColoursALineAsTheScannerSeesIt) {
    w->mcod->setPlainText("PRINT \"HI\";A+1 // NOTE\nprint");
    const CodeEditor& e = *w->mcod;
    EXPECT_EQ(colour_at(e, 0, 0), colour(Highlight::Keyword));
    EXPECT_EQ(colour_at(e, 0, 5), QColor(0, 255, 0));  // a space keeps the plain lime
    EXPECT_EQ(colour_at(e, 0, 7), colour(Highlight::String));
    EXPECT_EQ(colour_at(e, 0, 10), colour(Highlight::Operator));
    EXPECT_EQ(colour_at(e, 0, 11), colour(Highlight::Variable));
    EXPECT_EQ(colour_at(e, 0, 13), colour(Highlight::Number));
    EXPECT_EQ(colour_at(e, 0, 18), colour(Highlight::Comment));
    // "//" after code and lower-case letters are problems: red waves under them.
    EXPECT_EQ(format_at(e, 0, 15).underlineStyle(), QTextCharFormat::WaveUnderline);
    EXPECT_EQ(format_at(e, 1, 0).underlineStyle(), QTextCharFormat::WaveUnderline);
    EXPECT_EQ(format_at(e, 0, 0).underlineStyle(), QTextCharFormat::NoUnderline);
    // Colouring is no edit: SAVE stays as the load left it.
    w->mcod->document()->setModified(false);
    w->mcod->highlighter()->rehighlight();
    EXPECT_FALSE(w->mcod->document()->isModified());
}

// Typing DATA turns every line below into data, and taking a letter away turns them back; a
// keystroke elsewhere colours its own line only.
TEST_F(WindowTest, TypingTheDataMarkerColoursTheLinesBelow) {
    QStringList lines;
    for (int i = 0; i < 1000; ++i) lines << "A=A+1";
    w->mcod->setPlainText("PRINT 1\n\n" + lines.join('\n'));
    CodeEditor& e = *w->mcod;
    const Highlighter& h = *e.highlighter();

    put_caret(e, 1, 0);
    long before = h.highlighted_lines();
    QTest::keyClicks(&e, "dat");
    EXPECT_LE(h.highlighted_lines() - before, 3);
    EXPECT_EQ(colour_at(e, 999, 0), colour(Highlight::Variable));

    before = h.highlighted_lines();
    QTest::keyClick(&e, Qt::Key_A);
    EXPECT_EQ(e.document()->findBlockByNumber(1).text(), "DATA");
    EXPECT_GE(h.highlighted_lines() - before, 1001);
    EXPECT_EQ(colour_at(e, 1, 0), colour(Highlight::Data));
    EXPECT_EQ(colour_at(e, 1001, 0), colour(Highlight::Data));
    EXPECT_EQ(colour_at(e, 0, 0), colour(Highlight::Keyword));

    QTest::keyClick(&e, Qt::Key_Backspace);
    EXPECT_EQ(colour_at(e, 1001, 0), colour(Highlight::Variable));
    EXPECT_EQ(colour_at(e, 2, 1), colour(Highlight::Operator));
}

TEST_F(WindowTest, HoveringAProblemTellsWhy) {
    w->mcod->setPlainText("A=1\n\tPRINT 2");
    CodeEditor& e = *w->mcod;
    const auto hover = [&](int line, int column) {
        QTextCursor c(e.document()->findBlockByNumber(line));
        c.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, column);
        const QRect r = e.cursorRect(c);
        const QPoint p(r.left() + 2, r.center().y());  // just right of the caret: on the character
        QHelpEvent help(QEvent::ToolTip, p, e.viewport()->mapToGlobal(p));
        QApplication::sendEvent(e.viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(hover(0, 0), "");
    EXPECT_EQ(hover(1, 0),
              "A tab is not a space in this language: indent with spaces. A run stops here with "
              "\"Unknown command\".");
    EXPECT_EQ(e.problem_at(e.document()->findBlockByNumber(1).position() + 1), "");
}

}  // namespace
