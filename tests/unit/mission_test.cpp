// Missions: the file's lines and their refusals, each kind of goal met, missed and at the edge
// of its tolerance, fed with samples whose answers follow from the numbers alone; the score;
// and zorvant-run --mission on the shipped missions and in a grading case.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "mission.h"
#include "mission_setup.h"
#include "run_shell.h"
#include "runner.h"
#include "sim_preset.h"

namespace fs = std::filesystem;

namespace {

Mission parsed(const std::string& text) {
    const MissionRead read = mission_parse(text);
    EXPECT_EQ(read.error_line, 0) << read.error;
    return read.mission;
}

// A sample at `t_ms` with the temperature channel at `tem`, the rate series at `rate`, the
// transmitter on or off and the station's elevation.
TraceSnapshot at(int64_t t_ms, double rate, int tem = 20, bool tx = false, double elev = -5) {
    TraceSnapshot s;
    s.time_ms = t_ms;
    s.channels[static_cast<int>(Channel::Tem)] = tem;
    s.tx_active = tx;
    s.simulated = true;
    s.sim[SIM_RATE] = rate;
    s.sim[SIM_ELEVATION] = elev;
    return s;
}

MissionWatch::State state(const MissionWatch& w, size_t k) {
    return w.status(k).state;
}

TEST(MissionFile, RefusesWhatItCannotRead) {
    const struct {
        const char* text;
        int line;
        const char* error;
    } bad[] = {
        {"goal = speed < 1", 1, "unknown quantity 'speed'"},
        {"sim = tumbling_1u\n\ngoal = rate <", 3, "a number must follow '<'"},
        {"sim = x\ngoal = rate < 1 by 5 from 2", 2,
         "a goal has one 'by', or 'from' and 'to', each once"},
        {"goal = tem between 40 0", 1, "between takes the lower bound first"},
        {"goal = rate < 1", 1, "this goal needs a simulation: give one with sim = PRESET"},
        {"colour = red\ngoal = A > 1", 1, "unknown key 'colour'"},
        {"time = 0\ngoal = A > 1", 1, "time is a number of seconds above 0, at most 2000000"},
        {"goal = output contains DONE", 1, "output contains needs a text in quotes"},
        {"goal = output contains \"DONE", 1, "a quote is left open"},
        {"goal = A > 1 weight 0", 1, "a weight is from 0.001 to 1000"},
        {"goal = A > 1 weight 1e308", 1, "a weight is from 0.001 to 1000"},
        {"goal = A < 1e299", 1, "a bound lies between -1000000000 and 1000000000"},
        {"goal = A between -1e10 0", 1, "a bound lies between -1000000000 and 1000000000"},
        {"goal = A > 1 tolerance 1e300", 1, "a tolerance is from 0 to 1000000000"},
        {"goal = A > 1 from 3000000", 1, "times count from 0 to 2000000"},
        {"title = no goals", 1, "a mission has at least one goal"},
        // Files lie beside the mission or below it.
        {"sim = ../../../../etc/passwd\ngoal = A > 1", 1,
         "sim is a shipped preset or a file beside the mission or below it"},
        {"sim = /etc/passwd\ngoal = A > 1", 1,
         "sim is a shipped preset or a file beside the mission or below it"},
        {"goal = A > 1\nscenario = moves/../../x.txt", 2,
         "scenario is a file beside the mission or below it"},
        {"scenario = ..\\x.txt\ngoal = A > 1", 1,
         "scenario is a file beside the mission or below it"},
        // The author's words follow their goal, once.
        {"describe = Brake it\ngoal = A > 1", 1, "describe follows the goal it describes"},
        {"goal = A > 1\ndescribe = a\n# more\ndescribe = b", 4, "a goal has one describe"},
    };
    for (const auto& b : bad) {
        const MissionRead read = mission_parse(b.text);
        EXPECT_EQ(read.error_line, b.line) << b.text;
        EXPECT_EQ(read.error, b.error) << b.text;
    }
    // Comments end a line, but not inside quotes; a teacher's five lines.
    const Mission m = parsed(
        "title = Detumble # the first mission\nsim = tumbling_1u\ntime = 900\n"
        "goal = rate_deg_s < 1 by 600 tolerance 0.1 weight 2\n"
        "goal = output contains \"# DONE\"\n");
    EXPECT_EQ(m.title, "Detumble");
    EXPECT_EQ(m.time_s, 900);
    ASSERT_EQ(m.goals.size(), 2u);
    EXPECT_TRUE(m.goals[0].by);
    EXPECT_EQ(m.goals[0].by_s, 600);
    EXPECT_EQ(m.goals[0].tolerance, 0.1);
    EXPECT_EQ(m.goals[0].weight, 2);
    EXPECT_EQ(m.goals[1].needle, "# DONE");
    const Mission below = parsed("sim = worlds/warm..sim\nscenario = ./moves/a.txt\ngoal = A > 1");
    EXPECT_EQ(below.sim, "worlds/warm..sim");
    EXPECT_EQ(below.scenario, "./moves/a.txt");
}

// Presets and missions are read by the same rules: a '#' inside quotes is no comment, a quote
// left open is refused, a lone CR ends a line, and a word of the file shows as printable text.
TEST(KeyValueFiles, PresetsAndMissionsShareTheirRules) {
    const struct {
        bool preset;
        const char* text;
        int line;
        const char* error;  // or, when line is 0, the description or title read
    } cases[] = {
        {true, "description = \"Sat #1\" rides # note\n", 0, "\"Sat #1\" rides"},
        {true, "description = a 5\" dish # big\n", 1, "a quote is left open"},
        {false, "title = a 5\" dish\ngoal = A > 1\n", 1, "a quote is left open"},
        {true, "env_speedup = 2\renv_speedup = 3\n", 2,
         "env_speedup is given twice, first on line 1"},
        {false, "goal = A > 1\n\x1B[2J = 1\n", 2, "unknown key '\\x1B[2J'"},
        {false, "set = magx=\x07\ngoal = A > 1\n", 1, "bad setting 'magx=\\x07'"},
    };
    for (const auto& c : cases) {
        int line = 0;
        std::string error, read;
        if (c.preset) {
            const SimPresetRead r = sim_preset_parse(c.text);
            std::tie(line, error, read) = std::tuple(r.error_line, r.error, r.preset.description);
        } else {
            const MissionRead r = mission_parse(c.text);
            std::tie(line, error, read) = std::tuple(r.error_line, r.error, r.mission.title);
        }
        EXPECT_EQ(line, c.line) << c.text;
        EXPECT_EQ(line == 0 ? read : error, c.error) << c.text;
    }
}

// A mission's preset file and scenario lie in its folder, wherever the host found it: the
// working folder, a path, or the window's resources; reading stops at the first problem.
TEST(MissionSetup, FindsWhatTheMissionNamesBesideIt) {
    const struct {
        const char* mission;
        const char* name;
        const char* path;
    } beside[] = {
        {"m.mission", "w.sim", "w.sim"},
        {"cases/c/mission", "sub/w.sim", "cases/c/sub/w.sim"},
        {"/m.mission", "w.sim", "/w.sim"},
        {":/missions/detumble.mission", "moves", ":/missions/moves"},
    };
    for (const auto& b : beside) EXPECT_EQ(mission_beside(b.mission, b.name), b.path);

    static const std::map<std::string, std::string> files = {
        {"c/warm.sim", "temp_start_c = 31\n"},
        {"c/bad.sim", "temp = 31\n"},
        {"c/moves", "0 colr=5\n250 colg=7\n"},
        {"c/driven", "0 colr=5\n250 tem=7\n"},
    };
    const MissionFileReader reader = [](const std::string& path, size_t) {
        FileRead read;
        const auto found = files.find(path);
        read.ok = found != files.end();
        read.bytes = read.ok ? found->second : "";
        read.reason = read.ok ? "" : "No such file or directory";
        return read;
    };
    MissionSetup setup;
    MissionSetupProblem problem;
    ASSERT_TRUE(mission_setup("c/m", "sim = warm.sim\nscenario = moves\ntime = 2.5\ngoal = A > 1",
                              setup, problem, reader))
        << problem.text("c/m");
    EXPECT_EQ(setup.sim_file, "c/warm.sim");
    EXPECT_EQ(setup.preset.temp_start_c, 31);
    EXPECT_EQ(setup.scenario_file, "c/moves");
    EXPECT_EQ(setup.events, (std::vector<ScenarioEvent>{{0, Channel::ColR, 5},
                                                        {250, Channel::ColG, 7}}));
    EXPECT_EQ(setup.time_ms, 2500);
    ASSERT_TRUE(mission_setup("c/m", "sim = tumbling_1u\ngoal = rate < 1", setup, problem, reader));
    EXPECT_TRUE(setup.simulated && setup.sim_file.empty());

    const struct {
        const char* text;
        const char* problem;
    } bad[] = {
        {"scenario = ../moves\ngoal = A > 1",
         "c/m:1: scenario is a file beside the mission or below it"},
        {"sim = warm.sim\nset = tem=5\ngoal = A > 1",
         "c/m: set tem does not go with sim: the simulation drives it"},
        {"sim = cold.sim\ngoal = A > 1",
         "cannot read c/cold.sim: No such file or directory (nor is it a shipped preset: see "
         "--sim list)"},
        {"sim = bad.sim\ngoal = A > 1", "c/bad.sim:1: unknown key 'temp'"},
        {"scenario = none\ngoal = A > 1", "cannot read c/none: No such file or directory"},
        {"sim = warm.sim\nscenario = driven\ngoal = A > 1",
         "c/driven:2: tem is driven by the simulation: no event can move it"},
    };
    for (const auto& b : bad) {
        EXPECT_FALSE(mission_setup("c/m", b.text, setup, problem, reader)) << b.text;
        EXPECT_EQ(problem.text("c/m"), b.problem);
    }
}

// What is printed reads back as the number: three decimals at most, and for numbers too large
// for decimals to mean anything, the shortest text that reads back.
TEST(MissionFile, NumbersPrintAsTheyAre) {
    const struct {
        double value;
        const char* text;
    } numbers[] = {
        {2.5, "2.5"},       {-0.0004, "0"},
        {0.1 + 0.2, "0.3"}, {123456789.25, "123456789.25"},
        {1e299, "1e+299"},  {-2.5e20, "-2.5e+20"},
        {HUGE_VAL, "inf"},  {999999999999999.0, "999999999999999"},
    };
    for (const auto& n : numbers) EXPECT_EQ(mission_number(n.value), n.text) << n.value;
}

// Reached by a deadline and kept to the end: the rate falls below 1 at 500 s; a rise after
// the deadline loses the goal for good, a dip that ends before it does not count.
TEST(MissionGoals, ByMeansReachedInTimeAndKept) {
    const Mission m = parsed(
        "sim = tumbling_1u\ngoal = rate < 1 by 600\ngoal = rate < 1 by 400\n"
        "goal = rate < 1 by 600\n");
    MissionWatch w(m, 0);
    w.sample(at(0, 8));
    w.sample(at(100'000, 0.5));  // a dip ...
    w.sample(at(200'000, 3));    // ... that ends before either deadline
    w.sample(at(500'000, 0.9));
    EXPECT_EQ(state(w, 0), MissionWatch::State::Holding);
    w.sample(at(700'000, 0.8));
    w.finish(900'000);
    EXPECT_EQ(w.status(0).state, MissionWatch::State::Met);
    EXPECT_EQ(w.status(0).figure, "within bounds from 500 s on");
    EXPECT_EQ(w.status(1).state, MissionWatch::State::Missed);
    EXPECT_EQ(w.status(1).figure, "rate was 3 at 400 s: 2 above 1");

    MissionWatch back(m, 0);
    back.sample(at(0, 0.5));
    back.sample(at(650'000, 1.25));
    EXPECT_EQ(state(back, 0), MissionWatch::State::Missed);  // decided at once
    back.finish(900'000);
    EXPECT_EQ(back.status(0).figure, "rate went back to 1.25 at 650 s: 0.25 above 1");
}

// A tolerance moves the bound by exactly its size: "<" stays strict at the new bound, "<="
// takes it in.
TEST(MissionGoals, ToleranceEdge) {
    const Mission m = parsed(
        "goal = tem < 40 tolerance 2\ngoal = tem <= 40 tolerance 2\n"
        "goal = tem between 0 41 tolerance 1\n");
    MissionWatch w(m, 0);
    w.sample(at(0, 0, 30));
    w.sample(at(10'000, 0, 42));
    w.finish(20'000);
    EXPECT_EQ(w.status(0).state, MissionWatch::State::Missed);
    EXPECT_EQ(w.status(0).figure, "tem first out of bounds at 10 s; worst 42 at 10 s: 0 above 42");
    EXPECT_EQ(w.status(1).state, MissionWatch::State::Met);
    EXPECT_EQ(w.status(2).state, MissionWatch::State::Met);

    // Below, a tolerance moves the lower bound down: 10 with a tolerance of 2 takes 8 in.
    const Mission low =
        parsed("goal = tem between 10 41 tolerance 2\ngoal = tem > 10 tolerance 2\n");
    for (const auto& [tem, met] : {std::pair{8, true}, {7, false}, {12, true}}) {
        MissionWatch v(low, 0);
        v.sample(at(0, 0, tem));
        v.finish(10'000);
        EXPECT_EQ(v.status(0).state == MissionWatch::State::Met, met) << tem;
        EXPECT_EQ(v.status(1).state == MissionWatch::State::Met, met && tem != 8) << tem;
    }
}

// Throughout a window: what happens before or after it does not count; the report names the
// first breach and the worst. The temperature name reads the temperature channel.
TEST(MissionGoals, ThroughoutAWindow) {
    const Mission m = parsed("goal = temperature between 0 40 from 60 to 600\n");
    MissionWatch outside(m, 0);
    outside.sample(at(0, 0, 70));  // hot until 60 s: before the window
    outside.sample(at(60'000, 0, 30));
    outside.sample(at(601'000, 0, 90));  // after it
    EXPECT_EQ(state(outside, 0), MissionWatch::State::Met);
    outside.finish(700'000);
    EXPECT_EQ(outside.status(0).state, MissionWatch::State::Met);

    MissionWatch inside(m, 0);
    inside.sample(at(0, 0, 30));
    inside.sample(at(100'000, 0, 41));
    inside.sample(at(200'000, 0, 45));
    inside.sample(at(300'000, 0, -3));
    inside.finish(600'000);
    EXPECT_EQ(inside.status(0).state, MissionWatch::State::Missed);
    EXPECT_EQ(inside.status(0).figure,
              "temperature first out of bounds at 100 s; worst 45 at 200 s: 5 above 40");
}

// Only while: every moment of transmission outside the pass counts against the tolerance.
// Sometime: one moment in the window is enough.
TEST(MissionGoals, OnlyWhileAndSometime) {
    const Mission m = parsed(
        "sim = ground_pass\ngoal = tx only while station_visible tolerance 0.5\n"
        "goal = tx only while station_visible\ngoal = tx > 0 sometime from 40 to 80\n");
    MissionWatch w(m, 0);
    w.sample(at(0, 0));
    w.sample(at(45'000, 0, 20, true, 10));
    w.sample(at(78'000, 0, 20, true, -0.1));  // a byte that ends after the pass
    w.sample(at(78'400, 0, 20, false, -0.2));
    EXPECT_EQ(state(w, 1), MissionWatch::State::Missed);
    EXPECT_EQ(state(w, 2), MissionWatch::State::Met);
    w.finish(120'000);
    EXPECT_EQ(w.status(0).state, MissionWatch::State::Met);
    EXPECT_EQ(w.status(1).figure, "tx at 78 s while station_visible was 0, 0.4 s in all");
    EXPECT_EQ(w.status(2).figure, "within bounds at 45 s");

    MissionWatch silent(m, 0);
    silent.sample(at(0, 0));
    silent.finish(120'000);
    EXPECT_EQ(silent.status(2).state, MissionWatch::State::Missed);
    EXPECT_EQ(silent.status(2).figure, "tx never within bounds; nearest 0 at 40 s: 0 below 0");
}

// A run that ended early is judged only on what it saw: a window it did not reach, or did not
// see to its end (or to the mission's time), is missed. The mission lasts 600 s; A and B are 1
// from the start, so every goal holds as far as the run goes.
TEST(MissionGoals, ARunThatEndsEarlyMissesTheWindowsItDidNotSee) {
    const Mission m = parsed(
        "goal = A > 0\ngoal = A > 0 from 60\ngoal = A > 0 from 60 to 600\ngoal = A > 0 to 300\n"
        "goal = A > 0 by 120\ngoal = A > 0 sometime from 60 to 120\n"
        "goal = A > 0 from 500 to 900\ngoal = A only while B\n");
    const int64_t ends_ms[] = {0, 100'000, 300'000, 600'000, 700'000};
    const char* const met = "";
    // Per goal and end: empty when met, else the figure's end.
    const std::vector<std::vector<const char*>> missed = {
        {met, met, met, met, met},
        {"before 60 s", met, met, met, met},
        {"before 60 s", "before 600 s", "before 600 s", met, met},
        {"before 300 s", "before 300 s", met, met, met},
        {"before 120 s", "before 120 s", met, met, met},
        {"before 60 s", met, met, met, met},
        {"before 500 s", "before 500 s", "before 500 s", met, met},
        {met, met, met, met, met},
    };
    for (size_t e = 0; e < std::size(ends_ms); ++e) {
        MissionWatch w(m, 0);
        TraceSnapshot s = at(0, 0);
        s.variables[0] = s.variables[1] = 1;
        w.sample(s);
        w.finish(ends_ms[e]);
        for (size_t k = 0; k < m.goals.size(); ++k) {
            SCOPED_TRACE(m.goals[k].text + " ended at " + std::to_string(ends_ms[e]));
            const std::string want = missed[k][e];
            if (want.empty()) {
                EXPECT_EQ(state(w, k), MissionWatch::State::Met) << w.status(k).figure;
                continue;
            }
            EXPECT_EQ(state(w, k), MissionWatch::State::Missed);
            EXPECT_EQ(w.status(k).figure,
                      "the run ended at " + std::to_string(ends_ms[e] / 1000) + " s, " + want);
        }
    }
}

TEST(MissionGoals, OutputAndScore) {
    const Mission m = parsed(
        "goal = output contains \"DETUMBLED\" weight 3\ngoal = A > 5\ngoal = B > 5\n");
    MissionWatch w(m, 0);
    TraceSnapshot s = at(0, 0);
    s.variables[0] = 6;
    w.sample(s);
    w.output_line("NOT YET");
    EXPECT_EQ(state(w, 0), MissionWatch::State::Pending);
    w.output_line("NOW DETUMBLED!");
    EXPECT_EQ(state(w, 0), MissionWatch::State::Met);
    w.finish(1000);
    EXPECT_FALSE(w.all_met());
    EXPECT_EQ(w.report_lines(),
              (std::vector<std::string>{
                  "MET output contains \"DETUMBLED\" weight 3: printed",
                  "MET A > 5: within bounds throughout",
                  "MISSED B > 5: B first out of bounds at 0 s; worst 0 at 0 s: 5 below 5",
                  "score 4/5 (80 %)"}));
}

// A copy of a watch is a moment of the run to go back to: it goes on as the original went on,
// after the original is gone.
TEST(MissionGoals, ACopyGoesOnAsTheOriginalDid) {
    const Mission m =
        parsed("sim = tumbling_1u\ngoal = rate < 1 by 2\ngoal = output contains \"DONE\"\n");
    auto original = std::make_unique<MissionWatch>(m, 0);
    original->sample(at(0, 3));
    original->sample(at(500, 2));
    MissionWatch copy = *original;
    const auto go_on = [](MissionWatch& w) {
        w.sample(at(1000, 0.5));
        w.output_line("DONE");
        w.sample(at(3000, 0.2));
        w.finish(4000);
        return w.report_lines();
    };
    const std::vector<std::string> lines = go_on(*original);
    original.reset();
    EXPECT_EQ(copy.progress(0), "now 2: 1 above 1");
    EXPECT_EQ(go_on(copy), lines);
    EXPECT_TRUE(copy.all_met());
}

// The runner on the shipped detumbling mission: the lesson's gain makes it, a weaker one is too
// slow for ten minutes; a mission decides the exit status.
TEST(MissionRunner, ShippedMissionAndItsVerdicts) {
    const std::string dir = ZORVANT_SOURCE_DIR;
    const std::string run = std::string(ZORVANT_RUN) + " --mission " + dir +
                            "/samples/missions/detumble.mission ";
    std::string program = read_file(dir + "/samples/09_detumbling_in_orbit.bas");
    program.replace(program.find("\nK=7\n"), 5, "\nK=5\n");
    const ShellResult weak = run_shell(run + write_temp_file("k5.bas", program) + " 2>&1");
    EXPECT_EQ(weak.code, 1);
    EXPECT_NE(weak.out.find("MISSED rate_deg_s < 1 by 600: rate_deg_s was 1.088 at 600 s: "
                            "0.088 above 1\n"),
              std::string::npos)
        << weak.out;
    EXPECT_NE(weak.out.find("\nzorvant-run: the mission's time is up (900 s)\n"),
              std::string::npos);

    const ShellResult strong =
        run_shell(run + dir + "/samples/09_detumbling_in_orbit.bas 2>/dev/null");
    EXPECT_EQ(strong.code, 0) << strong.out;
    EXPECT_NE(strong.out.find("\nscore 1.5/1.5 (100 %)\n"), std::string::npos) << strong.out;

    const ShellResult clash = run_shell(run + "--sim hot_case x.bas 2>&1");
    EXPECT_EQ(clash.code, 2);
    EXPECT_NE(clash.out.find("zorvant-run: --sim does not go with --mission: the mission gives it"),
              std::string::npos);
}

// While the run goes on, each bounded goal says where its quantity stands against the bound it
// breaks or the nearer one; the runner prints the author's words under their goals.
TEST(MissionGoals, ProgressAndTheAuthorsWords) {
    const Mission m = parsed(
        "sim = tumbling_1u\ngoal = rate < 1 by 600\ndescribe = Brake it.\n"
        "goal = tem between 0 45 tolerance 1\ngoal = tem > 10\ndescribe = Warm enough.\n"
        "goal = tx only while station_visible\ngoal = output contains \"OK\"\n");
    EXPECT_EQ(m.goals[0].describe, "Brake it.");
    EXPECT_EQ(m.goals[1].describe, "");
    MissionWatch w(m, 0);
    EXPECT_EQ(w.progress(0), "");  // nothing sampled yet
    const struct {
        double rate;
        int tem;
        const char* rate_now;
        const char* between_now;
        const char* above_now;
    } rows[] = {
        {3.25, 50, "now 3.25: 2.25 above 1", "now 50: 4 above 46", "now 50: 40 above 10"},
        {0.5, 30, "now 0.5: 0.5 below 1", "now 30: 16 below 46", "now 30: 20 above 10"},
        {1, 20, "now 1: at 1", "now 20: 21 above -1", "now 20: 10 above 10"},
        {0.25, 5, "now 0.25: 0.75 below 1", "now 5: 6 above -1", "now 5: 5 below 10"},
    };
    int64_t t = 0;
    for (const auto& r : rows) {
        w.sample(at(t += 1000, r.rate, r.tem));
        EXPECT_EQ(w.progress(0), r.rate_now);
        EXPECT_EQ(w.progress(1), r.between_now);
        EXPECT_EQ(w.progress(2), r.above_now);
    }
    EXPECT_EQ(w.progress(3), "now tx 0, station_visible 0");
    EXPECT_EQ(w.progress(4), "");

    w.finish(t);
    const std::vector<std::string> report = w.report_lines();
    const std::vector<std::string> lines = w.output_lines();
    ASSERT_EQ(lines.size(), mission_output_line_count(m));
    ASSERT_EQ(lines.size(), report.size() + 2);
    EXPECT_EQ(lines[1], "  Brake it.");
    EXPECT_EQ(lines[4], "  Warm enough.");
    std::vector<std::string> without = lines;
    without.erase(without.begin() + 4);
    without.erase(without.begin() + 1);
    EXPECT_EQ(without, report);
}

// A case with a mission: its goals join the verdict, the score the summary.
TEST(MissionRunner, GradingCaseWithAMission) {
    const std::string root = testing::TempDir() + "mission-grading/";
    fs::remove_all(root);
    fs::create_directories(root + "cases/pass");
    std::ofstream(root + "cases/pass/mission")
        << "sim = ground_pass\ntime = 120\ngoal = tx only while station_visible\n"
           "describe = quiet outside the pass\ngoal = output contains \"OVER\"\n";
    std::ofstream(root + "cases/pass/expect") << "OVER\n";
    std::ofstream(root + "quiet.bas") << "DELAY 90000\nPRINT \"OVER\"\n";
    std::ofstream(root + "early.bas") << "TX 10,7\nDELAY 90000\nPRINT \"OVER\"\n";
    const ShellResult r = run_shell("cd " + root + " && " + ZORVANT_RUN +
                                    " --grade cases --summary s.csv quiet.bas early.bas 2>&1");
    EXPECT_EQ(r.out,
              "PASS quiet.bas pass\n"
              "FAIL early.bas pass: mission goal missed: tx only while station_visible: tx at 0 s "
              "while station_visible was 0, 90 s in all\n"
              "1 passed, 1 failed\n");
    EXPECT_EQ(read_file(root + "s.csv"),
              "file,passed,cases,mission_score,findings,first_failure,errors,warnings\n"
              "early.bas,0,1,50,0,\"pass: mission goal missed: tx only while station_visible: "
              "tx at 0 s while station_visible was 0, 90 s in all\",0,0\n"
              "quiet.bas,1,1,100,0,,0,0\n");
}

}  // namespace
