#include "file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

int (*file_write_fault)(WriteStep step) = nullptr;

std::string errno_reason(int error) {
    return std::strerror(error);
}

namespace {

// As many links as the system itself follows before it gives up with ELOOP.
constexpr int MAX_LINK_HOPS = 40;
// Bytes asked of the system per read.
constexpr size_t READ_CHUNK = 64 * 1024;
// Names tried for the new file before the write gives up.
constexpr int MAX_TEMP_NAMES = 100;

std::string directory_of(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string base_name_of(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows a chain of symbolic links to the path where it ends; that path need not exist yet
// (a link may point at a file still to be made).
bool resolve_links(std::string& path, std::string& reason) {
    for (int hop = 0; hop < MAX_LINK_HOPS; ++hop) {
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
        char target[PATH_MAX];
        const ssize_t n = readlink(path.c_str(), target, sizeof target);
        if (n < 0 || static_cast<size_t>(n) >= sizeof target) {
            reason = errno_reason(n < 0 ? errno : ENAMETOOLONG);
            return false;
        }
        const std::string to(target, static_cast<size_t>(n));
        path = to.front() == '/' ? to : directory_of(path) + "/" + to;
    }
    reason = errno_reason(ELOOP);
    return false;
}

int injected_fault(WriteStep step) {
    return file_write_fault ? file_write_fault(step) : 0;
}

// A new file beside `target`, that nobody else has opened: the name is new, and a link planted
// under it is not followed.
int create_beside(const std::string& target, std::string& temp_path, mode_t mode) {
    static unsigned counter = 0;
    const std::string stem = directory_of(target) + "/." + base_name_of(target) + ".new-" +
                             std::to_string(getpid()) + "-";
    for (int attempt = 0; attempt < MAX_TEMP_NAMES; ++attempt) {
        temp_path = stem + std::to_string(counter++);
        const int fd =
            open(temp_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

bool write_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// Steps of one write; the first failure sets `reason` and undoes what was done.
class AtomicWrite {
   public:
    AtomicWrite(std::string target, FileWrite& result, FileAccess access)
        : target_(std::move(target)), r_(result), access_(access) {}
    ~AtomicWrite() {
        if (fd_ >= 0) close(fd_);
        if (!temp_.empty() && !r_.ok) unlink(temp_.c_str());
    }

    bool create(const struct stat* existing) {
        if (int e = injected_fault(WriteStep::Create)) return fail(e);
        const bool owner_only = access_ == FileAccess::OwnerOnly;
        fd_ = create_beside(target_, temp_, owner_only ? 0600 : 0666);
        if (fd_ < 0) {
            const int e = errno;
            temp_.clear();
            return fail(e);
        }
        if (existing != nullptr && !owner_only) {
            // The new file keeps the owner and the permissions of the one it replaces, as far
            // as the system lets us; a file that loses them is no failed save.
            const bool owner_kept = fchown(fd_, existing->st_uid, existing->st_gid) == 0;
            const bool mode_kept = fchmod(fd_, existing->st_mode & 07777) == 0;
            (void)owner_kept;
            (void)mode_kept;
        }
        return true;
    }
    bool write(std::string_view bytes) {
        if (int e = injected_fault(WriteStep::Write)) return fail(e);
        return write_all(fd_, bytes) || fail(errno);
    }
    bool flush() {
        if (int e = injected_fault(WriteStep::Flush)) return fail(e);
        // A file system that cannot sync (EINVAL) has nothing buffered for us to lose.
        return fsync(fd_) == 0 || errno == EINVAL || fail(errno);
    }
    bool close_file() {
        if (int e = injected_fault(WriteStep::Close)) return fail(e);
        const int fd = fd_;
        fd_ = -1;
        return close(fd) == 0 || errno == EINTR || fail(errno);
    }
    bool commit() {
        if (int e = injected_fault(WriteStep::Commit)) return fail(e);
        if (rename(temp_.c_str(), target_.c_str()) != 0) return fail(errno);
        r_.ok = true;
        return true;
    }

   private:
    bool fail(int error) {
        r_.reason = errno_reason(error);
        return false;
    }
    std::string target_;
    FileWrite& r_;
    FileAccess access_;
    std::string temp_;
    int fd_ = -1;
};

}  // namespace

FileRead read_regular_file(const std::string& path, size_t limit) {
    FileRead r;
    struct stat st {};
    // Looked at before it is opened: opening a FIFO waits for a writer, and opening a device
    // may already do something to it.
    if (stat(path.c_str(), &st) != 0) {
        r.reason = errno_reason(errno);
        return r;
    }
    if (!S_ISREG(st.st_mode)) {
        r.reason = REASON_NOT_REGULAR;
        return r;
    }
    // O_NONBLOCK keeps a FIFO put in the file's place since the look from holding us up; the
    // look at the opened file then refuses it.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        r.reason = errno_reason(errno);
        return r;
    }
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        r.reason = REASON_NOT_REGULAR;
        close(fd);
        return r;
    }
    const size_t wanted = limit + 1;  // one byte more tells a file that is too large
    r.bytes.reserve(std::min(static_cast<size_t>(std::max<off_t>(st.st_size, 0)), wanted));
    char buffer[READ_CHUNK];
    while (r.bytes.size() < wanted) {
        const ssize_t n = read(fd, buffer, std::min(sizeof buffer, wanted - r.bytes.size()));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            r.reason = errno_reason(errno);
            r.bytes.clear();
            close(fd);
            return r;
        }
        if (n == 0) break;
        r.bytes.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    if (r.bytes.size() > limit) {
        r.truncated = true;
        r.bytes.resize(limit);
    }
    r.ok = true;
    return r;
}

bool same_existing_file(const std::string& a, const std::string& b) {
    struct stat sa {};
    struct stat sb {};
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

FileWrite write_file_atomically(const std::string& path, std::string_view bytes, LinkPolicy links,
                                FileAccess access) {
    FileWrite r;
    std::string target = path;
    struct stat st {};
    const bool exists = lstat(path.c_str(), &st) == 0;
    if (exists && S_ISLNK(st.st_mode)) {
        if (links == LinkPolicy::Refuse) {
            r.reason = REASON_SYMBOLIC_LINK;
            return r;
        }
        if (!resolve_links(target, r.reason)) return r;
    }
    const bool target_exists = lstat(target.c_str(), &st) == 0;
    if (target_exists && !S_ISREG(st.st_mode)) {
        r.reason = REASON_NOT_REGULAR;
        return r;
    }
    AtomicWrite w(target, r, access);
    (void)(w.create(target_exists ? &st : nullptr) && w.write(bytes) && w.flush() &&
           w.close_file() && w.commit());
    return r;
}
