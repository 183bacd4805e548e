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
#include "run_core.h"

struct TestMachine {
    std::vector<std::string> output;
    std::vector<std::string> math_errors;
    VirtualClock clock;

    TestMachine() {
        interp_reset_all();
        device_reset();
        device_set_listener(nullptr, nullptr);
        radio_reset();
        prep = PrepState{};
        device_register_statements();
        interp_set_output(
            [](std::string_view line, void* self) {
                static_cast<TestMachine*>(self)->output.emplace_back(line);
            },
            this);
        math_set_error_sink(
            [](std::string_view text, void* self) {
                static_cast<TestMachine*>(self)->math_errors.emplace_back(text);
            },
            this);
        clock.install();
    }
    ~TestMachine() {
        interp_set_output(nullptr, nullptr);
        math_set_error_sink(nullptr, nullptr);
        clock_set_source(nullptr, nullptr);
    }

    // A fresh RUN of `source` (lines separated by '\n'), passes until the interpreter is
    // finished, skipping DELAY waits.
    std::vector<std::string> run(const std::string& source) {
        output.clear();
        const PreparedProgram p = run_fresh_start(split_lines(source));
        if (!p.ok) return {p.error};
        while (!interp_finished()) {
            if (clock.now < interp.resume_time) clock.advance_to(interp.resume_time);
            run_pass(false);
        }
        return output;
    }
};
