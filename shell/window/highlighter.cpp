#include "highlighter.h"

#include <QColor>
#include <QTextBlock>

namespace {

// Block states: the data section goes on below the line, or not. A block never coloured
// has -1, which reads as "not".
constexpr int STATE_CODE = 0;
constexpr int STATE_DATA = 1;

QColor qcolour(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

}  // namespace

std::string scanner_text(const QString& line, std::vector<int>& foreign) {
    std::string text(static_cast<size_t>(line.size()), '\0');
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char16_t u = line[i].unicode();
        if (u > 0xFF) {
            text[static_cast<size_t>(i)] = '?';
            foreign.push_back(static_cast<int>(i));
        } else {
            text[static_cast<size_t>(i)] = static_cast<char>(u);
        }
    }
    return text;
}

LineHighlight highlight_text(const QString& line, bool in_data) {
    std::vector<int> foreign;
    const std::string text = scanner_text(line, foreign);
    return highlight_line(text, in_data, foreign);
}

Highlighter::Highlighter(QTextDocument* document) : QSyntaxHighlighter(document) {
    for (int k = 0; k < HIGHLIGHT_KINDS; ++k) {
        const Highlight kind = static_cast<Highlight>(k);
        // Plain text keeps the editor's own colour.
        if (kind != Highlight::Plain) formats_[k].setForeground(qcolour(highlight_colour(kind)));
        problem_formats_[k] = formats_[k];
        problem_formats_[k].setUnderlineStyle(QTextCharFormat::WaveUnderline);
        problem_formats_[k].setUnderlineColor(qcolour(problem_underline_colour()));
    }
}

bool Highlighter::data_follows(const QTextBlock& block) {
    return block.isValid() && block.userState() == STATE_DATA;
}

LineHighlight Highlighter::line_of(const QTextBlock& block) {
    return highlight_text(block.text(), data_follows(block.previous()));
}

void Highlighter::highlightBlock(const QString& text) {
    if (currentBlock().blockNumber() >= COLOURED_LINES) {
        setCurrentBlockState(previousBlockState() == STATE_DATA ? STATE_DATA : STATE_CODE);
        return;
    }
    ++highlighted_lines_;
    const LineHighlight h = highlight_text(text, previousBlockState() == STATE_DATA);
    int marks = 0;
    for (const HighlightSpan& s : h.spans) {
        const int k = static_cast<int>(s.kind);
        if (s.start >= COLOURED_COLUMNS) {
            if (s.problem.empty()) continue;
            if (++marks > MARKS_PAST_COLOURS) break;
        }
        setFormat(s.start, s.length, s.problem.empty() ? formats_[k] : problem_formats_[k]);
    }
    setCurrentBlockState(h.data_follows ? STATE_DATA : STATE_CODE);
}
