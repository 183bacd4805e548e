#include "editor_accessible.h"

#include <QAccessibleWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

#include "code_editor.h"

namespace {

// The toolkit's own interface for a plain text editor places every character by its line's
// layout, and an editor of plain text lays out every line at the top: all the characters came
// out on the first row. This one asks the editor where a character is.
class EditorAccessible : public QAccessibleWidget,
                         public QAccessibleTextInterface,
                         public QAccessibleEditableTextInterface {
   public:
    explicit EditorAccessible(QPlainTextEdit* editor)
        : QAccessibleWidget(editor, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        if (t == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.selectableText = true;
        s.multiLine = true;
        if (editor()->isReadOnly()) {
            s.readOnly = true;
        } else {
            s.editable = true;
        }
        return s;
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return editor()->toPlainText();
        return QAccessibleWidget::text(t);
    }

    // ---- text ----

    QString text(int start, int end) const override {
        QTextCursor c = cursor_over(start, end);
        return c.selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    }
    int characterCount() const override {
        QTextCursor c(editor()->document());
        c.movePosition(QTextCursor::End);
        return c.position();
    }
    int cursorPosition() const override { return editor()->textCursor().position(); }
    void setCursorPosition(int position) override {
        QTextCursor c = editor()->textCursor();
        c.setPosition(clamped(position));
        editor()->setTextCursor(c);
    }

    int selectionCount() const override { return editor()->textCursor().hasSelection() ? 1 : 0; }
    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        const QTextCursor c = editor()->textCursor();
        if (index != 0 || !c.hasSelection()) return;
        *start = c.selectionStart();
        *end = c.selectionEnd();
    }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override {
        if (index != 0) return;
        QTextCursor c = editor()->textCursor();
        c.clearSelection();
        editor()->setTextCursor(c);
    }
    void setSelection(int index, int start, int end) override {
        if (index == 0) editor()->setTextCursor(cursor_over(start, end));
    }

    // Global coordinates: from the caret rectangle the editor draws at `offset`, as wide as the
    // character (a line's end as wide as a space).
    QRect characterRect(int offset) const override {
        if (offset < 0 || offset >= characterCount()) return {};
        QTextCursor c(editor()->document());
        c.setPosition(offset);
        const QRect caret = editor()->cursorRect(c);
        QTextCursor next = c;
        int width = 0;
        if (!c.atBlockEnd() && next.movePosition(QTextCursor::NextCharacter)) {
            width = editor()->cursorRect(next).left() - caret.left();
        }
        if (width <= 0) width = editor()->fontMetrics().horizontalAdvance(QLatin1Char(' '));
        const QPoint at = editor()->viewport()->mapToGlobal(caret.topLeft());
        return {at, QSize(width, caret.height())};
    }
    // The character under a global point, or -1 when the point is on no character.
    int offsetAtPoint(const QPoint& point) const override {
        const QPoint p = editor()->viewport()->mapFromGlobal(point);
        if (!editor()->viewport()->rect().contains(p)) return -1;
        const QTextCursor c = editor()->cursorForPosition(p);
        // The nearest boundary may be the one after the character the point is on.
        if (c.positionInBlock() > 0 && editor()->cursorRect(c).left() > p.x())
            return c.position() - 1;
        return c.position();
    }
    void scrollToSubstring(int start, int) override {
        QTextCursor c(editor()->document());
        c.setPosition(clamped(start));
        // Without wrapping the scroll bar counts lines.
        QScrollBar* bar = editor()->verticalScrollBar();
        const int line = c.blockNumber();
        const int visible =
            qMax(1, editor()->viewport()->height() / qMax(1, editor()->fontMetrics().height()));
        if (line < bar->value() || line >= bar->value() + visible)
            bar->setValue(line - visible / 2);
    }
    // The whole text is one run of one font and colour to a reader; the colours are the
    // scanner's view of it, which the hover tells in words.
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

    // ---- editing ----

    void deleteText(int start, int end) override {
        if (editor()->isReadOnly()) return;
        cursor_over(start, end).removeSelectedText();
    }
    void insertText(int offset, const QString& text) override {
        if (editor()->isReadOnly()) return;
        QTextCursor c(editor()->document());
        c.setPosition(clamped(offset));
        c.insertText(text);
    }
    void replaceText(int start, int end, const QString& text) override {
        if (editor()->isReadOnly()) return;
        cursor_over(start, end).insertText(text);
    }

   private:
    QPlainTextEdit* editor() const { return static_cast<QPlainTextEdit*>(widget()); }
    int clamped(int position) const { return qBound(0, position, characterCount()); }
    QTextCursor cursor_over(int start, int end) const {
        QTextCursor c(editor()->document());
        c.setPosition(clamped(start));
        c.setPosition(clamped(end), QTextCursor::KeepAnchor);
        return c;
    }
};

QAccessibleInterface* editor_factory(const QString& class_name, QObject* object) {
    if (class_name != QLatin1String(CodeEditor::staticMetaObject.className())) return nullptr;
    auto* editor = qobject_cast<CodeEditor*>(object);
    return editor != nullptr ? new EditorAccessible(editor) : nullptr;
}

}  // namespace

void install_editor_accessible() {
    static const bool installed = [] {
        QAccessible::installFactory(editor_factory);
        return true;
    }();
    (void)installed;
}
