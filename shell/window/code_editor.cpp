#include "code_editor.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QStyleHints>
#include <QTextBlock>
#include <QTimer>
#include <QToolTip>

#include "editor_accessible.h"
#include "editor_commands.h"
#include "highlighter.h"
#include "prepare.h"
#include "window_colours.h"

namespace {

// What a line's block knows of it beyond its text.
struct LineMarks : QTextBlockUserData {
    bool breakpoint = false;
};

QColor qcolour(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

const QColor GUTTER_BACKGROUND = qcolour(window_colours::GUTTER_BACKGROUND);
const QColor GUTTER_NUMBER = qcolour(window_colours::GUTTER_NUMBER);
const QColor GUTTER_CARET_NUMBER = qcolour(window_colours::GUTTER_CARET_NUMBER);
const QColor BREAKPOINT(230, 40, 40);
const QColor CURRENT_BAND(0, 70, 150);
const QColor ERROR_BAND(130, 0, 0);
// Findings of the checker: what stops a run in red, what misleads in amber.
const QColor FINDING_ERROR(255, 60, 60);
const QColor FINDING_WARNING(255, 176, 0);
const QColor BULB(255, 214, 40);
const QColor BULB_BASE(150, 150, 150);
// The gutter's mark of a line with findings: a bar this wide at its right edge.
constexpr int MARK_WIDTH = 3;
// Typing is left alone; the text is checked once it pauses this long.
constexpr int CHECK_DELAY_MS = 300;
constexpr int GUTTER_PADDING = 6;
constexpr int INDENT = 2;
constexpr int KEPT_LAYOUT_LENGTH = 1000;
constexpr int STEADY_CARET_LENGTH = 10000;

LineMarks* marks_of(const QTextBlock& block) {
    return static_cast<LineMarks*>(block.userData());
}

class Gutter : public QWidget {
   public:
    explicit Gutter(CodeEditor* editor) : QWidget(editor), editor_(editor) {
        setObjectName("mcod_gutter");
        setCursor(Qt::PointingHandCursor);
    }
    QSize sizeHint() const override { return QSize(editor_->gutter_width(), 0); }

   protected:
    void paintEvent(QPaintEvent* event) override { editor_->paint_gutter(event); }
    void mousePressEvent(QMouseEvent* event) override {
        editor_->gutter_pressed(static_cast<int>(event->position().x()),
                                static_cast<int>(event->position().y()));
    }

   private:
    CodeEditor* editor_;
};

// The hover over a finding: its message and a link to its help page. A tooltip goes at the
// first click, so this is a label of its own that stays while the pointer is on it.
class FindingPopup : public QLabel {
   public:
    explicit FindingPopup(CodeEditor* editor) : QLabel(editor, Qt::ToolTip) {
        setObjectName("mcod_finding");
        setWordWrap(true);
        setTextFormat(Qt::RichText);
        setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
        setMargin(4);
        setForegroundRole(QPalette::ToolTipText);
        setBackgroundRole(QPalette::ToolTipBase);
        setAutoFillBackground(true);
        setFrameShape(QFrame::Box);
        setMaximumWidth(480);
        connect(this, &QLabel::linkActivated, editor, [this, editor](const QString& page) {
            hide();
            emit editor->helpRequested(page);
        });
    }

   protected:
    void leaveEvent(QEvent* event) override {
        QLabel::leaveEvent(event);
        hide();
    }
};

}  // namespace

CodeEditor::CodeEditor(QWidget* parent)
    : QPlainTextEdit(parent), gutter_(new Gutter(this)), highlighter_(new Highlighter(document())) {
    install_editor_accessible();
    connect(this, &QPlainTextEdit::blockCountChanged, this,
            [this] { setViewportMargins(gutter_width(), 0, 0, 0); });
    connect(this, &QPlainTextEdit::updateRequest, this, &CodeEditor::update_gutter);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &CodeEditor::caret_moved);
    connect(document(), &QTextDocument::contentsChange, this, &CodeEditor::text_changed_at);
    check_timer_ = new QTimer(this);
    check_timer_->setSingleShot(true);
    check_timer_->setInterval(CHECK_DELAY_MS);
    connect(check_timer_, &QTimer::timeout, this, &CodeEditor::check_now);
    connect(document(), &QTextDocument::contentsChanged, check_timer_,
            qOverload<>(&QTimer::start));
    setViewportMargins(gutter_width(), 0, 0, 0);
    enable_wheel_zoom(this);
}

