#include "recovery.h"

namespace {

// The first line of every recovery file; a later format would change the number.
constexpr std::string_view MAGIC = "ZORVANT-UNSAVED 1\n";
constexpr std::string_view PREFIX = "unsaved-";
constexpr std::string_view SUFFIX = ".txt";

}  // namespace

std::string recovery_format(const RecoveryRecord& record) {
    std::string bytes(MAGIC);
    // A path with a line break in it cannot stand on its line; the text is what matters.
    if (record.source_path.find('\n') == std::string::npos) bytes += record.source_path;
    bytes += '\n';
    bytes += record.text;
    return bytes;
}

bool recovery_parse(std::string_view bytes, RecoveryRecord& record) {
    if (bytes.substr(0, MAGIC.size()) != MAGIC) return false;
    bytes.remove_prefix(MAGIC.size());
    const size_t end = bytes.find('\n');
    if (end == std::string_view::npos) return false;
    record.source_path = std::string(bytes.substr(0, end));
    record.text = std::string(bytes.substr(end + 1));
    return true;
}

std::string recovery_file_name(long pid) {
    return std::string(PREFIX) + std::to_string(pid) + std::string(SUFFIX);
}

bool recovery_file_pid(std::string_view name, long& pid) {
    if (name.size() <= PREFIX.size() + SUFFIX.size() || name.substr(0, PREFIX.size()) != PREFIX ||
        name.substr(name.size() - SUFFIX.size()) != SUFFIX) {
        return false;
    }
    const std::string_view digits =
        name.substr(PREFIX.size(), name.size() - PREFIX.size() - SUFFIX.size());
    long value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9' || value > 99999999) return false;
        value = value * 10 + (c - '0');
    }
    pid = value;
    return true;
}
