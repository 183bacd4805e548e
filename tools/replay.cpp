#include "replay.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>

#include "channels.h"
#include "file_access.h"
#include "format.h"
#include "interp.h"
#include "shown_text.h"
#include "simulation.h"
#include "trace.h"

namespace {

std::vector<std::string_view> split_columns(std::string_view row) {
    std::vector<std::string_view> columns;
    for (size_t start = 0;;) {
        const size_t comma = row.find(',', start);
        columns.push_back(row.substr(start, comma - start));
        if (comma == std::string_view::npos) return columns;
        start = comma + 1;
    }
}

bool parse_time(std::string_view text, int64_t& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

std::string count_of(long long n, const char* word) {
    return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

const char* const NOT_THIS_RUN = "not a trace of this program with these options";

}  // namespace

TraceCheck::~TraceCheck() {
    if (file_ != nullptr) std::fclose(file_);
}

bool TraceCheck::fail(Verdict verdict, const std::string& problem) {
    if (verdict_ == Verdict::Agrees) {
        verdict_ = verdict;
        problem_ = problem;
    }
    return false;
}

std::string TraceCheck::at_line() const {
    return name_ + ":" + std::to_string(line_number_);
}

bool TraceCheck::open(const std::string& path) {
    name_ = path;
    const auto refuse = [&](const std::string& reason) {
        return fail(Verdict::Unreadable, "cannot read " + path + ": " + reason);
    };
    // As a program file is read: looked at before it is opened, since opening a FIFO waits for
    // a writer, and looked at again once open.
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return refuse(errno_reason(errno));
    if (!S_ISREG(st.st_mode)) return refuse(REASON_NOT_REGULAR);
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return refuse(errno_reason(errno));
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return refuse(REASON_NOT_REGULAR);
    }
    file_ = fdopen(fd, "rb");
    if (file_ == nullptr) {
        const int error = errno;
        close(fd);
        return refuse(errno_reason(error));
    }
    return true;
}

TraceCheck::Read TraceCheck::next(std::string& line) {
    for (;;) {
        line.clear();
        errno = 0;
        int c;
        while ((c = std::getc(file_)) != EOF && c != '\n') {
            if (line.size() == MAX_TRACE_LINE_BYTES) {
                ++line_number_;
                fail(Verdict::Unreadable, at_line() + ": not a trace: a line longer than " +
                                              std::to_string(MAX_TRACE_LINE_BYTES) + " bytes");
                return Read::Fault;
            }
            line += static_cast<char>(c);
        }
        if (c == EOF && std::ferror(file_)) {
            fail(Verdict::Unreadable,
                 "cannot read " + name_ + ": " + errno_reason(errno != 0 ? errno : EIO));
            return Read::Fault;
        }
        if (c == EOF && line.empty()) return Read::End;
        ++line_number_;
        // A trace saved again by an editor may end its lines with CR LF, or with a blank line.
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) return Read::Line;
    }
}

bool TraceCheck::header(const std::string& expected) {
    if (failed()) return false;
    columns_.clear();
    for (std::string_view column : split_columns(expected)) columns_.emplace_back(column);
    std::string line;
    const Read read = next(line);
    if (read == Read::Fault) return false;
    if (read == Read::End) return fail(Verdict::Unreadable, name_ + ": empty: no trace");
    if (line == expected) return true;
    if (line == trace_header(true)) {
        return fail(Verdict::Differs, at_line() +
                                          ": the trace has the simulation's columns: "
                                          "give the --sim or --mission of its run");
    }
    if (line == trace_header(false)) {
        return fail(Verdict::Differs, at_line() +
                                          ": the trace has no simulation's columns: "
                                          "its run had no --sim or --mission");
    }
    return fail(Verdict::Unreadable, at_line() +
                                         ": not a trace: its first line is not a "
                                         "trace's header");
}

