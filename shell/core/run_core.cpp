#include "run_core.h"

#include "clock.h"
#include "interp.h"
#include "radio.h"

namespace {

// The clock only moves forward, so once a resume time has been reached it stays reached: the
// clock is read again only when a DELAY has set a new one. Reading it on every pass would cost
// a running program a good part of its speed.
struct ResumeCheck {
    bool known = false;
    int32_t reached = 0;

    bool due() {
        if (known && reached == interp.resume_time) return true;
        if (clock_ms() < interp.resume_time) return false;
        known = true;
        reached = interp.resume_time;
        return true;
    }
};

ResumeCheck resume_check;

}  // namespace

PreparedProgram run_fresh_start(const std::vector<std::string>& editor_lines,
                                const std::vector<int>& foreign_lines) {
    tx_reset();
    PreparedProgram prepared = prepare_program(editor_lines, foreign_lines);
    if (prepared.ok) {
        interp_start(machine.program_store);
        resume_check = ResumeCheck{};
    }
    return prepared;
}

bool run_pass(bool paused) {
    bool stepped = false;
    if (!paused && resume_check.due()) {
        interp_step();
        stepped = true;
    }
    tx_inject();
    return stepped;
}