CodeEditor::~CodeEditor() {
    set_steady_caret(false);
}

// ---- typing ----

void CodeEditor::keyPressEvent(QKeyEvent* event) {
    if (popup_ != nullptr) popup_->hide();
    if (event->key() == Qt::Key_Period &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier) {
        offer_fixes(textCursor().blockNumber(), cursorRect().bottomLeft());
        event->accept();
        return;
    }
    const QString text = event->text();
    // A tab character is no space to the scanner, so typing never inserts one. Ctrl+Tab and
    // Ctrl+Shift+Tab leave the editor for the next or previous control.
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab || text == "\t") {
        const bool back =
            event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier);
        if (event->modifiers() & Qt::ControlModifier) {
            QWidget::focusNextPrevChild(!back);
        } else if (back) {
            unindent();
        } else {
            indent();
        }
        event->accept();
        return;
    }
    if (text.size() == 1 && text[0] >= QLatin1Char('a') && text[0] <= QLatin1Char('z')) {
        QKeyEvent upper(event->type(), event->key(), event->modifiers(), text.toUpper(),
                        event->isAutoRepeat(), static_cast<ushort>(event->count()));
        QPlainTextEdit::keyPressEvent(&upper);
        event->setAccepted(upper.isAccepted());
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void CodeEditor::indent() {
    QTextCursor c = textCursor();
    if (c.hasSelection() &&
        document()->findBlock(c.selectionStart()) != document()->findBlock(c.selectionEnd())) {
        shift_lines(true);
        return;
    }
    c.beginEditBlock();
    c.removeSelectedText();
    c.insertText(QString(INDENT - c.positionInBlock() % INDENT, QLatin1Char(' ')));
    c.endEditBlock();
    setTextCursor(c);
}

void CodeEditor::unindent() {
    shift_lines(false);
}

// The lines the selection touches (a selection that ends at the start of a line leaves that
// line alone), or the caret's line. The selection keeps its characters.
void CodeEditor::shift_lines(bool right) {
    QTextDocument* doc = document();
    const QTextCursor selection = textCursor();
    const int start = selection.selectionStart();
    const int end = selection.selectionEnd();
    const QTextBlock first = doc->findBlock(start);
    QTextBlock last = doc->findBlock(end);
    if (last != first && end == last.position()) last = last.previous();
    const int first_line = first.blockNumber();

    // Where anchor and caret were, as line and column.
    const auto where = [doc](int position) {
        const QTextBlock b = doc->findBlock(position);
        return std::pair{b.blockNumber(), position - b.position()};
    };
    const auto [anchor_line, anchor_column] = where(selection.anchor());
    const auto [caret_line, caret_column] = where(selection.position());

    std::vector<int> change;  // columns gained or lost by each line from `first` on
    QTextCursor edit(doc);
    edit.beginEditBlock();
    for (QTextBlock b = first; b.isValid(); b = b.next()) {
        int delta = 0;
        const QString text = b.text();
        if (right) {
            if (!text.isEmpty()) {
                edit.setPosition(b.position());
                edit.insertText(QString(INDENT, QLatin1Char(' ')));
                delta = INDENT;
            }
        } else {
            while (-delta < INDENT && -delta < text.size() && text[-delta] == QLatin1Char(' '))
                --delta;
            if (delta != 0) {
                edit.setPosition(b.position());
                edit.setPosition(b.position() - delta, QTextCursor::KeepAnchor);
                edit.removeSelectedText();
            }
        }
        change.push_back(delta);
        if (b == last) break;
    }
    edit.endEditBlock();
    if (change.size() == 1 && change[0] == 0) return;

    const auto moved = [&](int line, int column) {
        const size_t k = static_cast<size_t>(line - first_line);
        if (line >= first_line && k < change.size()) {
            // A column-0 end of an indented line stays at 0, so the new spaces are selected.
            if (change[k] > 0 && column > 0) column += change[k];
            if (change[k] < 0) column = qMax(0, column + change[k]);
        }
        return doc->findBlockByNumber(line).position() + column;
    };
    QTextCursor after(doc);
    after.setPosition(moved(anchor_line, anchor_column));
    after.setPosition(moved(caret_line, caret_column), QTextCursor::KeepAnchor);
    setTextCursor(after);
}

void CodeEditor::upper_case_selection() {
    QTextDocument* doc = document();
    const QTextCursor selection = textCursor();
    int start = selection.selectionStart();
    int end = selection.selectionEnd();
    if (!selection.hasSelection()) {
        start = selection.block().position();
        end = start + selection.block().length() - 1;
    }
    // Whole lines, so that a selection that begins inside a string knows it.
    const QTextBlock first = doc->findBlock(start);
    const QTextBlock last = doc->findBlock(end);
    const int from = first.position();
    QString lines;
    for (QTextBlock b = first; b.isValid(); b = b.next()) {
        lines += b.text() + QLatin1Char('\n');
        if (b == last) break;
    }
    // Only a-z change, so any other character may stand in for one outside ASCII.
    std::string bytes(static_cast<size_t>(lines.size()), '\x80');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].unicode() < 0x80)
            bytes[static_cast<size_t>(i)] = static_cast<char>(lines[i].unicode());
    }
    const std::string upper = upper_case_outside_strings(bytes);

    // The changed part of each line is replaced where it stands: lines are never joined or
    // split, so their breakpoints stay.
    const auto changed = [&](int position) {
        const size_t i = static_cast<size_t>(position - from);
        return upper[i] != bytes[i];
    };
    QTextCursor edit(doc);
    bool editing = false;
    int p = start;
    while (p < end) {
        if (!changed(p)) {
            ++p;
            continue;
        }
        const QTextBlock line = doc->findBlock(p);
        int q = qMin(end, line.position() + line.length() - 1);
        while (!changed(q - 1)) --q;
        if (!editing) edit.beginEditBlock();
        editing = true;
        edit.setPosition(p);
        edit.setPosition(q, QTextCursor::KeepAnchor);
        QString part = lines.mid(p - from, q - p);
        for (int k = p; k < q; ++k) {
            if (changed(k)) part[k - p] = QLatin1Char(upper[static_cast<size_t>(k - from)]);
        }
        edit.insertText(part);
        p = q;
    }
    if (!editing) return;
    edit.endEditBlock();
    QTextCursor after(doc);
    after.setPosition(selection.anchor());
    after.setPosition(selection.position(), QTextCursor::KeepAnchor);
    setTextCursor(after);
}

