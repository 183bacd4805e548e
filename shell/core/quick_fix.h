// Fixes the editor can make for a finding when the right text follows from the text itself:
// a comparison the language does not have written in its own form, a LET taken away, lower case
// raised, a ":" between two statements, a comment after code moved onto a line of its own, a
// number in E or 0X form written out. The fix is decided from the characters at the finding,
// never from its message. No Qt.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "checker.h"

// Replaces `length` characters of `line` from `column` on (both counted from 0, as the gutter
// and the status bar count) with `replacement`; a replacement that holds "\n" adds a line.
struct TextEdit {
    int line = 0;
    int column = 0;
    int length = 0;
    std::string replacement;
};

struct QuickFix {
    std::string title;            // what the fix does, for a menu: "Remove LET"
    std::vector<TextEdit> edits;  // apart from one another, in rising order
};

// The fix for `finding` in `line_text` (the finding's line, without its line end), or none.
std::optional<QuickFix> quick_fix_for_line(std::string_view line_text, const Finding& finding);
// The same, from the whole editor text (lines end in "\n").
std::optional<QuickFix> quick_fix(std::string_view editor_text, const Finding& finding);

// The text with the fix's edits made; for hosts that hold the text as a string.
std::string apply_fix(std::string_view editor_text, const QuickFix& fix);
