// Plain-word explanations of the reports a run makes, and the help page of each word of the
// language. For the window's help; no Qt.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "run_report.h"

// A readable name for a token code 0..64, as "Expected token A, got B" numbers them: the keyword
// for keywords ("THEN"), the sign for signs ("("), words for the rest ("number", "end of the
// program"). "unknown token" for any other code.
const char* token_name(int code);

// A short explanation, for a beginner, of a report: what went wrong and its usual causes. For a
// report that names a line, a paragraph about that line comes first. "" for ReportKind::None.
std::string explain_report(const RunReport& report);
// The same without the paragraph about the line: what the report's message means.
std::string explain_fault(const RunReport& report);

// What stopped the run, in one line and a student's words: the cause, the values that made it
// and the statement, as "B is 0 here: dividing by it stops the run (line 3: A=X/B)". `program`
// is the prepared program text; with "" neither the statement nor its line is named. "" for ReportKind::None.
std::string explain_cause(const RunReport& report, std::string_view program);

// The same for a math statement's box text ("sqrt: DOMAIN error"), which is no report: the
// program goes on. "" for a text that is no such box's.
std::string explain_math_error(std::string_view box_text);

// When a run stops with reports, what the window says under the output: the explanations of
// `reports` (of the statement that stopped the run, in the order made; the paragraph about the
// line only once) and, when that statement began on another line than the last report names,
// where that was. `program` is the prepared program text.
std::string explain_stop(std::span<const RunReport> reports, std::string_view program);
inline std::string explain_stop(const RunReport& report, std::string_view program) {
    return explain_stop(std::span<const RunReport>(&report, 1), program);
}

// The file name of the help page of a word of the language ("print.html" for PRINT, "if.html"
// for THEN); upper or lower case. "" for a word that is not one.
std::string help_page_for_word(std::string_view word);

// The word of the language that the caret at `column` of `line` stands in or just after, as
// the interpreter's scanner splits the line ("PRINT" for column 2 of "PRINTA"); "" when the
// caret is on anything else.
std::string keyword_at(std::string_view line, size_t column);
