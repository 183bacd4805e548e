#include "runner.h"

#include <cerrno>
#include <cstdlib>

#include "channels.h"
#include "file_access.h"
#include "format.h"
#include "interp.h"
#include "math_stmts.h"
#include "program_text.h"
#include "radio.h"
#include "run_session.h"

namespace {

const char* const USAGE =
    "usage: zorvant-run [--set NAME=POS]... [--vars] [--state] [--no-wait] [--max-steps N] FILE\n"
    "  NAME is one of magx, magy, magz, colr, colg, colb, tem, rx\n";

const char* const HELP =
    "Runs a program file without the window, as RUN does, and prints its output.\n"
    "\n"
    "  --set NAME=POS   move a sensor slider before the run; NAME is one of\n"
    "                   magx, magy, magz, colr, colg, colb, tem, rx\n"
    "  --vars           print the variables A to Z after the run\n"
    "  --state          print the coils, the CPU speed and the transmitter after the run\n"
    "  --no-wait        DELAY moves a virtual clock on instead of waiting\n"
    "  --max-steps N    stop as STOP does after N statements\n"
    "  --help           print this help and exit\n"
    "  --version        print the version and exit\n"
    "\n"
    "Exit status: 0 the run ended without an error report; 1 an error report or an\n"
    "arithmetic fault; 2 the program did not run (bad arguments, unreadable file, program\n"
    "too large); 3 the step limit was reached.\n";

// The sensors a user can set; coils, bars and the timer are not inputs of a run.
const char* const SETTABLE[] = {"magx", "magy", "magz", "colr", "colg", "colb", "tem", "rx"};

bool parse_integer(const std::string& text, long long& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtoll(text.c_str(), &end, 10);
    return errno == 0 && *end == '\0';
}

bool parse_setting(const std::string& text, RunnerOptions& options) {
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

}  // namespace

bool runner_parse_args(const std::vector<std::string>& args, RunnerOptions& options,
                       std::string& problem) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "--version") {
            // Asked for on its own terms: the rest of the line does not matter.
            (a == "--help" ? options.help : options.version) = true;
            return true;
        } else if (a == "--vars") {
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

namespace {

// Program output. A write that fails ends the run at once: a program printing without end to
// a full disk or a closed pipe would otherwise spin for ever.
struct OutputStream {
    std::FILE* file;
    int error = 0;  // errno of the first write that failed

    void write_line(std::string_view line) {
        if (error != 0) return;
        errno = 0;
        if (std::fwrite(line.data(), 1, line.size(), file) != line.size() ||
            std::fputc('\n', file) == EOF) {
            error = errno != 0 ? errno : EIO;
        }
    }
    bool flush() {
        errno = 0;
        if (error == 0 && std::fflush(file) != 0) error = errno != 0 ? errno : EIO;
        return error == 0;
    }
};

void write_line(std::FILE* f, std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), f);
    std::fputc('\n', f);
}

void output_to_stream(std::string_view line, void* context) {
    auto* stream = static_cast<OutputStream*>(context);
    stream->write_line(line);
    // Output that cannot be written ends the run as END would: nothing after it can arrive.
    if (stream->error != 0) interp.run_stopped = 1;
}

void math_error_to_file(std::string_view text, void* context) {
    auto* f = static_cast<std::FILE*>(context);
    write_line(f, text);
    std::fflush(f);
}

void print_vars(OutputStream& out) {
    for (int k = 0; k < VARIABLE_COUNT; ++k) {
        char text[FORMAT_BUFFER_SIZE];
        format_value(var_get(k), text);
        out.write_line(std::string(1, static_cast<char>('A' + k)) + ": " + text);
    }
}

void print_state(OutputStream& out) {
    const std::pair<const char*, int> values[] = {
        {"tb_coix", channel_position(Channel::CoiX)},
        {"tb_coiy", channel_position(Channel::CoiY)},
        {"tb_coiz", channel_position(Channel::CoiZ)},
        {"pb_spd", channel_position(Channel::Spd)},
        {"tx_active", radio.tx_active ? 1 : 0},
        {"tx_column", radio.tx_column},
        {"tx_symbol", radio.tx_symbol},
    };
    for (const auto& [name, value] : values) {
        out.write_line(std::string(name) + "=" + std::to_string(value));
    }
}

}  // namespace

int runner_main(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
    RunnerOptions options;
    std::string problem;
    if (!runner_parse_args(args, options, problem)) {
        std::fprintf(err, "zorvant-run: %s\n%s", problem.c_str(), USAGE);
        return RUNNER_NOT_RUN;
    }
    if (options.help) {
        std::fprintf(out, "%s%s", USAGE, HELP);
        return RUNNER_OK;
    }
    if (options.version) {
        std::fprintf(out, "zorvant-run %s\n", ZORVANT_VERSION);
        return RUNNER_OK;
    }
    const FileRead file = read_regular_file(options.file, MAX_PROGRAM_FILE_BYTES);
    if (!file.ok || file.truncated) {
        std::fprintf(err, "zorvant-run: cannot read %s: %s\n", options.file.c_str(),
                     file.ok ? REASON_PROGRAM_FILE_TOO_LARGE : file.reason.c_str());
        return RUNNER_NOT_RUN;
    }

    session_reset_machine();
    for (const auto& [channel, position] : options.settings) channel_set(channel, position);
    OutputStream output{out};
    VirtualClock virtual_clock;
    session_install({output_to_stream, &output, math_error_to_file, err,
                     options.no_wait ? &virtual_clock : nullptr});

    RunSession session(options.no_wait ? &virtual_clock : nullptr);
    session.step_limit = options.max_steps;
    const PreparedProgram prepared = session.start(split_lines(file.bytes));
    int code = RUNNER_NOT_RUN;
    if (!prepared.ok) {
        output.write_line(prepared.error);
    } else {
        const PassStop stop = session.run_to_end();
        code = stop == PassStop::StepLimit ? RUNNER_STEP_LIMIT
               : interp.error_reported     ? RUNNER_ERROR
                                           : RUNNER_OK;
        if (options.vars) print_vars(output);
        if (options.state) print_state(output);
        output.flush();
        std::fprintf(err, "Stop in line: %d\n", current_line());
    }
    session_uninstall();
    // Output that never arrived is no successful run, whatever the program did.
    if (!output.flush()) {
        std::fprintf(err, "zorvant-run: cannot write the output: %s\n",
                     errno_reason(output.error).c_str());
        return RUNNER_NOT_RUN;
    }
    return code;
}
