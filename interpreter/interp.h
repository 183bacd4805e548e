// Interpreter state, statement frame and dispatch.
//
// The interpreter is one instance of module-level state with free functions. The host installs
// an output sink (one line of the output pane at a time) and, in math_stmts.h, a math error
// sink; the clock is in clock.h.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "run_report.h"
#include "tokenizer.h"
#include "tokens.h"

// The prepared program text, its terminating zero and the DATA bytes behind it.
inline constexpr int PROGRAM_STORE_SIZE = 8192;
static_assert(PROGRAM_STORE_SIZE <= TOKEN_CACHE_SIZE, "the token cache keeps the whole store");
// Memory that POKE writes and PEEK reads at addresses 0..2047; DATA bytes follow at 2048.
inline constexpr int USER_RAM_SIZE = 2048;
inline constexpr int VARIABLE_COUNT = 26;
// PRINT shows at most this many characters of a string literal.
inline constexpr int MAX_STRING_CHARS = 40;
// Return points of nested GOSUBs; deeper nesting reports an overflow.
inline constexpr int MAX_GOSUB_LEVELS = 10;
// Open FOR loops; a fifth FOR reports an overflow.
inline constexpr int MAX_FOR_LEVELS = 4;

struct ForEntry {
    const char* position;
    int variable;
    double limit;
};

// Everything a run changes that is not kept from run to run; interp_start resets it.
struct InterpState {
    int run_stopped = 0;
    int32_t resume_time = 0;
    const char* program_start = nullptr;
    int text_extent = 0;
    // Set by every error report and arithmetic fault of the run; the headless runner's exit code.
    bool error_reported = false;
    // Where the statement now running began.
    const char* statement_start = nullptr;
    const char* gosub_stack[MAX_GOSUB_LEVELS] = {};
    int gosub_level = 0;
    ForEntry for_stack[MAX_FOR_LEVELS] = {};
    int for_level = 0;
    char string_buffer[MAX_STRING_CHARS + 1] = {};
    // The run's last report; kind None before any.
    RunReport report;
};

// What a program keeps from one run to the next, and the stores the run controller fills.
struct MachineState {
    double variables[VARIABLE_COUNT] = {};
    unsigned char user_ram[USER_RAM_SIZE] = {};
    char program_store[PROGRAM_STORE_SIZE] = {};
    int line_table[PROGRAM_STORE_SIZE] = {};
};

extern InterpState interp;
extern MachineState machine;

// Resets everything: interpreter, machine, tokenizer and labels. For tests and fresh hosts.
void interp_reset_all();

using OutputSink = void (*)(std::string_view line, void* context);
void interp_set_output(OutputSink sink, void* context);
// Told of each report of a run before its lines go to the output sink.
using ReportSink = void (*)(const RunReport& report, void* context);
void interp_set_report_sink(ReportSink sink, void* context);
// The sinks in force, to be put back later by a host that lends them for a while.
struct InterpSinks {
    OutputSink output = nullptr;
    void* output_context = nullptr;
    ReportSink report = nullptr;
    void* report_context = nullptr;
};
InterpSinks interp_sinks();
void interp_set_sinks(const InterpSinks& sinks);
// Appends one line to the output pane.
void output_line(std::string_view line);

using StatementFn = void (*)();
// Statements of other layers (the device) enter the dispatch table here; a token without an
// executor is an unknown command. A token that starts no statement of the grammar (grammar.h)
// is refused: false, and the table stays as it was.
[[nodiscard]] bool interp_register(TokenKind token, StatementFn executor);
// Whether a statement starting with `token` runs, rather than stopping as an unknown command.
bool interp_has_executor(TokenKind token);

void interp_start(const char* text);
inline void interp_step();
inline void interp_step_within();
inline bool interp_finished() {
    return interp.run_stopped != 0 || tok_at_end();
}
int current_line();
using DispatchTable = std::array<StatementFn, TOKEN_KIND_COUNT>;
// The executor of each token code, an unknown command where there is none.
extern DispatchTable dispatch_table;
inline void exec_statement() {
    dispatch_table[tok_current()]();
}
// Advances over the current token; when it is not `expected`, reports the mismatch first.
inline void expect_token(TokenKind expected);
// Reports a fault (its kind and the facts that go with it) and stops the run after the running
// statement. The report names the line where the scan stands; where the statement began is
// filled in here, and the one writer of report lines (run_report.h) makes the output's lines.
void report_error(RunReport report);
// The same report, naming the line on which the running statement began: for faults found
// only after the statement has read its end, when the position already stands on the next line.
void report_statement_error(RunReport report);

void var_set(int index, double value);
double var_get(int index);

// The variable panel's text of a value: 6 significant digits. Returns the length written.
int format_value(double value, char* out);

void interp_step_at_end();

// Thrown by arithmetic_fault after the report; the statement dispatcher catches it, so nothing
// after the fault in that statement happens.
struct StatementAborted {};

// One statement, where the text is known to go on.
inline void interp_step_within() {
    interp.statement_start = tok_position();
    try {
        exec_statement();
    } catch (const StatementAborted&) {
        // The fault has been reported; nothing after it in the statement runs.
    }
}

// One statement; at the end of the text, the report that the program has finished.
inline void interp_step() {
    if (tok_at_end()) [[unlikely]] {
        interp_step_at_end();
        return;
    }
    interp_step_within();
}

// The report of a mismatch, then the advance all the same.
void expect_token_mismatch(TokenKind expected);

inline void expect_token(TokenKind expected) {
    if (tok_current() == expected) [[likely]] {
        if (expected != TK_ENDOFINPUT) {
            tok_advance_over_token();
        } else {
            tok_advance();
        }
    } else {
        expect_token_mismatch(expected);
    }
}

void stmt_let();
void stmt_print();
void stmt_end();
void stmt_peek();
void stmt_poke();
