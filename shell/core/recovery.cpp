#include "recovery.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "file_access.h"

namespace {

// Names tried when something that is not our file holds the first ones.
constexpr int SPARE_NAMES = 20;

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

namespace {

bool holds_other_than_a_file(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
}

std::string folder_of(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// The path written, or empty with the reason.
std::string keep_in(const std::string& folder, const std::string& current,
                    const std::function<std::string(int)>& name, std::string_view bytes,
                    std::string& reason) {
    for (int spare = 0; spare < SPARE_NAMES; ++spare) {
        const std::string path = spare == 0 && !current.empty() && folder_of(current) == folder
                                     ? current
                                     : folder + '/' + name(spare);
        if (holds_other_than_a_file(path)) {
            reason = REASON_NOT_REGULAR;
            continue;
        }
        const FileWrite written =
            write_file_atomically(path, bytes, LinkPolicy::Refuse, FileAccess::OwnerOnly);
        if (written.ok) return path;
        reason = written.reason;
        // Only a name taken in between is worth another name.
        if (written.reason != REASON_SYMBOLIC_LINK && written.reason != REASON_NOT_REGULAR) break;
    }
    return {};
}

// Anyone may make folders under the temporary folder: one made by somebody else, or a link
// put in its place, is refused.
bool own_folder(const std::string& folder, std::string& reason) {
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        reason = errno_reason(errno);
        return false;
    }
    struct stat st {};
    if (lstat(folder.c_str(), &st) != 0) {
        reason = errno_reason(errno);
        return false;
    }
    if (!S_ISDIR(st.st_mode) || st.st_uid != geteuid()) {
        reason = "It is not a folder of this user's";
        return false;
    }
    if ((st.st_mode & 077) != 0 && chmod(folder.c_str(), 0700) != 0) {
        reason = errno_reason(errno);
        return false;
    }
    return true;
}

}  // namespace

std::string recovery_fallback_folder(const std::string& temp_folder) {
    return temp_folder + "/zorvant-" + std::to_string(geteuid());
}

RecoveryKept recovery_keep(const std::string& folder, const std::string& fallback,
                           const std::string& current,
                           const std::function<std::string(int spare)>& name,
                           std::string_view bytes) {
    RecoveryKept kept;
    kept.path = keep_in(folder, current, name, bytes, kept.reason);
    if (!kept.path.empty()) {
        kept.reason.clear();
        return kept;
    }
    if (own_folder(fallback, kept.fallback_reason)) {
        kept.path = keep_in(fallback, current, name, bytes, kept.fallback_reason);
        if (!kept.path.empty()) kept.fallback_reason.clear();
    }
    return kept;
}
