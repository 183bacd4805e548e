// Plain-word explanations of the reports a run writes, and the help page of each word of the
// language. For the window's help; no Qt.
#pragma once

#include <string>
#include <string_view>

// A readable name for a token code 0..64, as "ERROR: Expected token A, got B" numbers them:
// the keyword for keywords ("THEN"), the sign for signs ("("), words for the rest ("number",
// "end of the program"). "unknown token" for any other code.
const char* token_name(int code);

// A short explanation, for a beginner, of one line of the output pane that reports an error
// ("ERROR in line: 4", "ERROR: Expected token 35, got 9", "ERROR: Division by zero"...) or of
// a math statement's box text ("sqrt: DOMAIN error"): what went wrong and its usual causes.
// A text of several lines gets the explanations of its lines, one paragraph each. "" for a
// line that is no such report.
std::string explain_report(std::string_view message);

// When a run stops with a report, what the window says under the output: the explanations of
// the report's lines and, when the statement that failed began on another line than the
// report names, where that was. `program` is the prepared program text and `statement` the
// offset in it where that statement began; `statement_line` and `report_line` are editor lines.
std::string explain_stop(std::string_view report, std::string_view program, size_t statement,
                         int statement_line, int report_line);

// The file name of the help page of a word of the language ("print.html" for PRINT, "if.html"
// for THEN); upper or lower case. "" for a word that is not one.
std::string help_page_for_word(std::string_view word);

// The word of the language that the caret at `column` of `line` stands in or just after, as
// the interpreter's scanner splits the line ("PRINT" for column 2 of "PRINTA"); "" when the
// caret is on anything else.
std::string keyword_at(std::string_view line, size_t column);
