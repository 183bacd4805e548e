// Colours the editor's lines with the interpreter's own scanner (see highlight.h). A block's
// state says whether the data section goes on below it, so an edit colours only the lines it
// changes, and the lines below a "DATA" line that appears or goes away.
#pragma once

#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <array>
#include <string>
#include <vector>

#include "highlight.h"

class Highlighter : public QSyntaxHighlighter {
    Q_OBJECT
   public:
    explicit Highlighter(QTextDocument* document);

    // Every change of colour is a stretch the text layout measures and draws on its own, and
    // a generated line of a million characters holds hundreds of thousands of them. Past
    // COLOURED_COLUMNS a line keeps the plain colour; of the characters there that a run would
    // stop at, the first MARKS_PAST_COLOURS are still marked.
    static constexpr int COLOURED_COLUMNS = 10000;
    static constexpr int MARKS_PAST_COLOURS = 1000;
    // A coloured line costs the editor a few hundred bytes besides its text. A pasted text of
    // megabytes would take gigabytes; a program that can run is a small fraction of
    // COLOURED_LINES long. The lines below stay plain, and the data section's state carries on
    // through them unchanged.
    static constexpr int COLOURED_LINES = 50000;

    // Lines coloured so far; what a keystroke costs.
    long highlighted_lines() const { return highlighted_lines_; }

    // The colours of `block` as the highlighter gives them, from the state of the line above.
    static LineHighlight line_of(const QTextBlock& block);
    // Whether the data section goes on below `block` (false for an invalid block).
    static bool data_follows(const QTextBlock& block);

   protected:
    void highlightBlock(const QString& text) override;

   private:
    std::array<QTextCharFormat, HIGHLIGHT_KINDS> formats_;
    std::array<QTextCharFormat, HIGHLIGHT_KINDS> problem_formats_;
    long highlighted_lines_ = 0;
};

// The text of an editor line as the scanner sees it, one byte per character (UTF-16 unit):
// characters with no 8-bit form get a stand-in and their columns go into `foreign`.
std::string scanner_text(const QString& line, std::vector<int>& foreign);
LineHighlight highlight_text(const QString& line, bool in_data);