void CodeEditor::keyReleaseEvent(QKeyEvent* event) {
    QPlainTextEdit::keyReleaseEvent(event);
    emit keyUp();
}

void CodeEditor::mouseReleaseEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseReleaseEvent(event);
    emit mouseUp();
}

void CodeEditor::go_to_line(int line) {
    const int last = document()->blockCount() - 1;
    setTextCursor(QTextCursor(document()->findBlockByNumber(qBound(0, line, last))));
    centerCursor();
}

// ---- problems ----

// ---- the checker ----

void CodeEditor::check_now() {
    check_timer_->stop();
    std::string text;
    std::vector<TextPoint> foreign;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
        const QString line = b.text();
        for (int i = 0; i < line.size(); ++i) {
            const char16_t c = line.at(i).unicode();
            if (c > 0xFF) foreign.push_back({b.blockNumber(), i});
            text += c > 0xFF ? '?' : static_cast<char>(c);
        }
        text += '\n';
    }
    BoundedFindings found = check_program_bounded(text, MAX_REPORTED_FINDINGS, foreign);
    findings_ = std::move(found.findings);
    more_findings_ = found.more;
    line_marks_.clear();
    for (const Finding& f : findings_) {
        const QTextBlock block = document()->findBlockByNumber(f.line);
        const QString line = block.text();
        // A character without an 8-bit form stood in as '?': no fix copies it.
        const bool plain = std::all_of(line.begin(), line.end(),
                                       [](QChar c) { return c.unicode() <= 0xFF; });
        const QByteArray bytes = line.toLatin1();
        const bool fix =
            plain && quick_fix_for_line(std::string_view(bytes.constData(), bytes.size()), f);
        if (!line_marks_.empty() && line_marks_.back().line == f.line) {
            LineMark& m = line_marks_.back();
            if (f.severity == Severity::Error) m.severity = Severity::Error;
            m.fix = m.fix || fix;
        } else {
            line_marks_.push_back({f.line, f.severity, fix});
        }
    }
    update_bands();
    gutter_->update();
    emit findingsChanged();
}

