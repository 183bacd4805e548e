// The whole machine of a run as one value: what a run changes and what a run taken up again
// needs to go on exactly as it would have. A snapshot is taken between two statements and put
// back between two statements of the same run; from there the run goes on as it did after the
// snapshot was taken, output, trace and simulation included.
//
// What a run does not change is left out: the program store and its line table, the
// simulation's preset and the world made from it, the subscribers. So are the notes the
// interpreter keeps of the text (scans, expression shapes, a false IF's skip): they depend on
// the text alone. The label table is the exception: a label's first recorded position stays for
// the rest of the run, so the snapshot keeps how many were recorded, and putting it back
// forgets the later ones and the jumps remembered. The waterfall's picture is the window's (its
// timer scrolls it, no statement does): only the row the transmitter writes into is kept.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "channels.h"
#include "interp.h"
#include "radio.h"
#include "run_session.h"
#include "simulation.h"
#include "tokenizer.h"

// The transmitter and the waterfall's pending row (radio.h), without the picture.
struct RadioSnapshot {
    bool tx_active = false;
    bool tx_in_view = true;
    int32_t tx_column = 0;
    int32_t tx_symbol = 0;
    int32_t tx_shift = 0;
    uint32_t noise_state = 0;
    uint8_t sdr_row[SDR_WIDTH] = {};
};

// What moves of the simulation (simulation.h): its state and the mapping of the program clock
// onto its own.
struct SimulationSnapshot {
    bool on = false;
    bool held = false;
    int32_t origin_ms = 0;
    int32_t held_at_ms = 0;
    SimState state;
};

struct MachineSnapshot {
    InterpState interp;
    TokenizerState tokenizer;
    double variables[VARIABLE_COUNT] = {};
    unsigned char user_ram[USER_RAM_SIZE] = {};
    int label_count = 0;
    // Every channel but the window's own settings (the waterfall's speed), which keep their
    // start position here and are left alone by machine_restore.
    std::array<int32_t, CHANNEL_COUNT> channels{};
    RadioSnapshot radio;
    SimulationSnapshot simulation;
    RunSession::Progress session;
    // The program clock's reading.
    int32_t clock_ms = 0;
};

// The machine now, between two statements of the run `session` makes.
MachineSnapshot machine_capture(const RunSession& session);

// Puts the machine back as `snapshot` found it, for `session` to go on from there: the program
// clock reads the snapshot's time again (the session's virtual clock is set; the steady clock,
// when that is the one installed, is moved). The snapshot must come from the run now loaded
// (the same prepared program and simulation preset). The subscribers hear of it as of any
// change: each channel whose position changes, the radio's listener once, and the
// simulation's subscribers once when it is on.
void machine_restore(const MachineSnapshot& snapshot, RunSession& session);

// The first part in which two snapshots differ ("variables", "simulation.state.body", ...), or ""
// when they are the same. Numbers are compared by their bits: a NaN equals the same NaN, and 0
// is not -0.
std::string machine_difference(const MachineSnapshot& a, const MachineSnapshot& b);

inline bool operator==(const MachineSnapshot& a, const MachineSnapshot& b) {
    return machine_difference(a, b).empty();
}
