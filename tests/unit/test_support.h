// Helpers shared by the unit tests: a fresh machine and a program run to its end in-process.
#pragma once

#include <string>
#include <vector>

#include "channels.h"
#include "clock.h"
#include "device_stmts.h"
#include "interp.h"
#include "labels.h"
#include "math_stmts.h"
#include "prepare.h"
#include "program_text.h"
#include "radio.h"
#include "run_session.h"

struct TestMachine {
    std::vector<std::string> output;
    std::vector<std::string> math_errors;
    std::vector<RunReport> reports;  // the last run's, in the order made
    VirtualClock clock;
    RunSession session{&clock};

    TestMachine() {
        session_reset_machine();
        device.subscriber_count = 0;
        session_install({[](std::string_view line, void* self) {
                             static_cast<TestMachine*>(self)->output.emplace_back(line);
                         },
                         this,
                         [](std::string_view text, void* self) {
                             static_cast<TestMachine*>(self)->math_errors.emplace_back(text);
                         },
                         this, &clock,
                         [](const RunReport& report, void* self) {
                             static_cast<TestMachine*>(self)->reports.push_back(report);
                         },
                         this});
    }
    ~TestMachine() { session_uninstall(); }

    // A fresh RUN of `source` (lines separated by '\n') to its end, skipping DELAY waits.
    std::vector<std::string> run(const std::string& source) {
        output.clear();
        reports.clear();
        const PreparedProgram p = session.start(split_lines(source));
        if (!p.ok) {
            reports.push_back(p.report);
            return {p.error};
        }
        session.run_to_end();
        return output;
    }
};
