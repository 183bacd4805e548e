// Fuzz target: the interpreter's shortcuts against the plain way. Each input is an editor text
// run twice from the same fresh machine, once with the fast scan, number conversion and label
// lookup and once with every token classified by the rules one after the other, every number
// converted by the C library and every label looked up by walking the cache. The output lines,
// math messages, variables, memory, stop line and end position must be the same; any
// difference aborts.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

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

Outcome* recording = nullptr;

void record(std::string_view prefix, std::string_view line) {
    if (recording == nullptr) return;
    ++recording->line_count;
    for (std::string_view part : {prefix, line, std::string_view("\n")}) {
        for (char c : part) {
            recording->output_hash =
                (recording->output_hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
        }
        if (recording->lines.size() < (1u << 20)) recording->lines.append(part);
    }
}

void record_line(std::string_view line, void*) {
    record({}, line);
}

void record_math(std::string_view text, void*) {
    record("math: ", text);
}

Outcome run_once(std::string_view text, bool fast, VirtualClock& clock) {
    Outcome out{};
    recording = &out;
    tok_set_fast_paths(fast);
    session_reset_machine();
    clock.now = 0;
    RunSession session(&clock);
    if (session.start(split_lines(text)).ok) {
        for (int pass = 0; pass < MAX_PASSES; ++pass) {
            out.stop = session.run(1);
            if (out.stop != PassStop::Budget || out.line_count > MAX_LINES) break;
        }
        out.steps = session.steps();
        out.stop_line = current_line();
        out.error_line = interp.error_line;
        out.stopped = interp.run_stopped;
        out.position = tok_position() - machine.program_store;
    }
    std::memcpy(out.variables, machine.variables, sizeof out.variables);
    std::memcpy(out.user_ram, machine.user_ram, sizeof out.user_ram);
    tok_set_fast_paths(true);
    recording = nullptr;
    return out;
}

[[noreturn]] void differ(const char* what) {
    std::fprintf(stderr, "fast and plain paths differ: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static VirtualClock clock;
    static const bool ready = [] {
        session_install({record_line, nullptr, record_math, nullptr, &clock});
        return true;
    }();
    (void)ready;

    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const Outcome fast = run_once(input, true, clock);
    const Outcome plain = run_once(input, false, clock);
    if (fast.lines != plain.lines || fast.line_count != plain.line_count ||
        fast.output_hash != plain.output_hash) {
        differ("output");
    }
    // Bit for bit: the sign of a zero and the payload of a NaN count too.
    if (std::memcmp(fast.variables, plain.variables, sizeof fast.variables) != 0) {
        differ("variables");
    }
    if (std::memcmp(fast.user_ram, plain.user_ram, sizeof fast.user_ram) != 0) differ("memory");
    if (fast.stop_line != plain.stop_line || fast.error_line != plain.error_line) {
        differ("stop line");
    }
    if (fast.position != plain.position || fast.stopped != plain.stopped) differ("end position");
    if (fast.steps != plain.steps || fast.stop != plain.stop) differ("statements run");
    return 0;
}
