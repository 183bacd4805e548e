// Grading: every student program against every case folder, each run in a process of its own,
// several at once, with the verdicts in a fixed order whatever finishes first.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

inline constexpr int MAX_GRADE_JOBS = 256;
// A case's run stops after this many statements unless its args set a limit of their own: with
// --no-wait an endless loop without a DELAY would never reach any time limit.
inline constexpr long long GRADE_DEFAULT_STEPS = 10'000'000;
// A run that has not ended after this long is killed and fails.
inline constexpr int GRADE_CASE_SECONDS = 60;

struct GradeOptions {
    std::string dir;    // the case folders
    std::string junit;  // the report to write; empty: none
    std::string summary;  // the CSV of one row per file to write; empty: none
    int jobs = 0;       // runs at once; 0: one per core
    std::vector<std::string> files;
    const char* runner = "/proc/self/exe";  // the executable each run starts
};

// Prints "PASS FILE CASE" or "FAIL FILE CASE: ..." for each file and case, then the counts.
// Returns 0 when every case passed, 1 when one failed, 2 when grading could not be done.
int grade_main(const GradeOptions& options, std::FILE* out, std::FILE* err);
