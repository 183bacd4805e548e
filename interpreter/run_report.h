// What a run reports when a fault stops it, or when a program cannot start: the facts, for the
// hosts and the explanations, and the one writer that turns them into the lines the output
// shows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

enum class ReportKind : uint8_t {
    None,
    ExpectedToken,       // expected, got: token codes
    UnknownCommand,      // got: the token that began the statement
    DivisionByZero,      // left, right: the dividend and the divisor
    Overflow,            // left, right: the operands
    InvalidOperation,    // left, right: the operands (of a comparison, or a value and 0)
    NextMismatch,        // expected: the innermost open loop's variable, -1 with none; got: NEXT's
    ForStackOverflow,    // limit: the loops that may be open
    GosubStackOverflow,  // limit: the return points that may wait
    ReturnMismatch,
    ProgramFinished,
    // The preparation's faults: the program does not start.
    LineHoldsNul,
    LineHoldsForeignCharacter,
    TooManyLines,  // amount: the program lines, limit
    TooManyBytes,  // amount: the bytes the text and the DATA need, limit
};
inline constexpr int REPORT_KIND_COUNT = static_cast<int>(ReportKind::TooManyBytes) + 1;

struct RunReport {
    ReportKind kind = ReportKind::None;
    // The editor line the report names, counted from 0; -1 for a report that names none.
    int line = -1;
    // Where the statement that was running began: its editor line and column and its offset in
    // the program store. A label search reports the line where it ended, not this one. -1 when
    // no statement was running (the preparation's reports).
    int statement_line = -1;
    int statement_column = -1;
    int statement_offset = -1;
    int expected = 0;
    int got = 0;
    double left = 0;
    double right = 0;
    long long amount = 0;
    long long limit = 0;
    // For a calculation's fault: where the scan stood when it was found, just after the operand
    // that caused it, as an offset in the program store; -1 for other reports.
    int fault_offset = -1;
    // For ForStackOverflow and GosubStackOverflow: the editor lines of the loops still open or
    // of the GOSUBs still waiting for their RETURN, the oldest first.
    static constexpr int MAX_OPEN_LINES = 10;
    int open_lines[MAX_OPEN_LINES] = {};
    int open_count = 0;
};

// The lines of a report as the output shows them: "ERROR in line: N" (for a report that names a
// line) and the message. At most two, each short.
struct ReportLines {
    static constexpr int MAX_CHARS = 96;
    char text[2][MAX_CHARS] = {};
    int length[2] = {};
    int count = 0;
    std::string_view operator[](int i) const {
        return {text[i], static_cast<size_t>(length[i])};
    }
};
ReportLines report_lines(const RunReport& report);
// The lines joined by '\n'; "" for ReportKind::None.
std::string report_text(const RunReport& report);
// What went wrong, without the line and the "ERROR: " in front: "Division by zero".
std::string report_message(const RunReport& report);

// A name for each kind, for files a program reads ("division-by-zero"); "none" for None.
const char* report_kind_name(ReportKind kind);
// The kind of a name; false for a name that is none.
bool report_kind_from_name(std::string_view name, ReportKind& kind);
