// Reading and writing the files of the editor and the runner: program files and the settings
// file. Every failure comes with the system's reason, in words a user can act on.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Reasons of our own, beside the system's error texts.
inline constexpr const char* REASON_SYMBOLIC_LINK = "It is a symbolic link";
inline constexpr const char* REASON_NOT_REGULAR = "It is not a regular file";

struct FileRead {
    bool ok = false;
    // The file's first bytes, at most the limit asked for.
    std::string bytes;
    // The file holds more than the limit; `bytes` has only its beginning.
    bool truncated = false;
    // Why the file could not be read, when !ok.
    std::string reason;
};

// Reads at most `limit` bytes of a regular file (a symbolic link is followed). A FIFO, a device
// or a folder is refused before a byte is read from it, so it can neither hold the caller up
// nor feed it without end; the size the system reports is not trusted either.
FileRead read_regular_file(const std::string& path, size_t limit);

struct FileWrite {
    bool ok = false;
    std::string reason;
};

enum class LinkPolicy {
    // A symbolic link is followed: the file it points to is replaced, the link stays.
    WriteTarget,
    // A symbolic link is refused, whatever it points to.
    Refuse,
};

enum class FileAccess {
    // A new file gets the usual permissions; a replaced one keeps its own.
    AsUsual,
    // Only its owner may read or write it (0600), whatever the file it replaces allowed.
    OwnerOnly,
};

// Replaces the file at `path` with `bytes`, or creates it. The bytes go to a new file beside
// the target, which takes the target's place only when every byte is written and on the disk;
// whatever fails before that leaves the old file as it was and no new file behind.
FileWrite write_file_atomically(const std::string& path, std::string_view bytes, LinkPolicy links,
                                FileAccess access = FileAccess::AsUsual);

// The steps of a write, for tests that make one of them fail.
enum class WriteStep { Create, Write, Flush, Close, Commit };

// Test seam: when set, it is asked before each step; a nonzero answer is an errno value with
// which that step then fails.
extern int (*file_write_fault)(WriteStep step);

// True when both paths lead to one file that exists: the same path, a symbolic or a hard link
// to it. A path that leads nowhere is no file of the other's.
bool same_existing_file(const std::string& a, const std::string& b);

// The system's text for an errno value ("No space left on device").
std::string errno_reason(int error);
