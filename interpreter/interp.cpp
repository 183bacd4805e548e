#include "interp.h"

#include <array>
#include <cstring>

#include "clock.h"
#include "control.h"
#include "eval.h"
#include "format.h"
#include "grammar.h"
#include "labels.h"
#include "math_stmts.h"
#include "tokenizer.h"

InterpState interp;
MachineState machine;

namespace {

OutputSink output_sink = nullptr;
void* output_context = nullptr;
ReportSink report_sink = nullptr;
void* report_context = nullptr;

void stmt_unknown() {
    report_error({.kind = ReportKind::UnknownCommand, .got = tok_current()});
}

// One executor per token code; a slot without one is an unknown command. Built at compile
// time so that statements of other layers can register before or after any static start-up.
constexpr std::array<StatementFn, TOKEN_KIND_COUNT> make_dispatch_table() {
    std::array<StatementFn, TOKEN_KIND_COUNT> table{};
    for (auto& e : table) e = stmt_unknown;
    table[TK_LABEL] = stmt_label;
    table[TK_VARIABLE] = stmt_let;
    table[TK_PRINT] = stmt_print;
    table[TK_IF] = stmt_if;
    table[TK_FOR] = stmt_for;
    table[TK_NEXT] = stmt_next;
    table[TK_GOTO] = stmt_goto;
    table[TK_GOSUB] = stmt_gosub;
    table[TK_RETURN] = stmt_return;
    table[TK_PEEK] = stmt_peek;
    table[TK_POKE] = stmt_poke;
    table[TK_END] = stmt_end;
    for (const MathStatement& m : math_statements) table[m.token] = m.executor;
    return table;
}

// The interpreter fills exactly the rows of the grammar that are its own; the others wait for
// their layer's registration.
constexpr bool fills_its_own_rows(const std::array<StatementFn, TOKEN_KIND_COUNT>& table) {
    for (int k = 0; k < TOKEN_KIND_COUNT; ++k) {
        const bool own =
            starts_statement(k) && statement_form(k)->executor == Executor::Interpreter;
        if (own != (table[static_cast<size_t>(k)] != stmt_unknown)) return false;
    }
    return true;
}
static_assert(fills_its_own_rows(make_dispatch_table()),
              "an executor of the interpreter without a grammar row, or a row without one");

}  // namespace

constinit DispatchTable dispatch_table = make_dispatch_table();

void interp_reset_all() {
    interp = InterpState{};
    machine = MachineState{};
    tokenizer = TokenizerState{};
    tok_cache_forget();
    labels_clear();
}

void interp_set_output(OutputSink sink, void* context) {
    output_sink = sink;
    output_context = context;
}

InterpSinks interp_sinks() {
    return {output_sink, output_context, report_sink, report_context};
}

void interp_set_sinks(const InterpSinks& sinks) {
    interp_set_output(sinks.output, sinks.output_context);
    interp_set_report_sink(sinks.report, sinks.report_context);
}

void interp_set_report_sink(ReportSink sink, void* context) {
    report_sink = sink;
    report_context = context;
}

void output_line(std::string_view line) {
    if (output_sink != nullptr) output_sink(line, output_context);
}

bool interp_register(TokenKind token, StatementFn executor) {
    if (statement_form(token) == nullptr) return false;
    dispatch_table[static_cast<size_t>(token)] = executor != nullptr ? executor : stmt_unknown;
    return true;
}

bool interp_has_executor(TokenKind token) {
    return token >= 0 && token < TOKEN_KIND_COUNT &&
           dispatch_table[static_cast<size_t>(token)] != stmt_unknown;
}

void interp_start(const char* text) {
    interp.text_extent = static_cast<int>(std::strlen(text)) + 1;
    // Only the program store is known to stay as it is for the whole run: any other text may be
    // a caller's buffer that is gone before the next run starts.
    if (text == machine.program_store) {
        tok_cache_text(text, static_cast<size_t>(interp.text_extent));
    } else {
        tok_cache_forget();
    }
    // A program whose first line is indented starts, like every other line, at its first word.
    const char* start = text;
    while (*start == ' ') ++start;
    interp.program_start = start;
    interp.gosub_level = 0;
    interp.for_level = 0;
    tok_reset(start);
    interp.run_stopped = 0;
    interp.error_reported = false;
    interp.report = RunReport{};
    interp.resume_time = clock_ms();
}

void interp_step_at_end() {
    report_error({.kind = ReportKind::ProgramFinished});
}

int current_line() {
    const long index = tok_position() - machine.program_store;
    if (index < 0 || index >= PROGRAM_STORE_SIZE) return 0;
    return machine.line_table[index];
}



void expect_token_mismatch(TokenKind expected) {
    report_error({.kind = ReportKind::ExpectedToken, .expected = expected, .got = tok_current()});
    tok_advance();
}

