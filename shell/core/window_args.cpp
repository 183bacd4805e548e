#include "window_args.h"

namespace {

// The toolkit's own options that take a value; the value is not a FILE.
bool takes_toolkit_value(const std::string& a) {
    for (const char* o : {"-platform", "-platformpluginpath", "-platformtheme", "-plugin",
                          "-style", "-stylesheet", "-display", "-qwindowgeometry",
                          "-qwindowtitle", "-qwindowicon", "-session", "-name", "-title"}) {
        if (a == o) return true;
    }
    return false;
}

bool is_toolkit_flag(const std::string& a) {
    for (const char* o : {"-reverse", "-nograb", "-dograb", "-sync", "-widgetcount"}) {
        if (a == o) return true;
    }
    return false;
}

}  // namespace

WindowArgs parse_window_args(const std::vector<std::string>& args) {
    WindowArgs result;
    bool options_end = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!options_end && a == "--") {
            options_end = true;
        } else if (!options_end && a == "--help") {
            return {WindowArgs::Action::Help, {}, {}};
        } else if (!options_end && a == "--version") {
            return {WindowArgs::Action::Version, {}, {}};
        } else if (!options_end && takes_toolkit_value(a)) {
            ++i;
        } else if (!options_end && is_toolkit_flag(a)) {
            continue;
        } else if (!options_end && a.size() > 1 && a[0] == '-') {
            return {WindowArgs::Action::Usage, {}, "unknown option '" + a + "'"};
        } else if (result.file.empty()) {
            result.file = a;
        } else {
            return {WindowArgs::Action::Usage, {}, "more than one FILE"};
        }
    }
    return result;
}

const char* window_usage() {
    return "usage: zorvant [--help] [--version] [FILE]\n";
}

const char* window_help() {
    return "Opens the editor, with the program FILE in it when one is given.\n"
           "\n"
           "  --help      print this help and exit\n"
           "  --version   print the version and exit\n"
           "\n"
           "Programs run without the window with zorvant-run.\n";
}
