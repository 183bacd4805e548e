// The output pane's side of reports: it appends the run's lines, marks the lines of each report
// with the report itself (the pane drops lines from its top, so their numbers do not last), and
// answers the mouse on them: hovering explains the report in plain words, a double click takes
// the editor's caret to the line it names.
#pragma once

#include <QObject>
#include <QString>
#include <vector>

#include "run_control.h"
#include "run_report.h"

class QPlainTextEdit;
class QTextBlock;

class OutputPane : public QObject {
    Q_OBJECT
   public:
    // Watches `pane`'s viewport; a double click moves `editor`'s caret.
    OutputPane(QPlainTextEdit* pane, QPlainTextEdit* editor, QObject* parent);

    // Lines joined by '\n', as RunControl hands them over, with the reports among them.
    void append(const QString& lines, const std::vector<ReportAt>& reports);
    // A report on its own: a program that could not start.
    void append_report(const RunReport& report);
    // A fresh run: the pane was cleared, and the lines are counted from its first again.
    void run_started();
    // The run's lines from `line` on (counted from the run's first, 0) were printed by
    // statements that are undone: they are shown struck through and grey. A count past the
    // last line shows every line as done.
    void show_undone_from(long long line);
    // The undone lines go: the run goes on after the last line done.
    void drop_undone();
    long long undone_lines() const;
    // The report a line of the pane belongs to; nullptr for any other line. `first` tells
    // whether the line is the report's first.
    static const RunReport* report_of(const QTextBlock& block, bool* first = nullptr);

   protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

   private:
    void explain_at(const QPoint& position, const QPoint& global);
    void jump_to_report_line(const QPoint& position);

    QPlainTextEdit* pane_;
    // Kept apart: the viewport still gets events while the pane is being destroyed, when the
    // pane can no longer be asked for it.
    QWidget* viewport_;
    QPlainTextEdit* editor_;
    // Lines appended since the run started; those a full pane dropped from its top included.
    long long appended_ = 0;
    long long undone_from_ = -1;
    // The block of the run's line `line`, or -1 when it was dropped from the top; the block
    // count for a line past the last.
    int block_of(long long line) const;
};
