#include "run_core.h"

#include "clock.h"
#include "interp.h"
#include "radio.h"

PreparedProgram run_fresh_start(const std::vector<std::string>& editor_lines) {
    tx_reset();
    PreparedProgram prepared = prepare_program(editor_lines);
    if (prepared.ok) interp_start(machine.program_store);
    return prepared;
}

bool run_pass(bool paused) {
    bool stepped = false;
    if (!paused && clock_ms() >= interp.resume_time) {
        interp_step();
        stepped = true;
    }
    tx_inject();
    return stepped;
}
