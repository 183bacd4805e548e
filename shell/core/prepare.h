// Program preparation: from the editor's lines to the text the interpreter runs, the table of
// editor lines behind every byte, and the DATA bytes behind the text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "program_text.h"
#include "run_report.h"

// Program lines that one run can map back to the editor.
inline constexpr int MAX_PROGRAM_LINES = 20000;

struct PrepState {
    // Entry k: the editor line that became program line k. -1 until a run writes it; entries
    // beyond the current program keep what earlier runs wrote.
    int source_line_map[MAX_PROGRAM_LINES];
    PrepState();
};

extern PrepState prep;

struct PreparedProgram {
    bool ok = false;
    // Why the program cannot run, when !ok: it is too large, or a line holds what a program
    // cannot (the report then names that line).
    RunReport report;
    // The report's lines as the output shows them, joined by '\n'.
    std::string error;
    std::vector<std::string> program_lines;  // the lines that became the program, untrimmed
    int text_length = 0;                     // bytes of prepared text before its zero
    int data_bytes = 0;
};

// The line a program line keeps: "//" comment lines, blank lines and everything from the line
// "DATA" on are not program text.
enum class LineKind { Program, Dropped, DataMarker };
LineKind classify_line(std::string_view line);

// Fills program_store and line_table from the editor lines, empties the label cache between
// selecting and joining the lines, and packs the DATA section. When the result would not fit,
// or a program line holds a NUL or a character without an 8-bit form, nothing is written and
// the result says why. `foreign_lines` lists, in rising order, the editor lines that held such
// characters before they became bytes (the window's text is not 8-bit; a file's always is).
PreparedProgram prepare_program(const LineList& editor_lines,
                                const std::vector<int>& foreign_lines = {});

// Appends the bytes of one DATA line to `out`.
void pack_data_line(std::string_view line, std::vector<unsigned char>& out);
// The DATA bytes of the editor lines from index `data_start` on.
std::vector<unsigned char> pack_data_section(const LineList& editor_lines, size_t data_start);
