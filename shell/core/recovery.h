// The unsaved text of an editor, kept in a file of its own so that a crash, a kill or a lost
// session does not take it: what is in the file, and the file's name.
#pragma once

#include <functional>
#include <string>
#include <string_view>

struct RecoveryRecord {
    // The program file the text was loaded from or saved to; empty for a text never saved.
    std::string source_path;
    // The editor text as UTF-8, lines joined by '\n': it may hold characters that a program
    // file cannot store, and all of them come back.
    std::string text;
};

std::string recovery_format(const RecoveryRecord& record);
// False when the bytes are no recovery file of ours: no header, or a text that is not UTF-8.
bool recovery_parse(std::string_view bytes, RecoveryRecord& record);

// One file per editor process, so that two open windows never overwrite each other's text.
// `spare` > 0 gives the process's further names, for when something else holds the first.
std::string recovery_file_name(long pid, int spare = 0);
// The process a recovery file belongs to; false for any other name.
bool recovery_file_pid(std::string_view name, long& pid);

// Where kept bytes went: `path` is empty when they could be kept nowhere. `reason` says why the
// recovery folder did not take them, when it did not.
struct RecoveryKept {
    std::string path;
    std::string reason;
    // Why the fallback folder did not take them either.
    std::string fallback_reason;
};

// The folder of the last resort, under the temporary folder: the user's own, "zorvant-UID".
std::string recovery_fallback_folder(const std::string& temp_folder);

// Writes `bytes` into `folder`: under `current` when that lies in the folder, else under the
// first of name(0), name(1), ... that holds nothing but a regular file. Never through a link;
// the file is readable by its owner only. When the folder takes nothing (it cannot be written,
// the disk is full), the same in `fallback`, which is made when missing and used only when it
// is a real folder of this user's that nobody else may enter.
RecoveryKept recovery_keep(const std::string& folder, const std::string& fallback,
                           const std::string& current,
                           const std::function<std::string(int spare)>& name,
                           std::string_view bytes);