const CodeEditor::LineMark* CodeEditor::mark_of(int line) const {
    const auto it = std::lower_bound(line_marks_.begin(), line_marks_.end(), line,
                                     [](const LineMark& m, int l) { return m.line < l; });
    return it != line_marks_.end() && it->line == line ? &*it : nullptr;
}

std::optional<Severity> CodeEditor::line_severity(int line) const {
    const LineMark* m = mark_of(line);
    if (m == nullptr) return std::nullopt;
    return m->severity;
}

// ---- quick fixes ----

std::vector<QuickFix> CodeEditor::fixes_on_line(int line) {
    if (check_timer_->isActive()) check_now();
    std::vector<QuickFix> fixes;
    const QString text = document()->findBlockByNumber(line).text();
    if (std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() > 0xFF; }))
        return fixes;
    const QByteArray bytes = text.toLatin1();
    for (const Finding& f : findings_) {
        if (f.line != line) continue;
        if (auto fix = quick_fix_for_line(std::string_view(bytes.constData(), bytes.size()), f))
            fixes.push_back(std::move(*fix));
    }
    return fixes;
}

void CodeEditor::apply_fix(const QuickFix& fix) {
    QTextCursor edit(document());
    edit.beginEditBlock();
    // From the last edit back: the places of the others stay.
    for (auto it = fix.edits.rbegin(); it != fix.edits.rend(); ++it) {
        const QTextBlock block = document()->findBlockByNumber(it->line);
        if (!block.isValid()) continue;
        // A new line above another goes in at the end of the line before: a line split at its
        // start would leave its breakpoint on the new line's block.
        if (it->column == 0 && it->length == 0 && it->line > 0 &&
            it->replacement.ends_with('\n')) {
            edit.setPosition(block.position() - 1);
            edit.insertText(QLatin1Char('\n') +
                            QString::fromLatin1(it->replacement).chopped(1));
            continue;
        }
        const int end = block.position() + block.length() - 1;
        const int at = std::min(end, block.position() + std::max(0, it->column));
        edit.setPosition(at);
        edit.setPosition(std::min(end, at + std::max(0, it->length)), QTextCursor::KeepAnchor);
        edit.insertText(QString::fromLatin1(it->replacement));
        if (it->line == 0 && it->column == 0 && it->replacement.ends_with('\n')) {
            // The first line split at its start: its breakpoint goes with its text.
            QTextBlock first = document()->firstBlock();
            const LineMarks* m = marks_of(first);
            if (m != nullptr && m->breakpoint) {
                auto* moved = new LineMarks;
                moved->breakpoint = true;
                first.next().setUserData(moved);
                first.setUserData(nullptr);
                cache_stale_ = true;
            }
        }
    }
    edit.endEditBlock();
    check_now();
}

void CodeEditor::offer_fixes(int line, const QPoint& where) {
    const std::vector<QuickFix> fixes = fixes_on_line(line);
    if (fixes.empty()) {
        emit problemShown(QStringLiteral("No quick fix on line %1.").arg(line));
        return;
    }
    if (fixes.size() == 1) {
        apply_fix(fixes.front());
        return;
    }
    QMenu menu(this);
    menu.setObjectName("mcod_fixes");
    for (const QuickFix& fix : fixes) {
        connect(menu.addAction(QString::fromStdString(fix.title)), &QAction::triggered, this,
                [this, fix] { apply_fix(fix); });
    }
    menu.exec(mapToGlobal(where));
}

QString CodeEditor::help_page_at(int position) const {
    const QTextBlock block = document()->findBlock(position);
    if (!block.isValid()) return {};
    const int column = position - block.position();
    for (const Finding& f : findings_) {
        if (f.line == block.blockNumber() && column >= f.column && column < f.column + f.length)
            return QString::fromStdString(f.help_page);
    }
    return {};
}

