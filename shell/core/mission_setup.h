// A mission as a host runs it: the mission file read, the preset and the scenario it names
// found beside it and read, and checked against each other before anything runs. The runner,
// the grader and the window set every mission up here, so that a file means the same in each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "file_access.h"
#include "mission.h"
#include "scenario.h"
#include "sim_preset.h"

// Where a file the mission names lies: in the mission file's folder (or below it, as the
// mission's reader allows). `mission_path` as the host has it: relative to the working folder,
// absolute, or in the window a resource path such as ":/missions/detumble.mission".
std::string mission_beside(std::string_view mission_path, std::string_view name);

struct MissionSetup {
    Mission mission;
    bool simulated = false;
    // The preset file beside the mission; empty for a shipped preset, or without a simulation.
    std::string sim_file;
    SimPreset preset;  // the mission's; without a simulation, the default
    std::string scenario_file;  // empty: none
    std::vector<ScenarioEvent> events;
    int64_t time_ms = 0;  // mission time after which the run ends
};

struct MissionSetupProblem {
    // The file at fault: empty for the mission file itself, else the preset or the scenario
    // file as mission_beside names it.
    std::string file;
    bool preset = false;      // `file` is the preset file
    bool unreadable = false;  // the file could not be read; `reason` says why
    int line = 0;             // the bad line, counted from 1; 0: the file as a whole
    std::string reason;

    // "FILE:LINE: reason" or "FILE: reason"; "cannot read FILE: reason" when it could not be
    // read. The mission file is called `mission_name`.
    std::string text(std::string_view mission_name) const;
};

// Reads at most `limit` bytes of a file, as read_regular_file does (the window also reads its
// resources).
using MissionFileReader = FileRead (*)(const std::string& path, size_t limit);

// The mission of `text`, read from `mission_path`, with what it names. False, with the first
// problem, when the mission cannot be run: a bad line, a sensor it sets that its simulation
// drives, a preset or scenario file that cannot be read or holds a bad line, or a scenario
// event that moves a sensor the simulation drives.
bool mission_setup(std::string_view mission_path, std::string_view text, MissionSetup& setup,
                   MissionSetupProblem& problem, MissionFileReader read = read_regular_file);
// The same, reading the mission file first.
bool mission_setup_file(const std::string& mission_path, MissionSetup& setup,
                        MissionSetupProblem& problem, MissionFileReader read = read_regular_file);
