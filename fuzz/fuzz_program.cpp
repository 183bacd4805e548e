// Fuzz target: arbitrary bytes as an editor text (program lines, comments, a DATA section),
// prepared as a fresh RUN does and run for a bounded number of passes. An input holding a form
// feed is two programs, the text before the first form feed and the text after it, run one
// after the other as two RUN clicks in the window would: the second starts fresh but inherits
// the variables, the device panel and the transmitter the first one left behind.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "channels.h"
#include "clock.h"
#include "device_stmts.h"
#include "interp.h"
#include "math_stmts.h"
#include "prepare.h"
#include "program_text.h"
#include "radio.h"
#include "run_core.h"

namespace {

// Enough passes for loops, jumps and nesting to go deep, few enough to keep every input fast.
constexpr int MAX_PASSES = 5000;

void discard_line(std::string_view, void*) {}

void run_program(std::string_view text, VirtualClock& clock) {
    if (!run_fresh_start(split_lines(text)).ok) return;
    for (int pass = 0; pass < MAX_PASSES && !interp_finished(); ++pass) {
        if (clock.now < interp.resume_time) clock.advance_to(interp.resume_time);
        run_pass(pass % 7 == 6);
        if (pass % 64 == 0) sdr_tick();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static VirtualClock clock;
    static const bool ready = [] {
        device_register_statements();
        interp_set_output(discard_line, nullptr);
        math_set_error_sink(discard_line, nullptr);
        clock.install();
        return true;
    }();
    (void)ready;

    interp_reset_all();
    device_reset();
    radio_reset();
    clock.now = 0;

    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find('\f');
    if (split == std::string_view::npos) {
        run_program(input, clock);
        return 0;
    }
    // The clock runs on between the two: the window's clock does not stop between runs either.
    run_program(input.substr(0, split), clock);
    run_program(input.substr(split + 1), clock);
    return 0;
}