void CodeEditor::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu(event->pos());
    menu->setObjectName("mcod_menu");
    const QTextCursor at = event->reason() == QContextMenuEvent::Mouse
                               ? cursorForPosition(event->pos())
                               : textCursor();
    const int line = at.blockNumber();
    const QPoint where = event->pos();
    QAction* first = menu->actions().isEmpty() ? nullptr : menu->actions().front();
    QAction* fix = new QAction("Quick Fix...", menu);
    fix->setObjectName("act_quick_fix");
    fix->setShortcut(QKeySequence("Ctrl+."));
    fix->setEnabled(!fixes_on_line(line).empty());
    connect(fix, &QAction::triggered, this, [this, line, where] { offer_fixes(line, where); });
    menu->insertAction(first, fix);
    const QString page = help_page_at(at.position());
    if (!page.isEmpty()) {
        QAction* help = new QAction("Help on This Problem", menu);
        help->setObjectName("act_problem_help");
        connect(help, &QAction::triggered, this, [this, page] { emit helpRequested(page); });
        menu->insertAction(first, help);
    }
    menu->insertSeparator(first);
    menu->exec(event->globalPos());
    delete menu;
}

bool CodeEditor::go_to_problem(bool forward) {
    if (check_timer_->isActive()) check_now();
    if (findings_.empty()) {
        emit problemShown("No problems found.");
        return false;
    }
    const QTextCursor caret = textCursor();
    const int line = caret.blockNumber();
    const int column = caret.positionInBlock();
    auto after = [&](const Finding& f) {
        return f.line > line || (f.line == line && f.column > column);
    };
    auto before = [&](const Finding& f) {
        return f.line < line || (f.line == line && f.column < column);
    };
    const Finding* to = nullptr;
    if (forward) {
        for (const Finding& f : findings_) {
            if (after(f)) {
                to = &f;
                break;
            }
        }
        if (to == nullptr) to = &findings_.front();
    } else {
        for (auto it = findings_.rbegin(); it != findings_.rend(); ++it) {
            if (before(*it)) {
                to = &*it;
                break;
            }
        }
        if (to == nullptr) to = &findings_.back();
    }
    const QTextBlock block = document()->findBlockByNumber(to->line);
    if (!block.isValid()) return false;
    QTextCursor c(block);
    c.setPosition(block.position() + std::min(to->column, block.length() - 1));
    setTextCursor(c);
    ensureCursorVisible();
    emit problemShown(QStringLiteral("Line %1: %2")
                          .arg(to->line)
                          .arg(QString::fromStdString(to->message)));
    return true;
}

QString CodeEditor::problem_at(int position) const {
    const QTextBlock block = document()->findBlock(position);
    if (!block.isValid()) return {};
    const int column = position - block.position();
    for (const Finding& f : findings_) {
        if (f.line == block.blockNumber() && column >= f.column && column < f.column + f.length) {
            return QString::fromStdString(f.message);
        }
    }
    for (const HighlightSpan& s : Highlighter::line_of(block).spans) {
        if (column >= s.start && column < s.start + s.length)
            return QString::fromStdString(s.problem);
    }
    return {};
}

bool CodeEditor::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Leave && popup_ != nullptr && popup_->isVisible()) {
        // The pointer may be on its way into the hover: it stays while the pointer is there.
        QTimer::singleShot(300, popup_, [p = popup_] {
            if (!p->underMouse()) p->hide();
        });
    }
    if (event->type() != QEvent::ToolTip) return QPlainTextEdit::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    // The character under the pointer: the caret position nearest to it, or the one before
    // when the pointer is left of that position.
    QTextCursor at = cursorForPosition(help->pos());
    const QRect caret = cursorRect(at);
    if (caret.left() > help->pos().x() && at.positionInBlock() > 0)
        at.movePosition(QTextCursor::PreviousCharacter);
    const bool on_line = help->pos().y() >= caret.top() && help->pos().y() < caret.bottom();
    const QString reason = on_line ? problem_at(at.position()) : QString();
    const QString page = on_line ? help_page_at(at.position()) : QString();
    if (popup_ != nullptr) popup_->hide();
    if (reason.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else if (page.isEmpty()) {
        QToolTip::showText(help->globalPos(), reason, viewport());
    } else {
        QToolTip::hideText();
        if (popup_ == nullptr) popup_ = new FindingPopup(this);
        // "traps.html#comparisons" is the page "traps".
        QString title = page.section('#', 0, 0);
        title.chop(title.endsWith(QLatin1String(".html")) ? 5 : 0);
        popup_->setText(QStringLiteral("%1<br><a href=\"%2\">Help: %3</a>")
                            .arg(reason.toHtmlEscaped(), page.toHtmlEscaped(),
                                 title.toHtmlEscaped()));
        popup_->adjustSize();
        // Just below the line, under the pointer, so that the pointer reaches it at once.
        popup_->move(viewport()->mapToGlobal(QPoint(help->pos().x() - 8, caret.bottom() - 2)));
        popup_->show();
    }
    return true;
}

