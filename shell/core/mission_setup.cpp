#include "mission_setup.h"

#include <cmath>

#include "simulation.h"

std::string mission_beside(std::string_view mission_path, std::string_view name) {
    const size_t slash = mission_path.rfind('/');
    const std::string_view folder =
        slash == std::string_view::npos ? std::string_view() : mission_path.substr(0, slash + 1);
    return std::string(folder) + std::string(name);
}

std::string MissionSetupProblem::text(std::string_view mission_name) const {
    std::string out;
    if (unreadable) out = "cannot read ";
    out += file.empty() ? mission_name : std::string_view(file);
    if (line > 0) {
        out += ':';
        out += std::to_string(line);
    }
    out += ": ";
    out += reason;
    // A name that is no shipped preset was taken for a file.
    if (unreadable && preset) out += " (nor is it a shipped preset: see --sim list)";
    return out;
}

namespace {

bool read_named(MissionFileReader read, const std::string& path, size_t limit,
                const char* too_large, bool preset, std::string& bytes,
                MissionSetupProblem& problem) {
    const FileRead file = read(path, limit);
    if (file.ok && !file.truncated) {
        bytes = file.bytes;
        return true;
    }
    problem = {path, preset, true, 0, file.ok ? too_large : file.reason};
    return false;
}

}  // namespace

bool mission_setup(std::string_view mission_path, std::string_view text, MissionSetup& setup,
                   MissionSetupProblem& problem, MissionFileReader read) {
    setup = MissionSetup{};
    problem = MissionSetupProblem{};
    MissionRead parsed = mission_parse(text);
    if (parsed.error_line != 0) {
        problem.line = parsed.error_line;
        problem.reason = std::move(parsed.error);
        return false;
    }
    Mission& m = setup.mission;
    m = std::move(parsed.mission);
    setup.simulated = !m.sim.empty();
    setup.time_ms = std::llround(m.time_s * 1000);
    for (const auto& [channel, position] : m.settings) {
        if (setup.simulated && sim_drives(channel)) {
            problem.reason = std::string("set ") + info_of(channel).name +
                             " does not go with sim: the simulation drives it";
            return false;
        }
    }
    if (setup.simulated) {
        std::string bytes;
        if (const ShippedPreset* shipped = sim_find_shipped(m.sim)) {
            bytes = shipped->text;
        } else {
            setup.sim_file = mission_beside(mission_path, m.sim);
            if (!read_named(read, setup.sim_file, MAX_SIM_PRESET_BYTES, "It is larger than 64 KiB",
                            true, bytes, problem)) {
                return false;
            }
        }
        SimPresetRead preset = sim_preset_parse(bytes);
        if (preset.error_line != 0) {
            problem = {setup.sim_file, true, false, preset.error_line, std::move(preset.error)};
            return false;
        }
        setup.preset = preset.preset;
    }
    if (!m.scenario.empty()) {
        setup.scenario_file = mission_beside(mission_path, m.scenario);
        std::string bytes;
        if (!read_named(read, setup.scenario_file, MAX_SCENARIO_FILE_BYTES,
                        REASON_SCENARIO_FILE_TOO_LARGE, false, bytes, problem)) {
            return false;
        }
        ScenarioRead events = scenario_parse(bytes);
        if (events.error_line != 0) {
            problem = {setup.scenario_file, false, false, events.error_line, std::move(events.error)};
            return false;
        }
        for (size_t i = 0; setup.simulated && i < events.events.size(); ++i) {
            const Channel c = events.events[i].channel;
            if (sim_drives(c)) {
                problem = {setup.scenario_file, false, false, events.event_lines[i],
                           std::string(info_of(c).name) +
                               " is driven by the simulation: no event can move it"};
                return false;
            }
        }
        setup.events = std::move(events.events);
    }
    return true;
}

bool mission_setup_file(const std::string& mission_path, MissionSetup& setup,
                        MissionSetupProblem& problem, MissionFileReader read) {
    std::string text;
    if (!read_named(read, mission_path, MAX_MISSION_FILE_BYTES, "It is larger than 64 KiB", false,
                    text, problem)) {
        problem.file.clear();
        return false;
    }
    return mission_setup(mission_path, text, setup, problem, read);
}
