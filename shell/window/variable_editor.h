// Changing a variable's value while the program is held: a double click on its label in the
// variable panel, or Enter or F2 on the label with the keyboard focus, opens a line over the
// label. Enter takes the new value, Escape leaves the old one. A text that is no number is
// refused with a red frame, and the line stays open until it is one or Escape.
#pragma once

#include <QObject>
#include <QString>

#include "interp.h"

class QLabel;
class QLineEdit;

class VariableEditor : public QObject {
    Q_OBJECT
   public:
    VariableEditor(QLabel* const (&labels)[VARIABLE_COUNT], QObject* parent);

    // While editable, the labels are reached by Tab and may be edited; made not editable, an
    // open line is closed without a change.
    void set_editable(bool editable);
    bool editable() const { return editable_; }
    // Opens the line over variable k's label; nothing when not editable.
    void edit(int k);
    // The open line, or nullptr.
    QLineEdit* line() const { return editing_ >= 0 ? line_ : nullptr; }

    // A value as a program literal states it: an optional '-', digits with at most one '.',
    // no longer than the language's longest literal; spaces around it do not count.
    static bool parse_value(const QString& text, double& value);

   signals:
    // Variable k holds a new value.
    void valueChanged(int k);

   private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void commit();
    void close_line();

    QLabel* labels_[VARIABLE_COUNT] = {};
    QLineEdit* line_ = nullptr;
    int editing_ = -1;
    QString shown_text_;  // the text the line opened with
    bool editable_ = false;
};