// ---- breakpoints ----

bool CodeEditor::has_breakpoint(int line) const {
    if (cache_stale_) {
        breakpoint_cache_.assign(static_cast<size_t>(document()->blockCount()), 0);
        for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
            const LineMarks* m = marks_of(b);
            if (m != nullptr && m->breakpoint) breakpoint_cache_[b.blockNumber()] = 1;
        }
        cache_stale_ = false;
    }
    return line >= 0 && static_cast<size_t>(line) < breakpoint_cache_.size() &&
           breakpoint_cache_[static_cast<size_t>(line)] != 0;
}

bool CodeEditor::has_breakpoints() const {
    return !breakpoint_lines().empty();
}

std::vector<int> CodeEditor::breakpoint_lines() const {
    std::vector<int> lines;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
        const LineMarks* m = marks_of(b);
        if (m != nullptr && m->breakpoint) lines.push_back(b.blockNumber());
    }
    return lines;
}

void CodeEditor::toggle_breakpoint(int line) {
    QTextBlock block = document()->findBlockByNumber(line);
    if (!block.isValid()) return;
    LineMarks* m = marks_of(block);
    if (m == nullptr) {
        m = new LineMarks;
        block.setUserData(m);
    }
    m->breakpoint = !m->breakpoint;
    cache_stale_ = true;
    gutter_->update();
    emit breakpointsChanged();
}

void CodeEditor::clear_breakpoints() {
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
        if (LineMarks* m = marks_of(b)) m->breakpoint = false;
    }
    cache_stale_ = true;
    gutter_->update();
    emit breakpointsChanged();
}

// ---- bands ----

int CodeEditor::line_of(const QTextCursor& band) const {
    return band.isNull() ? -1 : band.blockNumber();
}

int CodeEditor::current_band_line() const {
    return line_of(current_band_);
}

int CodeEditor::error_band_line() const {
    return line_of(error_band_);
}

void CodeEditor::set_current_line(int line) {
    const QTextBlock block = document()->findBlockByNumber(line);
    current_band_ = block.isValid() ? QTextCursor(block) : QTextCursor();
    update_bands();
    if (!block.isValid()) return;
    // In an editor without wrapping the scroll bar counts lines.
    QScrollBar* bar = verticalScrollBar();
    const int visible = qMax(1, viewport()->height() / qMax(1, fontMetrics().height()));
    if (line < bar->value() || line >= bar->value() + visible) bar->setValue(line - visible / 2);
}

void CodeEditor::set_error_line(int line) {
    const QTextBlock block = document()->findBlockByNumber(line);
    error_band_ = block.isValid() ? QTextCursor(block) : QTextCursor();
    error_band_edited_ = false;  // an edit before this one marked another fault
    update_bands();
    if (!block.isValid()) return;
    setTextCursor(QTextCursor(block));
    ensureCursorVisible();
}

void CodeEditor::update_bands() {
    QList<QTextEdit::ExtraSelection> bands;
    for (const auto& [band, colour] :
         {std::pair{error_band_, ERROR_BAND}, std::pair{current_band_, CURRENT_BAND}}) {
        if (band.isNull()) continue;
        QTextEdit::ExtraSelection s;
        s.cursor = band;
        s.cursor.clearSelection();
        s.format.setBackground(colour);
        s.format.setProperty(QTextFormat::FullWidthSelection, true);
        bands << s;
    }
    for (const Finding& f : findings_) {
        const QTextBlock block = document()->findBlockByNumber(f.line);
        if (!block.isValid()) continue;
        QTextEdit::ExtraSelection s;
        s.cursor = QTextCursor(block);
        const int start = block.position() + std::min(f.column, block.length() - 1);
        s.cursor.setPosition(start);
        s.cursor.setPosition(std::min(start + f.length, block.position() + block.length() - 1),
                             QTextCursor::KeepAnchor);
        s.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        s.format.setUnderlineColor(f.severity == Severity::Error ? FINDING_ERROR : FINDING_WARNING);
        bands << s;
    }
    setExtraSelections(bands);
}

