// What can be seen wrong in a program without running it: characters the scanner cannot take,
// comparisons the language does not have, IF ... THEN ... ELSE forms that go wrong, the traps of
// the language reference, jumps to labels that no LABEL defines, FOR and NEXT without their other
// half, RETURN without a GOSUB, lines that never run, and statements a run would stop at.
//
// It reads the text as RUN prepares it (comment and blank lines dropped, the DATA section apart)
// and splits it with the interpreter's own scanner. It touches no state of the interpreter, so
// it may run while a program runs. No Qt.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

enum class Severity : unsigned char {
    Error,    // a run that gets here stops with an error report, or RUN does not start at all
    Warning,  // a run goes on, but does something else than the text seems to say
};

struct Finding {
    int line = 0;    // the editor line, counted from 0 like the gutter and the status bar
    int column = 0;  // counted from 0
    int length = 1;  // characters marked from `column` on, at least 1
    Severity severity = Severity::Error;
    std::string message;    // what is wrong and what to write instead
    std::string help_page;  // the page of the language reference that explains it: "if.html"
};

// A character of the editor's text that has no 8-bit form; the text holds a stand-in there.
struct TextPoint {
    int line = 0;
    int column = 0;
};

// The findings for an editor text whose lines end in "\n" (a CR LF or a lone CR ends a line
// too), ordered by line and column. `foreign` lists, in rising order, the characters that have
// no 8-bit form. The text is read once, with no state kept between calls: a 5,000-line program
// takes about 1.5 ms, so the editor can check the whole text after each pause in typing.
std::vector<Finding> check_program(std::string_view editor_text,
                                   std::span<const TextPoint> foreign = {});

// The first `limit` findings by line and column, and how many more there are. Reports, the
// Problems list and the editor's marks show at most MAX_REPORTED_FINDINGS of a program, then
// "and M more"; the memory the check takes stays in proportion to the limit.
struct BoundedFindings {
    std::vector<Finding> findings;
    size_t more = 0;
    size_t more_warnings = 0;  // of `more`, the warnings
};
inline constexpr size_t MAX_REPORTED_FINDINGS = 200;
BoundedFindings check_program_bounded(std::string_view editor_text, size_t limit,
                                      std::span<const TextPoint> foreign = {});

// "LINE:COLUMN: message", as zorvant-run --check prints a finding after the file's name.
std::string finding_text(const Finding& finding);
