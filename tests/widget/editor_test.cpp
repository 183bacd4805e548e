// The editor as a classroom tool: colours from the scanner, problems explained on hover.
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QStyleHints>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextLayout>
#include <QToolButton>
#include <QToolTip>
#include <QWheelEvent>

#include "editor_commands.h"
#include "find_bar.h"
#include "help_window.h"
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
    mcod(*w)->setPlainText("PRINT \"HI\";A+1 // NOTE\nprint");
    const CodeEditor& e = *mcod(*w);
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
    mcod(*w)->document()->setModified(false);
    mcod(*w)->highlighter()->rehighlight();
    EXPECT_FALSE(mcod(*w)->document()->isModified());
}

// Typing DATA turns every line below into data, and taking a letter away turns them back; a
// keystroke elsewhere colours its own line only.
TEST_F(WindowTest, TypingTheDataMarkerColoursTheLinesBelow) {
    QStringList lines;
    for (int i = 0; i < 1000; ++i) lines << "A=A+1";
    mcod(*w)->setPlainText("PRINT 1\n\n" + lines.join('\n'));
    CodeEditor& e = *mcod(*w);
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

// A generated line of a hundred thousand characters: coloured at its start, plain past the
// coloured columns, and there still marked where a run would stop, up to a bound.
TEST_F(WindowTest, ALongLineIsColouredAtItsStartAndStillMarkedBeyond) {
    QString line;
    while (line.size() < Highlighter::COLOURED_COLUMNS) line += "A=A+1:";
    const int plain = line.size();  // a "B" past the coloured columns
    const int lower = plain + 6;    // the "c" of "c=1"
    line += "B=B+1:c=1";
    const int first_bang = line.size() + 1;
    for (int i = 0; i < Highlighter::MARKS_PAST_COLOURS + 10; ++i) line += ":!";
    const int last_bang = line.size() - 1;
    while (line.size() < 100000) line += "A=A+1:";
    CodeEditor& e = *mcod(*w);
    e.setPlainText("PRINT 1\n" + line);
    const int at = e.document()->findBlockByNumber(1).position();

    EXPECT_EQ(colour_at(e, 1, 0), colour(Highlight::Variable));
    EXPECT_EQ(colour_at(e, 1, plain), QColor(0, 255, 0));
    EXPECT_EQ(format_at(e, 1, lower).underlineStyle(), QTextCharFormat::WaveUnderline);
    EXPECT_EQ(colour_at(e, 1, lower), colour(Highlight::Problem));
    EXPECT_EQ(format_at(e, 1, first_bang).underlineStyle(), QTextCharFormat::WaveUnderline);
    // Marks beyond the bound are not drawn, but the hover still tells why a run stops there.
    EXPECT_EQ(format_at(e, 1, last_bang).underlineStyle(), QTextCharFormat::NoUnderline);
    EXPECT_EQ(e.problem_at(at + last_bang), e.problem_at(at + first_bang));
    EXPECT_FALSE(e.problem_at(at + last_bang).isEmpty());
    EXPECT_EQ(colour_at(e, 0, 0), colour(Highlight::Keyword));
}

// A caret blink repaints the whole of a very long line, so there the caret stays lit. The blink
// time belongs to the whole application: it comes back when the caret leaves the line, when
// the editor loses the focus, and when the window closes.
TEST_F(WindowTest, TheCaretStaysLitOnAVeryLongLineOnly) {
    QStyleHints* hints = QGuiApplication::styleHints();
    const int blink = hints->cursorFlashTime();
    ASSERT_GT(blink, 0);
    CodeEditor& e = *mcod(*w);
    QApplication::setActiveWindow(w.get());
    e.setFocus();
    ASSERT_TRUE(e.hasFocus());
    e.setPlainText("PRINT 1\n" + QString(50000, QLatin1Char('A')));
    put_caret(e, 1, 10);
    EXPECT_EQ(hints->cursorFlashTime(), 0);
    put_caret(e, 0, 3);
    EXPECT_EQ(hints->cursorFlashTime(), blink);
    QTest::keyClick(&e, Qt::Key_End);
    QTest::keyClick(&e, Qt::Key_Delete);  // the long line joins the caret's
    EXPECT_EQ(hints->cursorFlashTime(), 0);

    button("bt_run")->setFocus();
    EXPECT_EQ(hints->cursorFlashTime(), blink);
    e.setFocus();
    EXPECT_EQ(hints->cursorFlashTime(), 0);
    w.reset();
    EXPECT_EQ(hints->cursorFlashTime(), blink);
}

// The gutter draws only the strip it is asked for, as a caret blink asks, and draws it as a
// whole paint does: a breakpoint on a line a run never reaches is hollow. The caret's number
// turns bright on the screen when the caret comes to its line.
TEST_F(WindowTest, TheGutterDrawsAStripAsItDrawsTheWhole) {
    CodeEditor& e = *mcod(*w);
    e.setPlainText("A=1\n// NOTE\nB=2\nDATA\n1,2");
    for (int line : {1, 2, 4}) e.toggle_breakpoint(line);
    put_caret(e, 0, 0);
    QWidget& g = *e.gutter();
    const auto strip = [&](int line) {
        const QRect r = e.cursorRect(QTextCursor(e.document()->findBlockByNumber(line)));
        return QRect(0, r.top(), g.width(), r.height());
    };
    const auto drawn = [&](int line, bool alone) {
        QImage image(g.size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        if (alone) {
            g.render(&image, strip(line).topLeft(), QRegion(strip(line)));
        } else {
            g.render(&image);
        }
        return image.copy(strip(line));
    };
    for (int line : {1, 2, 4}) EXPECT_EQ(drawn(line, true), drawn(line, false)) << line;
    // Only the program line's dot is filled.
    const int dot = e.fontMetrics().height() - 6;
    const QPoint middle(6 + dot / 2, 3 + dot / 2);
    EXPECT_EQ(drawn(1, true).pixelColor(middle), QColor(24, 24, 24));
    EXPECT_EQ(drawn(2, true).pixelColor(middle), QColor(230, 40, 40));
    EXPECT_EQ(drawn(4, true).pixelColor(middle), QColor(24, 24, 24));

    const auto shown_bright = [&](int line) {
        QCoreApplication::processEvents();
        const QImage shot = w->screen()->grabWindow(w->winId()).toImage();
        const QRect r = strip(line).translated(g.mapTo(w.get(), QPoint(0, 0)));
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x) {
                const QColor c = shot.pixelColor(x, y);
                if (qMin(c.red(), qMin(c.green(), c.blue())) > 180) return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(shown_bright(0));
    EXPECT_FALSE(shown_bright(2));
    put_caret(e, 2, 1);
    EXPECT_TRUE(shown_bright(2));
    EXPECT_FALSE(shown_bright(0));
}

TEST_F(WindowTest, HoveringAProblemTellsWhy) {
    mcod(*w)->setPlainText("A=1\n\tPRINT 2");
    CodeEditor& e = *mcod(*w);
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

namespace {

QString text_of(const QPlainTextEdit& e) {
    return e.toPlainText();
}

TEST_F(WindowTest, TabIndentsWithSpacesAndShiftTabTakesThemBack) {
    CodeEditor& e = *mcod(*w);
    e.setPlainText("PRINT 1\nA=1\n\nB=2\n X");
    put_caret(e, 0, 0);
    QTest::keyClick(&e, Qt::Key_Tab);
    put_caret(e, 0, 3);  // "  P|RINT": one space reaches column 4
    QTest::keyClick(&e, Qt::Key_Tab);
    EXPECT_EQ(e.document()->firstBlock().text(), "  P RINT 1");
    e.undo();
    EXPECT_EQ(e.document()->firstBlock().text(), "  PRINT 1");

    // A selection over lines 1 to 3 that ends at the start of line 4: three lines, the blank
    // one left as it is, in one undo step.
    QTextCursor c(e.document()->findBlockByNumber(1));
    c.setPosition(e.document()->findBlockByNumber(4).position(), QTextCursor::KeepAnchor);
    e.setTextCursor(c);
    QTest::keyClick(&e, Qt::Key_Tab);
    EXPECT_EQ(text_of(e), "  PRINT 1\n  A=1\n\n  B=2\n X");
    EXPECT_EQ(e.textCursor().selectedText(), QString("  A=1\u2029\u2029  B=2\u2029"));
    QTest::keyClick(&e, Qt::Key_Backtab, Qt::ShiftModifier);
    QTest::keyClick(&e, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(text_of(e), "  PRINT 1\nA=1\n\nB=2\n X");
    e.undo();
    EXPECT_EQ(text_of(e), "  PRINT 1\n  A=1\n\n  B=2\n X");

    // Shift+Tab on the caret's line takes at most two spaces, and only leading ones.
    put_caret(e, 4, 2);
    QTest::keyClick(&e, Qt::Key_Backtab, Qt::ShiftModifier);
    put_caret(e, 0, 9);
    QTest::keyClick(&e, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(text_of(e), "PRINT 1\n  A=1\n\n  B=2\nX");
    EXPECT_EQ(e.textCursor().positionInBlock(), 7);
    EXPECT_FALSE(text_of(e).contains('\t'));
}

TEST_F(WindowTest, CtrlTabLeavesTheEditorAndPastedTabsStay) {
    CodeEditor& e = *mcod(*w);
    e.setPlainText("A=1");
    QApplication::setActiveWindow(w.get());
    e.setFocus();
    ASSERT_TRUE(e.hasFocus());
    QTest::keyClick(&e, Qt::Key_Tab, Qt::ControlModifier);
    QWidget* next = QApplication::focusWidget();
    EXPECT_NE(next, &e);
    e.setFocus();
    QTest::keyClick(&e, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_NE(QApplication::focusWidget(), &e);
    EXPECT_NE(QApplication::focusWidget(), next);
    EXPECT_EQ(text_of(e), "A=1");

    e.selectAll();
    e.insertPlainText("\tPRINT 1\n");
    QApplication::clipboard()->setText("\tB=2");
    e.paste();
    EXPECT_EQ(text_of(e), "\tPRINT 1\n\tB=2");
}

}  // namespace

namespace {

TEST_F(WindowTest, UpperCaseKeepsStringsBreakpointsAndIsOneUndoStep) {
    CodeEditor& e = *mcod(*w);
    e.setPlainText("print \"hi\";a\u00e9z\nb=\"x\u00e9\"+c\nd=1");
    e.toggle_breakpoint(1);
    // From inside the string on line 0 into line 1: the string's rest stays as it is.
    QTextCursor c(e.document());
    c.setPosition(8);
    c.setPosition(e.document()->findBlockByNumber(1).position() + 7, QTextCursor::KeepAnchor);
    e.setTextCursor(c);
    e.upper_case_selection();
    EXPECT_EQ(e.toPlainText(), "print \"hi\";A\u00e9Z\nB=\"x\u00e9\"+c\nd=1");
    EXPECT_EQ(e.textCursor().selectionStart(), 8);
    EXPECT_EQ(e.breakpoint_lines(), std::vector<int>{1});

    put_caret(e, 0, 2);  // no selection: the caret's line
    e.upper_case_selection();
    EXPECT_EQ(e.toPlainText(), "PRINT \"hi\";A\u00e9Z\nB=\"x\u00e9\"+c\nd=1");
    e.undo();
    EXPECT_EQ(e.toPlainText(), "print \"hi\";A\u00e9Z\nB=\"x\u00e9\"+c\nd=1");
}

}  // namespace

namespace {

class FindBarTest : public WindowTest {
   protected:
    void SetUp() override {
        WindowTest::SetUp();
        bar = new FindBar(mcod(*w), w.get());
        QObject::connect(bar, &FindBar::message, [this](const QString& m) { messages << m; });
        QApplication::setActiveWindow(w.get());
    }
    QLineEdit* field(const char* name) const { return bar->findChild<QLineEdit*>(name); }
    int caret_line() const { return mcod(*w)->textCursor().blockNumber(); }

    FindBar* bar = nullptr;
    QStringList messages;
};

TEST_F(FindBarTest, FindsBothWaysWrapsAndSaysWhatItCannotFind) {
    CodeEditor& e = *mcod(*w);
    e.setPlainText("A=1\nPRINT A\nB=2\nPRINT B");
    EXPECT_TRUE(bar->isHidden());
    put_caret(e, 3, 0);
    e.moveCursor(QTextCursor::EndOfLine, QTextCursor::KeepAnchor);  // "PRINT B" selected
    bar->show_find();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->text(), "PRINT B");
    EXPECT_TRUE(field("find_text")->hasFocus());
    EXPECT_FALSE(field("replace_text")->isVisible());

    bar->set_text("print");                               // no case match asked for
    QTest::keyClick(field("find_text"), Qt::Key_Return);  // past the end: from the start
    EXPECT_EQ(caret_line(), 1);
    EXPECT_EQ(messages.last(), "Passed the end: went on from the start");
    QTest::keyClick(field("find_text"), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(caret_line(), 3);
    EXPECT_EQ(messages.last(), "Passed the start: went on from the end");
    EXPECT_TRUE(bar->find_previous());
    EXPECT_EQ(caret_line(), 1);
    EXPECT_EQ(messages.last(), "");

    bar->set_match_case(true);
    EXPECT_FALSE(bar->find_next());
    EXPECT_EQ(messages.last(), "\"print\" not found");
    EXPECT_EQ(bar->findChild<QLabel*>("find_status")->text(), "\"print\" not found");
    EXPECT_NE(field("find_text")->palette().color(QPalette::Base),
              bar->palette().color(QPalette::Base));
    EXPECT_EQ(caret_line(), 1);                 // the caret stays where it was
    QTest::keyClicks(field("find_text"), "X");  // typing takes the red away
    EXPECT_EQ(field("find_text")->palette().color(QPalette::Base),
              bar->palette().color(QPalette::Base));

    QTest::keyClick(field("find_text"), Qt::Key_Escape);
    EXPECT_TRUE(bar->isHidden());
    EXPECT_TRUE(e.hasFocus());
    for (QWidget* c : bar->findChildren<QWidget*>()) {
        if (c->focusPolicy() != Qt::NoFocus) {
            EXPECT_FALSE(c->accessibleName().isEmpty()) << c->objectName().toStdString();
        }
    }
}

TEST_F(FindBarTest, ReplaceAndReplaceAllAreUndoneInOneStep) {
    CodeEditor& e = *mcod(*w);
    const QString program = "A=A+1\nPRINT \"a\"\nA=A*2";
    e.setPlainText(program);
    e.toggle_breakpoint(2);
    bar->show_replace();
    EXPECT_TRUE(field("replace_text")->isVisible());
    bar->set_text("A");
    bar->set_replacement("AA");
    bar->set_match_case(true);
    EXPECT_EQ(bar->replace_all(), 4);  // a replacement holding the text is not taken again
    EXPECT_EQ(e.toPlainText(), "AA=AA+1\nPRINT \"a\"\nAA=AA*2");
    EXPECT_EQ(messages.last(), "Replaced 4 matches");
    EXPECT_EQ(e.breakpoint_lines(), std::vector<int>{2});
    e.undo();
    EXPECT_EQ(e.toPlainText(), program);

    // Replace takes the selected match and selects the next; Enter in its field does the same.
    bar->set_match_case(false);
    bar->set_replacement("B");
    put_caret(e, 0, 0);
    EXPECT_TRUE(bar->find_next());
    EXPECT_TRUE(bar->replace_next());
    QTest::keyClick(field("replace_text"), Qt::Key_Return);
    EXPECT_EQ(e.toPlainText(), "B=B+1\nPRINT \"a\"\nA=A*2");
    EXPECT_EQ(e.textCursor().selectionStart(), e.document()->findBlockByNumber(1).position() + 7);
    bar->set_text("Q");
    EXPECT_EQ(bar->replace_all(), 0);
    EXPECT_EQ(messages.last(), "\"Q\" not found");
}

}  // namespace

namespace {

TEST_F(WindowTest, GoToLineCentresTheLineTheDialogNames) {
    CodeEditor& e = *mcod(*w);
    QStringList lines;
    for (int i = 0; i < 300; ++i) lines << QString("PRINT %1").arg(i);
    e.setPlainText(lines.join('\n'));
    QStringList asked;
    line_dialog_hook = [&](QInputDialog& d) {
        asked << d.windowTitle() << d.labelText() << QString::number(d.intValue())
              << QString::number(d.intMaximum());
        d.setIntValue(150);
        return static_cast<int>(QDialog::Accepted);
    };
    const int line = ask_line_number(w.get(), 7, 299);
    EXPECT_EQ(asked, QStringList({"Go to Line", "Line (0 to 299):", "7", "299"}));
    EXPECT_EQ(line, 150);
    line_dialog_hook = [](QInputDialog&) { return static_cast<int>(QDialog::Rejected); };
    EXPECT_EQ(ask_line_number(w.get(), 7, 299), -1);
    line_dialog_hook = nullptr;

    e.go_to_line(line);
    EXPECT_EQ(e.textCursor().blockNumber(), 150);
    EXPECT_EQ(e.textCursor().positionInBlock(), 0);
    const int middle = e.viewport()->height() / 2;
    EXPECT_LE(std::abs(e.cursorRect().center().y() - middle), e.fontMetrics().height());
    e.go_to_line(5000);
    EXPECT_EQ(e.textCursor().blockNumber(), 299);
}

TEST_F(WindowTest, CtrlWheelZoomsTheEditorAndItsGutterWithinLimits) {
    CodeEditor& e = *mcod(*w);
    e.setPlainText("PRINT 1");
    const int size = text_pixel_size(&e);
    const int gutter = e.gutter()->width();
    const auto wheel = [&](int delta, Qt::KeyboardModifiers mods) {
        const QPointF at(10, 10);
        QWheelEvent ev(at, e.viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                       mods, Qt::NoScrollPhase, false);
        QApplication::sendEvent(e.viewport(), &ev);
    };
    wheel(240, Qt::ControlModifier);
    EXPECT_EQ(text_pixel_size(&e), size + 2 * ZOOM_STEP_PX);
    EXPECT_GT(e.gutter()->width(), gutter);
    wheel(120, Qt::NoModifier);  // a plain wheel scrolls
    EXPECT_EQ(text_pixel_size(&e), size + 2 * ZOOM_STEP_PX);
    zoom_text(&e, 100);
    EXPECT_EQ(text_pixel_size(&e), ZOOM_MAX_PX);
    zoom_text(&e, -100);
    EXPECT_EQ(text_pixel_size(&e), ZOOM_MIN_PX);
    reset_zoom(&e);
    EXPECT_EQ(text_pixel_size(&e), size);
    EXPECT_EQ(e.gutter()->width(), gutter);

    // The output pane zooms the same way once it is asked to.
    enable_wheel_zoom(mdb(*w));
    const int output = text_pixel_size(mdb(*w));
    const QPointF at(5, 5);
    QWheelEvent ev(at, at, QPoint(), QPoint(0, -120), Qt::NoButton, Qt::ControlModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(mdb(*w)->viewport(), &ev);
    EXPECT_EQ(text_pixel_size(mdb(*w)), output - ZOOM_STEP_PX);
}

}  // namespace

namespace {

// A trap is underlined as soon as typing pauses, its message is the tooltip's text, and F8
// takes the caret to it; RUN still runs the program.
TEST_F(WindowTest, TheCheckerUnderlinesATrapAndF8GoesThere) {
    QTest::keyClicks(mcod(*w), "A=1");
    QTest::keyClick(mcod(*w), Qt::Key_Return);
    QTest::keyClicks(mcod(*w), "IF A<=2 THEN PRINT \"SMALL\"");
    ASSERT_TRUE(wait_for([&] { return !mcod(*w)->findings().empty(); }));
    const QString message = QString::fromStdString(mcod(*w)->findings().front().message);
    EXPECT_TRUE(message.startsWith("\"<=\" is not an operator of this language"))
        << message.toStdString();
    EXPECT_EQ(mcod(*w)->findings().front().line, 1);
    mcod(*w)->moveCursor(QTextCursor::Start);
    QAction* next = nullptr;
    for (QAction* a : w->findChildren<QAction*>()) {
        if (a->shortcut() == QKeySequence("F8")) next = a;
    }
    ASSERT_NE(next, nullptr);
    next->trigger();
    EXPECT_EQ(mcod(*w)->textCursor().blockNumber(), 1);
    EXPECT_EQ(mcod(*w)->textCursor().positionInBlock(), 4);
    EXPECT_EQ(w->status_text(), "Line 1: " + message);
    EXPECT_EQ(mcod(*w)->problem_at(mcod(*w)->textCursor().position()), message);
    // F8 showed the list; a click on a finding takes the caret to it.
    QListWidget* list = w->problems()->list();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->isVisible());
    ASSERT_EQ(list->count(), static_cast<int>(mcod(*w)->findings().size()));
    EXPECT_EQ(list->item(0)->text(), "Line 1, column 4: " + message);
    mcod(*w)->moveCursor(QTextCursor::Start);
    emit list->itemClicked(list->item(0));
    EXPECT_EQ(mcod(*w)->textCursor().blockNumber(), 1);
    run(mcod(*w)->toPlainText());
    EXPECT_EQ(output().value(0), "ERROR in line: 1");
}

// New after a run that ended in an error clears the text under the error band; typing then
// must go on in a sound editor (the sanitizer build sees any cursor freed under the document).
TEST_F(WindowTest, TypingAfterAnErrorRunAndNewKeepsTheEditorSound) {
    for (int k = 0; k < 5; ++k) {
        QTest::keyClicks(mcod(*w), "PRINT 1");
        QTest::keyClick(mcod(*w), Qt::Key_Return);
    }
    QTest::keyClicks(mcod(*w), "RETURN");
    QApplication::setActiveWindow(w.get());
    QTest::keySequence(mcod(*w), QKeySequence(Qt::Key_F5));
    ASSERT_EQ(mcod(*w)->error_band_line(), 5);
    answer_questions({QMessageBox::No});
    QTest::keySequence(mcod(*w), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_EQ(questions, QStringList({"Save changes?"}));
    EXPECT_EQ(mcod(*w)->toPlainText(), "");
    for (const char* line : {"a=3", "b=4"}) {
        QTest::keyClicks(mcod(*w), line);
        QTest::keyClick(mcod(*w), Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(mcod(*w)->toPlainText(), "A=3\nB=4\n");
    EXPECT_EQ(mcod(*w)->error_band_line(), -1);
    EXPECT_EQ(mcod(*w)->textCursor().blockNumber(), 2);
}

// A pasted text of thousands of mistakes: the first are listed and marked, the rest counted.
TEST_F(WindowTest, TheProblemsListShowsTheFirstFindingsAndCountsTheRest) {
    QString text;
    for (size_t k = 0; k < MAX_REPORTED_FINDINGS + 50; ++k) text += "GOTO 7\n";
    mcod(*w)->setPlainText(text);
    w->problems()->show_pane();
    ASSERT_EQ(mcod(*w)->findings().size(), MAX_REPORTED_FINDINGS);
    EXPECT_EQ(mcod(*w)->more_findings(), 50u);
    EXPECT_EQ(mcod(*w)->extraSelections().size(), static_cast<qsizetype>(MAX_REPORTED_FINDINGS));
    QListWidget* list = w->problems()->list();
    ASSERT_EQ(list->count(), static_cast<int>(MAX_REPORTED_FINDINGS) + 1);
    EXPECT_EQ(list->item(list->count() - 1)->text(), "and 50 more");
    EXPECT_EQ(w->findChild<QTabWidget*>("output_tabs")->tabText(1),
              "Problems (200 errors, 50 more)");
    // It is no place to go to.
    mcod(*w)->moveCursor(QTextCursor::End);
    emit list->itemClicked(list->item(list->count() - 1));
    EXPECT_EQ(mcod(*w)->textCursor().blockNumber(), static_cast<int>(MAX_REPORTED_FINDINGS) + 50);
}

// The Problems tab beside the output: the counts in its title, each finding's severity as an icon
// and in words, its section of the reference a key away; a run brings the output back.
TEST_F(WindowTest, TheProblemsTabCountsAndExplainsEachFinding) {
    mcod(*w)->setPlainText("IF 1<2 THEN PRINT 1 ELSE PRINT 2\nGOTO 7\n");
    w->problems()->show_pane();
    auto* tabs = w->findChild<QTabWidget*>("output_tabs");
    QListWidget* list = w->problems()->list();
    ASSERT_EQ(tabs->currentWidget(), list);
    EXPECT_EQ(tabs->tabText(0), "Output");
    EXPECT_EQ(tabs->tabText(1), "Problems (1 error, 1 warning)");
    EXPECT_EQ(tabs->tabBar()->accessibleTabName(1), "Problems tab, 1 error, 1 warning");
    ASSERT_EQ(list->count(), 2);
    const QString warning = list->item(0)->data(Qt::AccessibleTextRole).toString();
    const QString error = list->item(1)->data(Qt::AccessibleTextRole).toString();
    EXPECT_TRUE(warning.startsWith("Warning: Line 0, column 20: When the condition holds"))
        << warning.toStdString();
    EXPECT_TRUE(error.startsWith("Error: Line 1, column 5: There is no LABEL 7"))
        << error.toStdString();
    EXPECT_NE(list->item(0)->icon().pixmap(16).toImage(),
              list->item(1)->icon().pixmap(16).toImage());

    list->setCurrentRow(1);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_F1);
    ASSERT_NE(w->help_window(), nullptr);
    EXPECT_EQ(w->help_window()->browser()->source(), QUrl("qrc:/help/traps.html#missing-label"));
    list->setCurrentRow(0);
    w->problems()->help_button()->click();
    EXPECT_EQ(w->help_window()->browser()->source(), QUrl("qrc:/help/traps.html#if-then-else"));

    run("PRINT 1");
    EXPECT_EQ(tabs->currentWidget(), mdb(*w));
}

}  // namespace

namespace {

// The gutter's mark, Ctrl+. making the line's fix as one undo step, and the hover's link to the
// finding's help page.
TEST_F(WindowTest, CtrlPeriodFixesTheLineAndOneUndoTakesItBack) {
    CodeEditor& e = *mcod(*w);
    const QString before = "A=1\nIF A<=10 THEN PRINT 1\nPRINT 2\nDATA\n// 12 ITEMS\n";
    e.setPlainText(before);
    e.check_now();
    EXPECT_EQ(e.line_severity(0), std::nullopt);
    EXPECT_EQ(e.line_severity(1), Severity::Error);
    EXPECT_EQ(e.line_severity(4), Severity::Warning);
    const auto mark = [&](int line) {
        const QRect r = e.cursorRect(QTextCursor(e.document()->findBlockByNumber(line)));
        return e.gutter()->grab().toImage().pixelColor(e.gutter()->width() - 1, r.center().y());
    };
    EXPECT_EQ(mark(1), QColor(255, 60, 60));
    EXPECT_EQ(mark(4), QColor(255, 176, 0));
    EXPECT_NE(mark(0), QColor(255, 60, 60));

    // The caret's line has no fix: nothing changes.
    put_caret(e, 2, 0);
    QTest::keyClick(&e, Qt::Key_Period, Qt::ControlModifier);
    EXPECT_EQ(e.toPlainText(), before);
    put_caret(e, 1, 3);
    QTest::keyClick(&e, Qt::Key_Period, Qt::ControlModifier);
    EXPECT_EQ(e.toPlainText(), "A=1\nIF A<11 THEN PRINT 1\nPRINT 2\nDATA\n// 12 ITEMS\n");
    EXPECT_EQ(e.line_severity(1), std::nullopt);
    e.undo();
    EXPECT_EQ(e.toPlainText(), before);

    // A comment moved onto a line of its own goes above; the breakpoint stays with the code.
    e.setPlainText("A=1\nB=2 // TWO\n");
    e.toggle_breakpoint(1);
    put_caret(e, 1, 0);
    QTest::keyClick(&e, Qt::Key_Period, Qt::ControlModifier);
    EXPECT_EQ(e.toPlainText(), "A=1\n// TWO\nB=2\n");
    EXPECT_EQ(e.breakpoint_lines(), std::vector<int>{2});
    e.setPlainText(before);

    // Hovering the finding shows its message with a link that opens its page.
    e.check_now();
    QTextCursor c(e.document()->findBlockByNumber(1));
    c.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 4);
    const QPoint p(e.cursorRect(c).left() + 2, e.cursorRect(c).center().y());
    QHelpEvent help(QEvent::ToolTip, p, e.viewport()->mapToGlobal(p));
    QApplication::sendEvent(e.viewport(), &help);
    auto* popup = e.findChild<QLabel*>("mcod_finding");
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->isVisible());
    EXPECT_TRUE(popup->text().contains("<a href=\"traps.html#comparisons\">Help: traps</a>"));
    emit popup->linkActivated("traps.html#comparisons");
    ASSERT_NE(w->help_window(), nullptr);
    EXPECT_EQ(w->help_window()->browser()->source(), QUrl("qrc:/help/traps.html#comparisons"));
}

}  // namespace