// The bands' cursors move with the text by themselves. An edit of the error line takes its
// band away: the fault it marked may be mended.
//
// The document is still inside its change while it tells of it (clear() holds its cursors aside
// until the notice is over): a cursor made or dropped now, a selection's among them, is lost or
// freed under the document. So this only reads, and the bands change from the event loop.
void CodeEditor::text_changed_at(int position, int removed, int added) {
    cache_stale_ = true;
    keep_long_layouts(position, added);
    // A copy of the caret shares the caret's place in the document: no new cursor.
    set_steady_caret(hasFocus() && textCursor().block().length() > STEADY_CARET_LENGTH);
    if (!error_band_.isNull()) {
        const QTextBlock block = error_band_.block();
        const int start = block.position();
        const int end = start + block.length();
        if (position < end && position + qMax(removed, added) >= start) error_band_edited_ = true;
    }
    if (after_edit_posted_) return;
    after_edit_posted_ = true;
    QMetaObject::invokeMethod(this, &CodeEditor::after_edit, Qt::QueuedConnection);
}

void CodeEditor::after_edit() {
    after_edit_posted_ = false;
    if (error_band_edited_) error_band_ = QTextCursor();
    error_band_edited_ = false;
    update_bands();
}

// A line's layout is thrown away once it is laid out, and measured again for every paint and
// every caret position: a caret blink on a line of 100,000 characters would shape all of them
// twice. A long line keeps its layout until its text or its colours change.
void CodeEditor::keep_long_layouts(int position, int added) {
    const QTextBlock last = document()->findBlock(position + added);
    for (QTextBlock b = document()->findBlock(position); b.isValid(); b = b.next()) {
        if (b.length() > KEPT_LAYOUT_LENGTH) b.layout()->setCacheEnabled(true);
        if (b == last) break;
    }
}

// Every paint of a line draws all its characters, those far out of view too, and a caret blink
// paints the caret's line: on a line of 100,000 characters the blinking alone would take a few
// per cent of a core. On such a line the caret stays lit. The blink time is the application's;
// only the editor with the focus shows a caret, so it is given back when the focus goes.
void CodeEditor::set_steady_caret(bool steady) {
    if (steady == steady_caret_) return;
    steady_caret_ = steady;
    QStyleHints* hints = QGuiApplication::styleHints();
    if (steady) {
        blink_time_ = hints->cursorFlashTime();
        hints->setCursorFlashTime(0);
    } else {
        hints->setCursorFlashTime(blink_time_);
    }
}

void CodeEditor::focusInEvent(QFocusEvent* event) {
    QPlainTextEdit::focusInEvent(event);
    set_steady_caret(textCursor().block().length() > STEADY_CARET_LENGTH);
}

void CodeEditor::focusOutEvent(QFocusEvent* event) {
    QPlainTextEdit::focusOutEvent(event);
    if (popup_ != nullptr && !popup_->underMouse()) popup_->hide();
    set_steady_caret(false);
}

// The gutter shows the caret's line number brighter: it is drawn again when the caret goes to
// another line, not for every move along one.
void CodeEditor::caret_moved() {
    const QTextBlock block = textCursor().block();
    set_steady_caret(hasFocus() && block.length() > STEADY_CARET_LENGTH);
    if (block.blockNumber() == caret_line_) return;
    caret_line_ = block.blockNumber();
    gutter_->update();
}

// ---- the gutter ----

int CodeEditor::gutter_width() const {
    const int digits = QString::number(qMax(1, document()->blockCount() - 1)).size();
    const int dot = fontMetrics().height();
    // The breakpoint's dot, the number, the light bulb.
    return GUTTER_PADDING * 2 + dot * 2 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * digits;
}

void CodeEditor::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    const QRect r = contentsRect();
    gutter_->setGeometry(QRect(r.left(), r.top(), gutter_width(), r.height()));
}

// A zoom changes the font: the gutter's numbers and dots follow it.
void CodeEditor::changeEvent(QEvent* event) {
    QPlainTextEdit::changeEvent(event);
    if (event->type() != QEvent::FontChange) return;
    setViewportMargins(gutter_width(), 0, 0, 0);
    const QRect r = contentsRect();
    gutter_->setGeometry(QRect(r.left(), r.top(), gutter_width(), r.height()));
    gutter_->update();
}

