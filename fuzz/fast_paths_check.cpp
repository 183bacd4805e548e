#include "fast_paths_check.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "interp.h"
#include "math_stmts.h"
#include "program_text.h"
#include "run_session.h"
#include "tokenizer.h"

namespace {

// Enough statements for loops, jumps and nesting to go deep; the output bound keeps a program
// that prints thousands of lines a statement fast too. Both runs stop at the same point as long
// as they agree.
constexpr int MAX_PASSES = 5000;
constexpr long long MAX_LINES = 20000;

struct Outcome {
    std::string lines;  // the first megabyte of output
    long long line_count = 0;
    uint64_t output_hash = 14695981039346656037ULL;  // FNV-1a of all of it
    double variables[VARIABLE_COUNT];
    unsigned char user_ram[USER_RAM_SIZE];
    int stop_line = 0;
    int error_line = 0;
    long position = 0;
    int stopped = 0;
    long long steps = 0;
    PassStop stop = PassStop::Finished;
};

void record(Outcome& out, std::string_view prefix, std::string_view line) {
    ++out.line_count;
    for (std::string_view part : {prefix, line, std::string_view("\n")}) {
        for (char c : part) {
            out.output_hash = (out.output_hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
        }
        if (out.lines.size() < (1u << 20)) out.lines.append(part);
    }
}

void record_line(std::string_view line, void* out) {
    record(*static_cast<Outcome*>(out), {}, line);
}

void record_math(std::string_view text, void* out) {
    record(*static_cast<Outcome*>(out), "math: ", text);
}

void run_once(std::string_view text, bool fast, Outcome& out) {
    VirtualClock clock;
    session_install({record_line, &out, record_math, &out, &clock});
    tok_set_fast_paths(fast);
    session_reset_machine();
    RunSession session(&clock);
    if (session.start(split_lines(text)).ok) {
        for (int pass = 0; pass < MAX_PASSES; ++pass) {
            out.stop = session.run(1);
            if (out.stop != PassStop::Budget || out.line_count > MAX_LINES) break;
        }
        out.steps = session.steps();
        out.stop_line = current_line();
        out.error_line = interp.report.line;
        out.stopped = interp.run_stopped;
        out.position = tok_position() - machine.program_store;
    }
    std::memcpy(out.variables, machine.variables, sizeof out.variables);
    std::memcpy(out.user_ram, machine.user_ram, sizeof out.user_ram);
    tok_set_fast_paths(true);
    session_uninstall();
}

}  // namespace

const char* fast_plain_difference(std::string_view text) {
    Outcome fast{};
    Outcome plain{};
    run_once(text, true, fast);
    run_once(text, false, plain);
    if (fast.lines != plain.lines || fast.line_count != plain.line_count ||
        fast.output_hash != plain.output_hash) {
        return "output";
    }
    // Bit for bit: the sign of a zero and the payload of a NaN count too.
    if (std::memcmp(fast.variables, plain.variables, sizeof fast.variables) != 0) {
        return "variables";
    }
    if (std::memcmp(fast.user_ram, plain.user_ram, sizeof fast.user_ram) != 0) return "memory";
    if (fast.stop_line != plain.stop_line || fast.error_line != plain.error_line) {
        return "stop line";
    }
    if (fast.position != plain.position || fast.stopped != plain.stopped) return "end position";
    if (fast.steps != plain.steps || fast.stop != plain.stop) return "statements run";
    return nullptr;
}
