#include "output_pane.h"

#include <QEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QToolTip>
#include <algorithm>

#include "explain.h"

namespace {

// Carried by each line of a report in the pane.
struct ReportLine : QTextBlockUserData {
    ReportLine(const RunReport& r, bool is_first) : report(r), first(is_first) {}
    RunReport report;
    bool first;
};

// Marks the blocks from `block` on as the lines of `report`, from its line `from` to its last.
void mark(QTextBlock block, int from, const RunReport& report) {
    const int count = report_lines(report).count;
    for (int k = from; k < count && block.isValid(); ++k, block = block.next()) {
        block.setUserData(new ReportLine(report, k == 0));
    }
}

}  // namespace

OutputPane::OutputPane(QPlainTextEdit* pane, QPlainTextEdit* editor, QObject* parent)
    : QObject(parent), pane_(pane), viewport_(pane->viewport()), editor_(editor) {
    viewport_->installEventFilter(this);
}

void OutputPane::append(const QString& lines, const std::vector<ReportAt>& reports) {
    pane_->appendPlainText(lines);
    appended_ += lines.count('\n') + 1;
    if (reports.empty()) return;
    // The lines just appended end the document; those a full pane dropped from its top are
    // gone, and their reports with them.
    const QTextDocument* doc = pane_->document();
    const int appended = static_cast<int>(lines.count('\n')) + 1;
    const int first = doc->blockCount() - appended;
    for (const ReportAt& r : reports) {
        const int at = first + r.line;
        mark(doc->findBlockByNumber(std::max(0, at)), std::max(0, -at), r.report);
    }
}

void OutputPane::append_report(const RunReport& report) {
    const ReportLines lines = report_lines(report);
    if (lines.count == 0) return;
    QString text;
    for (int i = 0; i < lines.count; ++i) {
        if (i > 0) text += '\n';
        text += QLatin1StringView(lines[i].data(), static_cast<qsizetype>(lines[i].size()));
    }
    pane_->appendPlainText(text);
    appended_ += lines.count;
    const QTextDocument* doc = pane_->document();
    const int at = doc->blockCount() - lines.count;
    mark(doc->findBlockByNumber(std::max(0, at)), std::max(0, -at), report);
}

void OutputPane::run_started() {
    appended_ = 0;
    undone_from_ = -1;
    pane_->setExtraSelections({});
    pane_->setAccessibleDescription(QString());
}

int OutputPane::block_of(long long line) const {
    const int blocks = appended_ > 0 ? pane_->document()->blockCount() : 0;
    const long long dropped = appended_ - blocks;
    if (line >= appended_) return blocks;
    return line < dropped ? -1 : static_cast<int>(line - dropped);
}

long long OutputPane::undone_lines() const {
    return undone_from_ < 0 ? 0 : appended_ - undone_from_;
}

void OutputPane::show_undone_from(long long line) {
    const int block = block_of(std::max(0LL, line));
    if (line >= appended_ || block >= pane_->document()->blockCount()) {
        if (undone_from_ < 0) return;
        undone_from_ = -1;
        pane_->setExtraSelections({});
        pane_->setAccessibleDescription(QString());
        return;
    }
    undone_from_ = std::max(0LL, line);
    QTextEdit::ExtraSelection undone;
    undone.cursor = QTextCursor(pane_->document()->findBlockByNumber(std::max(0, block)));
    undone.cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    undone.format.setForeground(pane_->palette().color(QPalette::Disabled, QPalette::Text));
    undone.format.setFontStrikeOut(true);
    pane_->setExtraSelections({undone});
    const long long count = undone_lines();
    pane_->setAccessibleDescription(
        count == 1 ? QStringLiteral("The last line was printed by an undone statement.")
                   : QStringLiteral("The last %1 lines were printed by undone statements.")
                         .arg(count));
}

void OutputPane::drop_undone() {
    if (undone_from_ < 0) return;
    const int block = block_of(undone_from_);
    QTextDocument* doc = pane_->document();
    QTextCursor cut(doc);
    if (block <= 0) {
        cut.select(QTextCursor::Document);
    } else {
        // From the end of the last line done, its line break with the rest.
        cut.setPosition(doc->findBlockByNumber(block - 1).position() +
                        doc->findBlockByNumber(block - 1).length() - 1);
        cut.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    }
    cut.removeSelectedText();
    appended_ = undone_from_;
    undone_from_ = -1;
    pane_->setExtraSelections({});
    pane_->setAccessibleDescription(QString());
}

const RunReport* OutputPane::report_of(const QTextBlock& block, bool* first) {
    const auto* data = dynamic_cast<const ReportLine*>(block.userData());
    if (data == nullptr) return nullptr;
    if (first != nullptr) *first = data->first;
    return &data->report;
}

bool OutputPane::eventFilter(QObject* watched, QEvent* event) {
    if (watched == viewport_) {
        if (event->type() == QEvent::ToolTip) {
            const auto* help = static_cast<QHelpEvent*>(event);
            explain_at(help->pos(), help->globalPos());
            return true;
        }
        if (event->type() == QEvent::MouseButtonDblClick) {
            jump_to_report_line(static_cast<QMouseEvent*>(event)->position().toPoint());
        }
    }
    return QObject::eventFilter(watched, event);
}

// The plain explanation of the report under the mouse, with its token names: the whole report
// on its first line, what its message means on the message.
void OutputPane::explain_at(const QPoint& position, const QPoint& global) {
    bool first = false;
    const RunReport* report = report_of(pane_->cursorForPosition(position).block(), &first);
    const std::string explanation =
        report == nullptr ? std::string()
        : first           ? explain_report(*report)
                          : explain_fault(*report);
    if (explanation.empty()) {
        QToolTip::hideText();
        return;
    }
    QToolTip::showText(global,
                       "<p style='white-space:pre-wrap'>" +
                           QString::fromStdString(explanation).toHtmlEscaped() + "</p>",
                       pane_->viewport());
}

// A double click on a report takes the caret to the line it names.
void OutputPane::jump_to_report_line(const QPoint& position) {
    const RunReport* report = report_of(pane_->cursorForPosition(position).block());
    if (report == nullptr || report->line < 0) return;
    const QTextBlock block = editor_->document()->findBlockByNumber(report->line);
    if (!block.isValid()) return;
    editor_->setTextCursor(QTextCursor(block));
    editor_->ensureCursorVisible();
    editor_->setFocus();
}