void CodeEditor::update_gutter(const QRect& rect, int dy) {
    if (dy != 0 && popup_ != nullptr) popup_->hide();
    if (dy != 0) {
        gutter_->scroll(0, dy);
    } else {
        gutter_->update(0, rect.y(), gutter_->width(), rect.height());
    }
    if (rect.contains(viewport()->rect())) setViewportMargins(gutter_width(), 0, 0, 0);
}

int CodeEditor::block_at(int y) const {
    for (QTextBlock b = firstVisibleBlock(); b.isValid(); b = b.next()) {
        const QRectF r = blockBoundingGeometry(b).translated(contentOffset());
        if (r.top() > y) break;
        if (y < r.bottom()) return b.blockNumber();
    }
    return -1;
}

void CodeEditor::gutter_clicked(int y) {
    const int line = block_at(y);
    if (line >= 0) toggle_breakpoint(line);
}

// The light bulb's place on a line of the gutter: between the number and the mark.
QRectF CodeEditor::bulb_rect(const QRectF& line) const {
    const int dot = fontMetrics().height() - 6;
    return QRectF(gutter_->width() - GUTTER_PADDING - dot, line.top() + 3, dot, dot);
}

void CodeEditor::gutter_pressed(int x, int y) {
    const int line = block_at(y);
    if (line < 0) return;
    const LineMark* m = mark_of(line);
    const int dot = fontMetrics().height();
    if (m != nullptr && m->fix && x >= gutter_->width() - GUTTER_PADDING - dot) {
        const QTextBlock block = document()->findBlockByNumber(line);
        const QRectF r = blockBoundingGeometry(block).translated(contentOffset());
        offer_fixes(line, QPoint(0, static_cast<int>(r.bottom())));
        return;
    }
    toggle_breakpoint(line);
}

// A breakpoint on a line that holds no statement (a comment, a blank line, data) can never
// be reached: it is drawn hollow.
void CodeEditor::paint_gutter(QPaintEvent* event) {
    QPainter p(gutter_);
    p.fillRect(event->rect(), GUTTER_BACKGROUND);
    // Only the lines in the strip asked for: an edit or a caret move asks for a line or two.
    QTextBlock first = firstVisibleBlock();
    while (first.isValid() &&
           blockBoundingGeometry(first).translated(contentOffset()).bottom() <= event->rect().top())
        first = first.next();
    // The highlighter's state of the line above says whether the data section has begun.
    bool in_data = Highlighter::data_follows(first.previous());
    const int caret_line = textCursor().blockNumber();
    const int dot = fontMetrics().height() - 6;
    for (QTextBlock b = first; b.isValid(); b = b.next()) {
        const QRectF r = blockBoundingGeometry(b).translated(contentOffset());
        if (r.top() > event->rect().bottom()) break;
        const QByteArray text = b.text().toLatin1();
        const LineKind kind = classify_line(std::string_view(text.constData(), text.size()));
        const bool runs = !in_data && kind == LineKind::Program;
        in_data = in_data || kind == LineKind::DataMarker;
        const LineMarks* m = marks_of(b);
        if (m != nullptr && m->breakpoint) {
            p.setPen(BREAKPOINT);
            p.setBrush(runs ? QBrush(BREAKPOINT) : QBrush());
            p.drawEllipse(QRectF(GUTTER_PADDING, r.top() + 3, dot, dot));
        }
        const int number_right = gutter_->width() - GUTTER_PADDING - fontMetrics().height();
        if (const LineMark* mark = mark_of(b.blockNumber())) {
            const QColor colour =
                mark->severity == Severity::Error ? FINDING_ERROR : FINDING_WARNING;
            p.fillRect(QRectF(gutter_->width() - MARK_WIDTH, r.top(), MARK_WIDTH, r.height()),
                       colour);
            if (mark->fix) {
                const QRectF bulb = bulb_rect(r);
                const qreal base = bulb.height() / 4;
                p.setPen(Qt::NoPen);
                p.setBrush(BULB_BASE);
                p.drawRect(QRectF(bulb.center().x() - base, bulb.bottom() - base, base * 2, base));
                p.setBrush(BULB);
                p.setPen(BULB.darker(160));
                p.drawEllipse(bulb.adjusted(0, 0, 0, -base));
            }
        }
        p.setPen(b.blockNumber() == caret_line ? GUTTER_CARET_NUMBER : GUTTER_NUMBER);
        p.drawText(QRectF(0, r.top(), number_right, r.height()),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(b.blockNumber()));
    }
}
