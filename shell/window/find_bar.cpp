#include "find_bar.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QToolButton>

#include "window_colours.h"

namespace {

QColor qcolour(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

QPushButton* make_button(const QString& text, const char* name, const QString& accessible,
                         QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAccessibleName(accessible);
    b->setAutoDefault(false);
    return b;
}

}  // namespace

FindBar::FindBar(QPlainTextEdit* editor, QWidget* parent)
    : QWidget(parent),
      editor_(editor),
      find_field_(new QLineEdit(this)),
      replace_field_(new QLineEdit(this)),
      replace_label_(new QLabel(tr("Replace"), this)),
      next_(make_button(tr("Next"), "find_next", tr("Find next"), this)),
      previous_(make_button(tr("Previous"), "find_previous", tr("Find previous"), this)),
      replace_(make_button(tr("Replace"), "replace_one", tr("Replace this match"), this)),
      replace_all_(make_button(tr("Replace All"), "replace_all", tr("Replace all"), this)),
      match_case_(new QCheckBox(tr("Match case"), this)),
      close_(new QToolButton(this)),
      status_(new QLabel(this)) {
    setObjectName("find_bar");
    setAccessibleName(tr("Find and replace"));

    auto* find_label = new QLabel(tr("Find"), this);
    find_label->setBuddy(find_field_);
    find_field_->setObjectName("find_text");
    find_field_->setAccessibleName(tr("Find"));
    replace_label_->setBuddy(replace_field_);
    replace_field_->setObjectName("replace_text");
    replace_field_->setAccessibleName(tr("Replace with"));
    match_case_->setObjectName("match_case");
    match_case_->setAccessibleName(tr("Match case"));
    close_->setObjectName("find_close");
    close_->setText(QStringLiteral("\u2715"));
    close_->setToolTip(tr("Close (Esc)"));
    close_->setAccessibleName(tr("Close the find bar"));
    status_->setObjectName("find_status");
    // A label's name is the text it shows; a screen reader reads this beside it.
    status_->setAccessibleDescription(tr("Find status"));
    // The bar lies on the window's dark background. Set by a style sheet: under the window's
    // style sheet, a palette set here would not reach the labels.
    setStyleSheet(QStringLiteral("QLabel, QCheckBox { color: %1; }")
                      .arg(qcolour(window_colours::FIND_BAR_TEXT).name()));

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->addWidget(find_label, 0, 0);
    grid->addWidget(find_field_, 0, 1);
    grid->addWidget(next_, 0, 2);
    grid->addWidget(previous_, 0, 3);
    grid->addWidget(match_case_, 0, 4);
    grid->addWidget(close_, 0, 5, Qt::AlignRight);
    grid->addWidget(replace_label_, 1, 0);
    grid->addWidget(replace_field_, 1, 1);
    grid->addWidget(replace_, 1, 2);
    grid->addWidget(replace_all_, 1, 3);
    grid->addWidget(status_, 1, 4, 1, 2);
    grid->setColumnStretch(1, 1);

    connect(next_, &QPushButton::clicked, this, &FindBar::find_next);
    connect(previous_, &QPushButton::clicked, this, &FindBar::find_previous);
    connect(replace_, &QPushButton::clicked, this, &FindBar::replace_next);
    connect(replace_all_, &QPushButton::clicked, this, &FindBar::replace_all);
    connect(close_, &QToolButton::clicked, this, &FindBar::close_bar);
    connect(find_field_, &QLineEdit::textEdited, this, [this] {
        show_found(true);
        say({});
    });
    find_field_->installEventFilter(this);
    replace_field_->installEventFilter(this);
    hide();
}

void FindBar::show_find() {
    open(false);
}

void FindBar::show_replace() {
    open(true);
}

void FindBar::open(bool replace) {
    const QTextCursor c = editor_->textCursor();
    if (c.hasSelection() && editor_->document()->findBlock(c.selectionStart()) ==
                                editor_->document()->findBlock(c.selectionEnd())) {
        set_text(c.selectedText());
    }
    for (QWidget* row :
         {static_cast<QWidget*>(replace_label_), static_cast<QWidget*>(replace_field_),
          static_cast<QWidget*>(replace_), static_cast<QWidget*>(replace_all_)}) {
        row->setVisible(replace);
    }
    show();
    find_field_->setFocus();
    find_field_->selectAll();
}

void FindBar::close_bar() {
    hide();
    editor_->setFocus();
}

void FindBar::set_text(const QString& text) {
    find_field_->setText(text);
    show_found(true);
}

QString FindBar::text() const {
    return find_field_->text();
}

void FindBar::set_replacement(const QString& text) {
    replace_field_->setText(text);
}

void FindBar::set_match_case(bool on) {
    match_case_->setChecked(on);
}

QTextDocument::FindFlags FindBar::flags() const {
    return match_case_->isChecked() ? QTextDocument::FindCaseSensitively
                                    : QTextDocument::FindFlags();
}

bool FindBar::find_next() {
    return find(false);
}

bool FindBar::find_previous() {
    return find(true);
}

bool FindBar::find(bool backward) {
    const QString needle = find_field_->text();
    if (needle.isEmpty()) return false;
    QTextDocument* doc = editor_->document();
    QTextDocument::FindFlags f = flags();
    if (backward) f |= QTextDocument::FindBackward;
    QTextCursor hit = doc->find(needle, editor_->textCursor(), f);
    QString note;
    if (hit.isNull()) {
        QTextCursor from(doc);
        if (backward) from.movePosition(QTextCursor::End);
        hit = doc->find(needle, from, f);
        note = backward ? tr("Passed the start: went on from the end")
                        : tr("Passed the end: went on from the start");
    }
    show_found(!hit.isNull());
    if (hit.isNull()) {
        say(tr("\"%1\" not found").arg(needle));
        return false;
    }
    editor_->setTextCursor(hit);
    say(note);
    return true;
}

bool FindBar::replace_next() {
    const QString needle = find_field_->text();
    if (needle.isEmpty()) return false;
    QTextCursor c = editor_->textCursor();
    const Qt::CaseSensitivity cs =
        match_case_->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (c.hasSelection() && c.selectedText().compare(needle, cs) == 0) {
        c.insertText(replace_field_->text());
        editor_->setTextCursor(c);
    }
    return find_next();
}

int FindBar::replace_all() {
    const QString needle = find_field_->text();
    if (needle.isEmpty()) return 0;
    QTextDocument* doc = editor_->document();
    const QString replacement = replace_field_->text();
    QTextCursor edit(doc);
    int count = 0;
    // The search goes on behind each replacement, so a replacement that holds the text is
    // not replaced again.
    for (QTextCursor hit = doc->find(needle, 0, flags()); !hit.isNull();
         hit = doc->find(needle, hit, flags())) {
        if (count == 0) edit.beginEditBlock();
        hit.insertText(replacement);
        ++count;
    }
    if (count > 0) edit.endEditBlock();
    show_found(count > 0);
    if (count == 0) {
        say(tr("\"%1\" not found").arg(needle));
    } else {
        say(count == 1 ? tr("Replaced 1 match") : tr("Replaced %1 matches").arg(count));
    }
    return count;
}

void FindBar::show_found(bool found) {
    // A palette with no roles of its own gives the field back the bar's colours.
    QPalette p;
    if (!found) {
        p.setColor(QPalette::Base, qcolour(window_colours::NOT_FOUND_BACKGROUND));
        p.setColor(QPalette::Text, qcolour(window_colours::NOT_FOUND_TEXT));
    }
    find_field_->setPalette(p);
}

void FindBar::say(const QString& text) {
    status_->setText(text);
    emit message(text);
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape) {
        close_bar();
        return true;
    }
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        if (watched == replace_field_) {
            replace_next();
        } else if (key->modifiers() & Qt::ShiftModifier) {
            find_previous();
        } else {
            find_next();
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void FindBar::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close_bar();
        return;
    }
    QWidget::keyPressEvent(event);
}