namespace {

// The offset in the program store of the statement now running; -1 when none is.
long running_statement() {
    const long index = interp.statement_start - machine.program_store;
    return interp.statement_start != nullptr && index >= 0 && index < PROGRAM_STORE_SIZE
               ? index
               : -1;
}

static_assert(MAX_FOR_LEVELS <= RunReport::MAX_OPEN_LINES &&
              MAX_GOSUB_LEVELS <= RunReport::MAX_OPEN_LINES);

void report_error_in(int editor_line, RunReport report) {
    interp.run_stopped = 1;
    interp.error_reported = true;
    report.line = editor_line;
    const long index = running_statement();
    if (index >= 0) {
        const int line = machine.line_table[index];
        // The store holds each program line as the editor does, so the column is the distance
        // from the line's first byte.
        long start = index;
        while (start > 0 && machine.line_table[start - 1] == line) --start;
        report.statement_line = line;
        report.statement_column = static_cast<int>(index - start);
        report.statement_offset = static_cast<int>(index);
    } else {
        report.statement_line = -1;
        report.statement_column = -1;
        report.statement_offset = -1;
    }
    if (report.kind == ReportKind::DivisionByZero || report.kind == ReportKind::Overflow ||
        report.kind == ReportKind::InvalidOperation) {
        const long at = tok_position() - machine.program_store;
        report.fault_offset = at >= 0 && at < PROGRAM_STORE_SIZE ? static_cast<int>(at) : -1;
    }
    // The line of a return point or a loop's body start is the line of the ':' before it.
    const auto line_before = [](const char* position) {
        long at = position - machine.program_store - 1;
        while (at > 0 && at < PROGRAM_STORE_SIZE && machine.program_store[at] == ' ') --at;
        return at >= 0 && at < PROGRAM_STORE_SIZE ? machine.line_table[at] : -1;
    };
    if (report.kind == ReportKind::ForStackOverflow) {
        for (int k = 0; k < interp.for_level; ++k) {
            report.open_lines[report.open_count++] = line_before(interp.for_stack[k].position);
        }
    } else if (report.kind == ReportKind::GosubStackOverflow) {
        for (int k = 0; k < interp.gosub_level; ++k) {
            report.open_lines[report.open_count++] = line_before(interp.gosub_stack[k]);
        }
    }
    interp.report = report;
    if (report_sink != nullptr) report_sink(report, report_context);
    const ReportLines lines = report_lines(report);
    for (int i = 0; i < lines.count; ++i) output_line(lines[i]);
}

}  // namespace

void report_error(RunReport report) {
    report_error_in(current_line(), report);
}

void report_statement_error(RunReport report) {
    const long index = running_statement();
    report_error_in(index >= 0 ? machine.line_table[index] : current_line(), report);
}

void var_set(int index, double value) {
    if (index >= 0 && index < VARIABLE_COUNT) machine.variables[index] = value;
}

double var_get(int index) {
    return (index >= 0 && index < VARIABLE_COUNT) ? machine.variables[index] : 0.0;
}

int format_value(double value, char* out) {
    return format_general(value, PANEL_DIGITS, out);
}

// var = expression end
void stmt_let() {
    const int i = tok_variable();
    expect_token(TK_VARIABLE);
    expect_token(TK_EQ);
    const double v = eval_expression();
    var_set(i, v);
    expect_token(TK_CR);
}

// PRINT { string | expression | "," | ";" } end
// Every item goes to a line of its own; an item that starts with anything else ends the list,
// and that token is consumed in place of the ":".
void stmt_print() {
    expect_token(TK_PRINT);
    for (;;) {
        const TokenKind t = tok_current();
        if (t == TK_STRING) {
            tok_string(interp.string_buffer, MAX_STRING_CHARS);
            output_line(interp.string_buffer);
            tok_advance();
        } else if (t == TK_COMMA || t == TK_SEMICOLON) {
            tok_advance();
        } else if (t == TK_VARIABLE || t == TK_NUMBER || t == TK_LEFTPAREN) {
            char text[FORMAT_BUFFER_SIZE];
            const int n = format_general(eval_expression(), PRINT_DIGITS, text);
            output_line(std::string_view(text, static_cast<size_t>(n)));
        } else {
            break;
        }
        if (tok_current() == TK_CR || tok_current() == TK_ENDOFINPUT) break;
    }
    tok_advance();
}

// END  -- the ":" behind it is not consumed
void stmt_end() {
    expect_token(TK_END);
    interp.run_stopped = 1;
}

// PEEK address, var end  -- 0..2047 read the memory, 2048 on the DATA bytes behind the text
void stmt_peek() {
    expect_token(TK_PEEK);
    int32_t a = to_int(eval_expression());
    expect_token(TK_COMMA);
    const int i = tok_variable();
    expect_token(TK_VARIABLE);
    expect_token(TK_CR);
    if (a < 0) a = 0;
    unsigned char byte = 0;
    if (a < USER_RAM_SIZE) {
        byte = machine.user_ram[a];
    } else {
        const long long index = static_cast<long long>(a) - USER_RAM_SIZE + interp.text_extent;
        if (index < PROGRAM_STORE_SIZE) {
            byte = static_cast<unsigned char>(machine.program_store[index]);
        }
    }
    var_set(i, byte);
}

// POKE address, expression end  -- stores the low 8 bits; addresses outside the memory write
// nothing
void stmt_poke() {
    expect_token(TK_POKE);
    const int32_t a = to_int(eval_expression());
    expect_token(TK_COMMA);
    const double v = eval_expression();
    expect_token(TK_CR);
    if (a >= 0 && a < USER_RAM_SIZE) {
        machine.user_ram[a] = static_cast<unsigned char>(static_cast<uint32_t>(to_int(v)) & 0xFF);
    }
}