bool TraceCheck::row(const std::string& expected, int64_t time_ms) {
    if (failed()) return false;
    std::string line;
    const Read read = next(line);
    if (read == Read::Fault) return false;
    if (read == Read::End) {
        return fail(Verdict::Differs,
                    name_ + ": the trace ends after line " + std::to_string(line_number_) +
                        ", but the replay goes on with a row at " + std::to_string(time_ms) +
                        " ms: it was cut short, or it is " + NOT_THIS_RUN);
    }
    if (line == expected) {
        ++rows_;
        return true;
    }
    const std::vector<std::string_view> got = split_columns(line);
    const std::vector<std::string_view> want = split_columns(expected);
    if (got.size() != columns_.size()) {
        return fail(Verdict::Unreadable,
                    at_line() + ": not a row of a trace: " +
                        count_of(static_cast<long long>(got.size()), "column") +
                        " where its header has " + std::to_string(columns_.size()));
    }
    size_t k = 0;
    while (k + 1 < got.size() && k < want.size() && got[k] == want[k]) ++k;
    return fail(Verdict::Differs, at_line() + ": " + NOT_THIS_RUN + ": at " +
                                      std::to_string(time_ms) + " ms, " + columns_[k] + " is " +
                                      printable_ascii(got[k], 40) + " in the trace but " +
                                      std::string(want[k]) + " in the replay");
}

bool TraceCheck::finish(bool ended, int64_t at_ms) {
    if (failed()) return false;
    std::string line;
    const Read read = next(line);
    if (read != Read::Line) return read == Read::End;
    if (ended) {
        return fail(Verdict::Differs, at_line() +
                                          ": the run ended at the line before, but the "
                                          "trace goes on: it is " +
                                          NOT_THIS_RUN);
    }
    const std::vector<std::string_view> got = split_columns(line);
    int64_t time_ms = 0;
    if (got.size() != columns_.size() || !parse_time(got[0], time_ms)) {
        return fail(Verdict::Unreadable, at_line() + ": not a row of a trace");
    }
    if (time_ms <= at_ms) {
        return fail(Verdict::Differs,
                    at_line() + ": the trace has a row at " + std::to_string(time_ms) +
                        " ms that the replay does not make: it is " + NOT_THIS_RUN);
    }
    return true;
}

void ReplayOutput::take_line(std::string_view line, void* self) {
    auto* output = static_cast<ReplayOutput*>(self);
    ++output->count;
    output->last.emplace_back(line);
    if (output->last.size() > REPLAY_OUTPUT_LINES) output->last.pop_front();
}

void ReplayOutput::take_math_error(std::string_view, void* self) {
    ++static_cast<ReplayOutput*>(self)->math_errors;
}

namespace {

// "editor line 34: MGET X,Y,Z", the text shown safely.
std::string editor_line(const LineList& lines, int line) {
    std::string text = "editor line " + std::to_string(line);
    if (line >= 0 && static_cast<size_t>(line) < lines.size()) {
        text += ": " + printable_ascii(lines[static_cast<size_t>(line)], 100);
    }
    return text;
}

// The line of the ':' before a loop's body or a return point: the FOR's or the GOSUB's line.
int line_before(const char* position) {
    long at = position - machine.program_store - 1;
    while (at > 0 && at < PROGRAM_STORE_SIZE && machine.program_store[at] == ' ') --at;
    return at >= 0 && at < PROGRAM_STORE_SIZE ? machine.line_table[at] : -1;
}

std::string open_blocks() {
    std::string text;
    for (int k = 0; k < interp.for_level; ++k) {
        const ForEntry& loop = interp.for_stack[k];
        char limit[FORMAT_BUFFER_SIZE];
        format_value(loop.limit, limit);
        text += std::string(text.empty() ? "" : "; ") + "FOR " +
                static_cast<char>('A' + loop.variable) + " of editor line " +
                std::to_string(line_before(loop.position)) + " (to " + limit + ")";
    }
    for (int k = 0; k < interp.gosub_level; ++k) {
        text += std::string(text.empty() ? "" : "; ") + "GOSUB of editor line " +
                std::to_string(line_before(interp.gosub_stack[k]));
    }
    return text;
}

}  // namespace

