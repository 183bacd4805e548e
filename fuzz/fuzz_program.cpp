// Fuzz target: arbitrary bytes as an editor text (program lines, comments, a DATA section),
// prepared as a fresh RUN does and run for a bounded number of passes. An input holding a form
// feed is two programs, the text before the first form feed and the text after it, run one
// after the other as two RUN clicks in the window would: the second starts fresh but inherits
// the variables, the device panel and the transmitter the first one left behind.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "channels.h"
#include "interp.h"
#include "math_stmts.h"
#include "prepare.h"
#include "program_text.h"
#include "radio.h"
#include "run_session.h"

namespace {

// Enough passes for loops, jumps and nesting to go deep, few enough to keep every input fast.
constexpr int MAX_PASSES = 5000;

void discard_line(std::string_view, void*) {}

// Holds before every statement on a line whose number ends in 3, as a breakpoint would.
HookAction hold_on_threes(const char*, int editor_line, void*) {
    return editor_line % 10 == 3 ? HookAction::Hold : HookAction::Go;
}

// Runs in slices with a waterfall tick between them, as the window serves its timer, and goes
// on past every hold as RUN goes on past a breakpoint.
void run_program(std::string_view text, RunSession& session) {
    if (!session.start(split_lines(text)).ok) return;
    for (int slice = 0; slice < MAX_PASSES / 64; ++slice) {
        const PassStop stop = session.run(64);
        if (stop != PassStop::Budget && stop != PassStop::Held) break;
        sdr_tick();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static VirtualClock clock;
    static RunSession session(&clock);
    static const bool ready = [] {
        session.hook = hold_on_threes;
        session_install({discard_line, nullptr, discard_line, nullptr, &clock});
        return true;
    }();
    (void)ready;

    session_reset_machine();
    clock.now = 0;

    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find('\f');
    if (split == std::string_view::npos) {
        run_program(input, session);
        return 0;
    }
    // The clock runs on between the two: the window's clock does not stop between runs either.
    run_program(input.substr(0, split), session);
    run_program(input.substr(split + 1), session);
    return 0;
}
