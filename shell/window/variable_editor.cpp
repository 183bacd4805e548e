#include "variable_editor.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>

#include "format.h"
#include "tokenizer.h"

namespace {

const char* const REFUSED_STYLE = "QLineEdit { border: 2px solid red; }";

}  // namespace

VariableEditor::VariableEditor(QLabel* const (&labels)[VARIABLE_COUNT], QObject* parent)
    : QObject(parent) {
    for (int k = 0; k < VARIABLE_COUNT; ++k) {
        labels_[k] = labels[k];
        labels_[k]->installEventFilter(this);
    }
}

bool VariableEditor::parse_value(const QString& text, double& value) {
    static const QRegularExpression literal(QStringLiteral("^-?(\\d+\\.?\\d*|\\.\\d+)$"));
    const QString t = text.trimmed();
    if (t.size() > MAX_NUMBER_CHARS || !literal.match(t).hasMatch()) return false;
    value = parse_number(t.toLatin1().constData());
    return true;
}

void VariableEditor::set_editable(bool editable) {
    if (editable_ == editable) return;
    editable_ = editable;
    if (!editable) close_line();
    for (QLabel* label : labels_) {
        label->setFocusPolicy(editable ? Qt::StrongFocus : Qt::NoFocus);
        if (!editable && label->hasFocus()) label->clearFocus();
    }
}

void VariableEditor::edit(int k) {
    if (!editable_ || k < 0 || k >= VARIABLE_COUNT) return;
    close_line();
    QLabel* label = labels_[k];
    if (line_ == nullptr || line_->parentWidget() != label->parentWidget()) {
        delete line_;
        line_ = new QLineEdit(label->parentWidget());
        line_->setObjectName("variable_value");
        line_->installEventFilter(this);
        connect(line_, &QLineEdit::textEdited, this, [this] { line_->setStyleSheet(QString()); });
    }
    editing_ = k;
    char text[FORMAT_BUFFER_SIZE];
    format_general(var_get(k), PRINT_DIGITS, text);
    shown_text_ = QString::fromLatin1(text);
    line_->setAccessibleName(QStringLiteral("Value of %1").arg(QChar('A' + k)));
    line_->setFont(label->font());
    line_->setStyleSheet(QString());
    line_->setText(shown_text_);
    // Wherever the label is now, as large as it is now.
    line_->setGeometry(label->geometry());
    line_->show();
    line_->raise();
    line_->selectAll();
    line_->setFocus(Qt::OtherFocusReason);
}

void VariableEditor::commit() {
    const int k = editing_;
    // The text as it opened leaves the value as it is, digits beyond those shown included.
    if (line_->text() == shown_text_) {
        close_line();
        return;
    }
    double value = 0;
    if (!parse_value(line_->text(), value)) {
        line_->setStyleSheet(REFUSED_STYLE);
        return;
    }
    var_set(k, value);
    close_line();
    emit valueChanged(k);
}

void VariableEditor::close_line() {
    if (editing_ < 0) return;
    const int k = editing_;
    editing_ = -1;
    const bool had_focus = line_->hasFocus();
    line_->hide();
    if (had_focus && editable_) labels_[k]->setFocus(Qt::OtherFocusReason);
}

namespace {

// The keys the line and the labels take for themselves, before any of the window's shortcuts.
bool own_key(QEvent* event, bool on_line) {
    if (event->type() != QEvent::ShortcutOverride) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    const bool own = key == Qt::Key_Return || key == Qt::Key_Enter ||
                     (on_line ? key == Qt::Key_Escape : key == Qt::Key_F2);
    if (own) event->accept();
    return own;
}

}  // namespace

bool VariableEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == line_ && editing_ >= 0 && own_key(event, true)) return true;
    if (watched == line_ && editing_ >= 0 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            commit();
            return true;
        }
        if (key == Qt::Key_Escape) {
            close_line();
            return true;
        }
        return false;
    }
    if (!editable_) return false;
    for (int k = 0; k < VARIABLE_COUNT; ++k) {
        if (watched != labels_[k]) continue;
        if (own_key(event, false)) return true;
        if (event->type() == QEvent::MouseButtonDblClick) {
            edit(k);
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_F2) {
                edit(k);
                return true;
            }
        }
        break;
    }
    return QObject::eventFilter(watched, event);
}
