#include "runner.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "channels.h"
#include "clock.h"
#include "device_stmts.h"
#include "format.h"
#include "interp.h"
#include "math_stmts.h"
#include "program_text.h"
#include "radio.h"
#include "run_core.h"

namespace {

const char* const USAGE =
    "usage: zorvant-run [--set NAME=POS]... [--vars] [--state] [--no-wait] [--max-steps N] FILE\n"
    "  NAME is one of magx, magy, magz, colr, colg, colb, tem, rx\n";

struct Options {
    std::vector<std::pair<Channel, long long>> settings;
    bool vars = false;
    bool state = false;
    bool no_wait = false;
    long long max_steps = -1;
    std::string file;
};

// The sensors a user can set; coils, bars and the timer are not inputs of a run.
const char* const SETTABLE[] = {"magx", "magy", "magz", "colr", "colg", "colb", "tem", "rx"};

bool parse_integer(const std::string& text, long long& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtoll(text.c_str(), &end, 10);
    return errno == 0 && *end == '\0';
}

bool parse_setting(const std::string& text, Options& options) {
    const size_t eq = text.find('=');
    if (eq == std::string::npos) return false;
    const std::string name = text.substr(0, eq);
    bool known = false;
    for (const char* s : SETTABLE) known = known || name == s;
    long long position = 0;
    if (!known || !parse_integer(text.substr(eq + 1), position)) return false;
    options.settings.emplace_back(channel_from_control("tb_" + name), position);
    return true;
}

bool parse_args(const std::vector<std::string>& args, Options& options, std::string& problem) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--vars") {
            options.vars = true;
        } else if (a == "--state") {
            options.state = true;
        } else if (a == "--no-wait") {
            options.no_wait = true;
        } else if (a == "--set" || a == "--max-steps") {
            if (i + 1 >= args.size()) {
                problem = a + " needs a value";
                return false;
            }
            const std::string& value = args[++i];
            if (a == "--set" && !parse_setting(value, options)) {
                problem = "bad setting '" + value + "'";
                return false;
            }
            if (a == "--max-steps" &&
                (!parse_integer(value, options.max_steps) || options.max_steps < 0)) {
                problem = "bad step count '" + value + "'";
                return false;
            }
        } else if (a.size() > 1 && a[0] == '-') {
            problem = "unknown option '" + a + "'";
            return false;
        } else if (options.file.empty()) {
            options.file = a;
        } else {
            problem = "more than one FILE";
            return false;
        }
    }
    if (options.file.empty()) {
        problem = "no FILE given";
        return false;
    }
    return true;
}

// The whole file, or false when it cannot be opened or read (a directory cannot be read).
bool read_file(const std::string& path, std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return false;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    const bool ok = std::ferror(f) == 0;
    std::fclose(f);
    return ok;
}

void write_line(std::FILE* f, std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), f);
    std::fputc('\n', f);
}

void output_to_file(std::string_view line, void* context) {
    write_line(static_cast<std::FILE*>(context), line);
}

void math_error_to_file(std::string_view text, void* context) {
    auto* f = static_cast<std::FILE*>(context);
    write_line(f, text);
    std::fflush(f);
}

void reset_machine() {
    interp_reset_all();
    device_reset();
    radio_reset();
    prep = PrepState{};
}

void print_vars(std::FILE* out) {
    for (int k = 0; k < VARIABLE_COUNT; ++k) {
        char text[FORMAT_BUFFER_SIZE];
        format_value(var_get(k), text);
        std::fprintf(out, "%c: %s\n", 'A' + k, text);
    }
}

void print_state(std::FILE* out) {
    std::fprintf(out, "tb_coix=%d\ntb_coiy=%d\ntb_coiz=%d\npb_spd=%d\n",
                 channel_position(Channel::CoiX), channel_position(Channel::CoiY),
                 channel_position(Channel::CoiZ), channel_position(Channel::Spd));
    std::fprintf(out, "tx_active=%d\ntx_column=%d\ntx_symbol=%d\n", radio.tx_active ? 1 : 0,
                 radio.tx_column, radio.tx_symbol);
}

// Runs until the interpreter is finished, as the window's loop does, with no window to serve.
// Returns false when the step limit stopped the run.
bool run_to_end(const Options& options, VirtualClock& virtual_clock) {
    long long steps = 0;
    while (!interp_finished()) {
        if (options.max_steps >= 0 && steps >= options.max_steps) return false;
        const int64_t wait = static_cast<int64_t>(interp.resume_time) - clock_ms();
        if (wait > 0) {
            if (options.no_wait) {
                virtual_clock.advance_to(interp.resume_time);
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(wait));
            }
        }
        if (run_pass(false)) ++steps;
    }
    return true;
}

}  // namespace

int runner_main(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
    Options options;
    std::string problem;
    if (!parse_args(args, options, problem)) {
        std::fprintf(err, "zorvant-run: %s\n%s", problem.c_str(), USAGE);
        return RUNNER_NOT_RUN;
    }
    std::string bytes;
    if (!read_file(options.file, bytes)) {
        std::fprintf(err, "zorvant-run: cannot read %s\n", options.file.c_str());
        return RUNNER_NOT_RUN;
    }

    reset_machine();
    device_register_statements();
    for (const auto& [channel, position] : options.settings) channel_set(channel, position);
    interp_set_output(output_to_file, out);
    math_set_error_sink(math_error_to_file, err);
    VirtualClock virtual_clock;
    if (options.no_wait) {
        virtual_clock.install();
    } else {
        clock_set_source(nullptr, nullptr);
    }

    const PreparedProgram prepared = run_fresh_start(split_lines(bytes));
    int code = RUNNER_NOT_RUN;
    if (!prepared.ok) {
        write_line(out, prepared.error);
    } else {
        const bool completed = run_to_end(options, virtual_clock);
        code = !completed ? RUNNER_STEP_LIMIT : interp.error_reported ? RUNNER_ERROR : RUNNER_OK;
        if (options.vars) print_vars(out);
        if (options.state) print_state(out);
        std::fflush(out);
        std::fprintf(err, "Stop in line: %d\n", current_line());
    }
    interp_set_output(nullptr, nullptr);
    math_set_error_sink(nullptr, nullptr);
    clock_set_source(nullptr, nullptr);
    // Output that never arrived is no successful run, whatever the program did.
    if (std::fflush(out) != 0 || std::ferror(out) != 0) {
        std::fprintf(err, "zorvant-run: cannot write the output\n");
        return RUNNER_NOT_RUN;
    }
    return code;
}
