// Find and replace in a text editor: a bar with a find field, a replace field (in replace
// mode), Next, Previous, Replace, Replace All, Match case and a close button. Enter finds the
// next match, Shift+Enter the previous one, Esc closes the bar and gives the editor the
// focus back. The search wraps around at either end and says so; a text that is not there
// turns the find field red. Status text goes out through `message`.
#pragma once

#include <QTextDocument>
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

class FindBar : public QWidget {
    Q_OBJECT
   public:
    explicit FindBar(QPlainTextEdit* editor, QWidget* parent = nullptr);

    // Show the bar without or with the replace row, the find field holding the editor's
    // selection (when it lies on one line) and the focus.
    void show_find();
    void show_replace();
    void close_bar();

    // Select the next or previous match from the caret; false when there is none.
    bool find_next();
    bool find_previous();
    // Replace the selected match, then find the next one; false when none is left.
    bool replace_next();
    // Every match, in one undo step; the number replaced.
    int replace_all();

    void set_text(const QString& text);
    QString text() const;
    void set_replacement(const QString& text);
    void set_match_case(bool on);

   signals:
    // Status text for the window; an empty text clears what the last one said.
    void message(const QString& text);

   protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

   private:
    void open(bool replace);
    bool find(bool backward);
    QTextDocument::FindFlags flags() const;
    void show_found(bool found);
    void say(const QString& text);

    QPlainTextEdit* editor_;
    QLineEdit* find_field_;
    QLineEdit* replace_field_;
    QLabel* replace_label_;
    QPushButton* next_;
    QPushButton* previous_;
    QPushButton* replace_;
    QPushButton* replace_all_;
    QCheckBox* match_case_;
    QToolButton* close_;
    QLabel* status_;
};
