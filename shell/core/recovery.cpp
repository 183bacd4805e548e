#include "recovery.h"

namespace {

// The first line of every recovery file; a later format would change the number.
constexpr std::string_view MAGIC = "ZORVANT-UNSAVED 1\n";
constexpr std::string_view PREFIX = "unsaved-";
constexpr std::string_view SUFFIX = ".txt";

// Well-formed UTF-8, as the editor writes it: no overlong forms, no surrogates.
bool valid_utf8(std::string_view s) {
    size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        int more = 0;
        unsigned min = 0;
        unsigned value = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            more = 1, min = 0x80, value = c & 0x1Fu;
        } else if ((c & 0xF0) == 0xE0) {
            more = 2, min = 0x800, value = c & 0x0Fu;
        } else if ((c & 0xF8) == 0xF0) {
            more = 3, min = 0x10000, value = c & 0x07u;
        } else {
            return false;
        }
        if (i + static_cast<size_t>(more) >= s.size()) return false;
        for (int k = 1; k <= more; ++k) {
            const auto d = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
            if ((d & 0xC0) != 0x80) return false;
            value = (value << 6) | (d & 0x3Fu);
        }
        if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
        i += static_cast<size_t>(more) + 1;
    }
    return true;
}

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
    // The path is the file system's bytes; the text is always the editor's UTF-8.
    if (!valid_utf8(bytes.substr(end + 1))) return false;
    record.source_path = std::string(bytes.substr(0, end));
    record.text = std::string(bytes.substr(end + 1));
    return true;
}

std::string recovery_file_name(long pid, int spare) {
    std::string name = std::string(PREFIX) + std::to_string(pid);
    if (spare > 0) name += '-' + std::to_string(spare);
    return name + std::string(SUFFIX);
}

bool recovery_file_pid(std::string_view name, long& pid) {
    if (name.size() <= PREFIX.size() + SUFFIX.size() || name.substr(0, PREFIX.size()) != PREFIX ||
        name.substr(name.size() - SUFFIX.size()) != SUFFIX) {
        return false;
    }
    const std::string_view digits =
        name.substr(PREFIX.size(), name.size() - PREFIX.size() - SUFFIX.size());
    // "PID" or "PID-N"
    const size_t dash = digits.find('-');
    const std::string_view pid_digits = digits.substr(0, dash);
    const std::string_view spare =
        dash == std::string_view::npos ? std::string_view() : digits.substr(dash + 1);
    if (pid_digits.empty() || (dash != std::string_view::npos && spare.empty())) return false;
    for (char c : spare) {
        if (c < '0' || c > '9' || spare.size() > 4) return false;
    }
    long value = 0;
    for (char c : pid_digits) {
        if (c < '0' || c > '9' || value > 99999999) return false;
        value = value * 10 + (c - '0');
    }
    pid = value;
    return true;
}
