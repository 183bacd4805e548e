// The program editor: typed letters a-z become upper case on the way in; pasted and loaded
// text stays as it is. Key and mouse releases are reported for the cursor display. A gutter
// numbers the lines as the reports do (from 0) and carries the breakpoints; bands mark the
// line a paused program goes on with and the line an error report named. The text is coloured
// by the interpreter's own scanner; hovering a character a run would stop at tells why.
#pragma once

#include <QPlainTextEdit>
#include <QTextCursor>

#include <vector>

#include "checker.h"
#include "quick_fix.h"

class Highlighter;

class QLabel;
class QTimer;

class CodeEditor : public QPlainTextEdit {
    Q_OBJECT
   public:
    explicit CodeEditor(QWidget* parent = nullptr);
    ~CodeEditor() override;

    // Breakpoints belong to their lines: they move with them as the text is edited.
    bool has_breakpoint(int line) const;
    bool has_breakpoints() const;
    void toggle_breakpoint(int line);
    void clear_breakpoints();
    std::vector<int> breakpoint_lines() const;

    // -1 takes the band away. The current line is scrolled into view; the caret stays.
    void set_current_line(int line);
    int current_band_line() const;
    // The error line gets its band, and the caret moves to its start.
    void set_error_line(int line);
    int error_band_line() const;

    // Tab: spaces up to the next multiple of two columns, or with a selection over several
    // lines, two more spaces at the start of each. Shift+Tab: up to two leading spaces fewer
    // on the caret's line or on each selected line. Each is one undo step.
    void indent();
    void unindent();
    // Letters of the selection, or of the caret's line, in upper case, string literals kept;
    // one undo step, and the selection stays.
    void upper_case_selection();

    // The caret to the start of `line` (0-based, as the gutter counts; clamped to the text),
    // with the line in the middle of the view.
    void go_to_line(int line);

    Highlighter* highlighter() const { return highlighter_; }
    // Why a run stops at the character at `position`; empty when nothing is wrong there.
    QString problem_at(int position) const;

    // What the checker finds in the text, a moment after typing stops; underlined, a warning in
    // a colour of its own, with the message as the tooltip. A run is never held up by them.
    // The first MAX_REPORTED_FINDINGS findings, and how many more the checker found.
    const std::vector<Finding>& findings() const { return findings_; }
    size_t more_findings() const { return more_findings_; }
    // Checks the text now instead of after the pause in typing.
    void check_now();
    // The caret to the next (or previous) finding after (before) it, round the end; false when
    // there is none. The status bar names it.
    bool go_to_problem(bool forward);
    // The worst finding on `line`, or nothing: the gutter marks the line in its colour.
    std::optional<Severity> line_severity(int line) const;
    // The fixes the findings on `line` have (quick_fix.h), as the text stands now.
    std::vector<QuickFix> fixes_on_line(int line);
    // Makes the fix as one undo step and checks the text again.
    void apply_fix(const QuickFix& fix);
    // Ctrl+., the light bulb and Quick Fix... in the context menu: the line's one fix made, or
    // a menu of its fixes at `where` (in the editor's coordinates). The student always asks.
    void offer_fixes(int line, const QPoint& where);
    // The help page of the finding at `position`, empty when there is none: "traps.html".
    QString help_page_at(int position) const;

    QWidget* gutter() const { return gutter_; }
    int gutter_width() const;
    void paint_gutter(QPaintEvent* event);
    void gutter_clicked(int y);
    // A press at (x, y) in the gutter: on a light bulb it offers the line's fixes, elsewhere it
    // sets or clears the line's breakpoint.
    void gutter_pressed(int x, int y);

   signals:
    void keyUp();
    void mouseUp();
    void breakpointsChanged();
    // A finding the caret was taken to, or that there is none.
    void problemShown(const QString& text);
    // The checker has looked at the text again.
    void findingsChanged();
    // The student asked for a finding's help page ("traps.html").
    void helpRequested(const QString& page);

   protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

   private:
    void shift_lines(bool right);
    void text_changed_at(int position, int removed, int added);
    void after_edit();
    void keep_long_layouts(int position, int added);
    void set_steady_caret(bool steady);
    void caret_moved();
    void update_gutter(const QRect& rect, int dy);
    void update_bands();
    int line_of(const QTextCursor& band) const;
    int block_at(int y) const;
    QRectF bulb_rect(const QRectF& line) const;

    QWidget* gutter_;
    QLabel* popup_ = nullptr;  // the hover over a finding, made when first wanted
    Highlighter* highlighter_;
    QTextCursor current_band_;
    QTextCursor error_band_;
    std::vector<Finding> findings_;
    size_t more_findings_ = 0;  // found beyond those kept in findings_
    // The gutter's marks by line, from the last check: the worst severity, and whether a fix
    // is there. In rising order of line.
    struct LineMark {
        int line;
        Severity severity;
        bool fix;
    };
    std::vector<LineMark> line_marks_;
    const LineMark* mark_of(int line) const;
    QTimer* check_timer_;
    bool after_edit_posted_ = false;
    bool error_band_edited_ = false;
    // Breakpoints by line, rebuilt after an edit: a running program asks for every statement.
    mutable std::vector<char> breakpoint_cache_;
    mutable bool cache_stale_ = true;
    int caret_line_ = 0;
    bool steady_caret_ = false;
    int blink_time_ = 0;  // the application's caret blink time while the caret is steady
};