std::vector<std::string> replay_state_lines(const ReplayMoment& m, const LineList& lines,
                                            const ReplayOutput& output) {
    std::vector<std::string> out;
    const std::string statements = count_of(m.steps, "statement");
    const std::string agree = "the trace's " + count_of(m.rows, "row") +
                              (m.ended ? "" : " up to here") + (m.rows == 1 ? " agrees" : " agree");
    if (!m.ended) {
        out.push_back("at " + std::to_string(m.now_ms) + " ms, after " + statements + " (" + agree +
                      ")");
    } else if (m.now_ms < m.at_ms) {
        out.push_back("the run ended at " + std::to_string(m.now_ms) + " ms, before " +
                      std::to_string(m.at_ms) + " ms, after " + statements + " (" + agree + ")");
    } else {
        out.push_back("at " + std::to_string(m.now_ms) + " ms the run ended, after " + statements +
                      " (" + agree + ")");
    }
    const std::string line = editor_line(lines, current_line());
    if (m.ended) {
        out.push_back(m.stopped + " " + line);
    } else if (m.wait_until_ms > m.now_ms) {
        out.push_back("waiting in a DELAY until " + std::to_string(m.wait_until_ms) +
                      " ms; next: " + line);
    } else {
        out.push_back("next: " + line);
    }
    if (const std::string open = open_blocks(); !open.empty()) out.push_back("open: " + open);

    const TraceSnapshot s = trace_snapshot(m.now_ms, current_line());
    std::vector<std::string> values;
    for (int k = 0; k < VARIABLE_COUNT; ++k) {
        if (s.variables[k] == 0) continue;
        char text[FORMAT_BUFFER_SIZE];
        format_value(s.variables[k], text);
        values.push_back(std::string("  ") + static_cast<char>('A' + k) + ": " + text);
    }
    out.push_back(values.empty() ? "variables: all 0" : "variables (the others are 0):");
    out.insert(out.end(), values.begin(), values.end());

    // The device under the trace's column names, with the trace's values.
    const std::string row = trace_row(s);
    const std::string header = trace_header(s.simulated);
    const std::vector<std::string_view> names = split_columns(header);
    const std::vector<std::string_view> cells = split_columns(row);
    // "name=value" after `separator`.
    const auto add = [&](std::string& text, const char* separator, size_t column) {
        text += separator;
        text += names[column];
        text += '=';
        text += cells[column];
    };
    constexpr size_t FIRST_CHANNEL = 2;
    for (const auto& [mover, caption] :
         {std::pair{Mover::User, "sensors:"}, std::pair{Mover::Program, "set by the program:"}}) {
        std::string text = caption;
        for (int c = 0; c < TRACE_CHANNEL_COUNT; ++c) {
            if (channel_info[c].mover == mover)
                add(text, " ", FIRST_CHANNEL + static_cast<size_t>(c));
        }
        out.push_back(text);
    }
    const size_t first_tx = FIRST_CHANNEL + TRACE_CHANNEL_COUNT;
    std::string transmitter = "transmitter:";
    for (size_t k = 0; k < 3; ++k) add(transmitter, " ", first_tx + k);
    out.push_back(transmitter);
    if (s.simulated) {
        const size_t first_sim = first_tx + 3 + VARIABLE_COUNT;
        std::string text = "simulation:";
        for (int k = 0; k < SIM_SERIES_COUNT; ++k) {
            add(text, k == 0 ? " " : ", ", first_sim + static_cast<size_t>(k));
            const char* unit = sim_series_info[k].unit;
            if (*unit != '\0') {
                text += ' ';
                text += unit;
            }
        }
        out.push_back(text);
    }

    if (output.count == 0) {
        out.push_back("output: none");
    } else {
        out.push_back("output: " + count_of(output.count, "line") +
                      (output.count > static_cast<long long>(output.last.size())
                           ? ", the last " + std::to_string(output.last.size()) + ":"
                           : ":"));
        for (const std::string& printed : output.last)
            out.push_back("  " + printable_ascii(printed, 200));
    }
    if (output.math_errors > 0) out.push_back("math errors: " + std::to_string(output.math_errors));
    return out;
}
