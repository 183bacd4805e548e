// Colours for one editor line, taken from the interpreter's own scanner so that what the
// editor shows never disagrees with what a run does: keywords, variables, numbers, strings,
// operators, label numbers, dim comment and blank lines, the data section, and every
// character a run would stop at, with the reason in words.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "rgb.h"

enum class Highlight : unsigned char {
    Plain,  // the editor's own text colour
    Keyword,
    Variable,
    Number,
    String,
    Operator,  // operators and punctuation, ":" included
    Label,     // the number of LABEL, GOTO and GOSUB
    Comment,   // "//" lines; a run drops them
    Data,      // the "DATA" line and every line after it
    Problem,   // a character the scanner cannot take
};
inline constexpr int HIGHLIGHT_KINDS = 10;

struct HighlightSpan {
    int start = 0;
    int length = 0;
    Highlight kind = Highlight::Plain;
    // Why a run stops here, in words; empty when nothing is wrong. A problem may lie on a
    // span of any kind ("//" after code is an operator).
    std::string problem;
};

struct LineHighlight {
    std::vector<HighlightSpan> spans;  // in order and apart; characters in none are plain
    bool data_follows = false;         // the next line is in the data section
};

// `line` is the text of one editor line, one byte per character, without its line break.
// `foreign_columns` (rising) are the columns whose character has no 8-bit form; the byte
// there is only a stand-in.
LineHighlight highlight_line(std::string_view line, bool in_data,
                             std::span<const int> foreign_columns = {});

// The colour of each kind; every one is legible on the editor's black.
Rgb highlight_colour(Highlight kind);
Rgb problem_underline_colour();

// Lower-case letters a-z become upper case, except inside "..." string literals, which the
// scanner takes as they are. Each line ("\n" ends it) is taken on its own; a quote that is
// not closed on its line leaves the rest of the line as it is.
std::string upper_case_outside_strings(std::string text);
