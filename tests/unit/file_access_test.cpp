#include "file_access.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "small_disk.h"

namespace {

// Every name in a folder, hidden ones too, in the order the system lists them.
std::vector<std::string> names_in(const std::string& dir) {
    std::vector<std::string> found;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            const std::string n = e->d_name;
            if (n != "." && n != "..") found.push_back(n);
        }
        closedir(d);
    }
    std::sort(found.begin(), found.end());
    return found;
}

class Folder : public testing::Test {
   protected:
    void SetUp() override {
        char name[] = "/tmp/zorvant-files-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        dir = name;
    }
    void TearDown() override {
        file_write_fault = nullptr;
        for (const std::string& n : names()) unlink((dir + "/" + n).c_str());
        rmdir(dir.c_str());
    }
    std::string at(const std::string& name) const { return dir + "/" + name; }
    static std::string contents(const std::string& path) {
        std::ifstream f(path, std::ios::binary);
        std::stringstream s;
        s << f.rdbuf();
        return f ? s.str() : "<missing>";
    }
    static void put(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    std::vector<std::string> names() const { return names_in(dir); }
    std::string dir;
};

using Reading = Folder;
using Writing = Folder;

TEST_F(Reading, RegularFilesUpToTheLimit) {
    put(at("a.bas"), "PRINT 1\r\n");
    FileRead r = read_regular_file(at("a.bas"), 9);
    EXPECT_TRUE(r.ok);
    EXPECT_FALSE(r.truncated);
    EXPECT_EQ(r.bytes, "PRINT 1\r\n");

    r = read_regular_file(at("a.bas"), 8);
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.truncated);
    EXPECT_EQ(r.bytes, "PRINT 1\r");

    // A link to a regular file reads as that file.
    ASSERT_EQ(symlink("a.bas", at("link.bas").c_str()), 0);
    EXPECT_EQ(read_regular_file(at("link.bas"), 100).bytes, "PRINT 1\r\n");
}

TEST_F(Reading, WhatIsNoRegularFileIsRefusedUnread) {
    // Opening the FIFO would wait for a writer for ever; reading the device, without end.
    ASSERT_EQ(mkfifo(at("fifo.bas").c_str(), 0600), 0);
    ASSERT_EQ(symlink("/dev/zero", at("zero.bas").c_str()), 0);
    for (const std::string& path : {at("fifo.bas"), at("zero.bas"), dir}) {
        const FileRead r = read_regular_file(path, 100);
        EXPECT_FALSE(r.ok) << path;
        EXPECT_EQ(r.reason, REASON_NOT_REGULAR) << path;
    }
    const FileRead missing = read_regular_file(at("none.bas"), 100);
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.reason, errno_reason(ENOENT));
}

TEST_F(Writing, ReplacesTheFileKeepingItsPermissions) {
    put(at("a.bas"), "old");
    ASSERT_EQ(chmod(at("a.bas").c_str(), 0640), 0);
    const FileWrite w = write_file_atomically(at("a.bas"), "new\r\n", LinkPolicy::Refuse);
    EXPECT_TRUE(w.ok) << w.reason;
    EXPECT_EQ(contents(at("a.bas")), "new\r\n");
    struct stat st {};
    ASSERT_EQ(stat(at("a.bas").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(names(), std::vector<std::string>{"a.bas"});
}

TEST_F(Writing, AFailureAtAnyStepLeavesTheOldFileAndNoNewOne) {
    put(at("a.bas"), "old");
    static WriteStep failing;
    for (WriteStep step : {WriteStep::Create, WriteStep::Write, WriteStep::Flush, WriteStep::Close,
                           WriteStep::Commit}) {
        failing = step;
        file_write_fault = [](WriteStep s) { return s == failing ? ENOSPC : 0; };
        const FileWrite w = write_file_atomically(at("a.bas"), "new", LinkPolicy::WriteTarget);
        EXPECT_FALSE(w.ok) << static_cast<int>(step);
        EXPECT_EQ(w.reason, errno_reason(ENOSPC));
        EXPECT_EQ(contents(at("a.bas")), "old");
        EXPECT_EQ(names(), std::vector<std::string>{"a.bas"});
    }
}

TEST_F(Writing, AFullDiskIsAFailure) {
    SmallDisk disk;
    if (!disk.mounted()) GTEST_SKIP() << "no tmpfs could be mounted (needs root): injected only";
    const std::string path = disk.path() + "/a.bas";
    put(path, "old");
    disk.fill();
    const FileWrite w =
        write_file_atomically(path, std::string(64 * 1024, 'x'), LinkPolicy::WriteTarget);
    EXPECT_FALSE(w.ok);
    EXPECT_EQ(w.reason, errno_reason(ENOSPC));
    EXPECT_EQ(contents(path), "old");
    EXPECT_EQ(names_in(disk.path()), (std::vector<std::string>{"a.bas", "filler"}));
}

TEST_F(Writing, LinksAreFollowedOrRefusedAsAsked) {
    put(at("target.bas"), "old");
    ASSERT_EQ(symlink("target.bas", at("link.bas").c_str()), 0);

    FileWrite w = write_file_atomically(at("link.bas"), "new", LinkPolicy::Refuse);
    EXPECT_FALSE(w.ok);
    EXPECT_EQ(w.reason, REASON_SYMBOLIC_LINK);
    EXPECT_EQ(contents(at("target.bas")), "old");

    w = write_file_atomically(at("link.bas"), "new", LinkPolicy::WriteTarget);
    EXPECT_TRUE(w.ok) << w.reason;
    EXPECT_EQ(contents(at("target.bas")), "new");
    struct stat st {};
    ASSERT_EQ(lstat(at("link.bas").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link stays a link";

    // A link to a file yet to be made makes it.
    ASSERT_EQ(symlink("later.bas", at("dangling.bas").c_str()), 0);
    EXPECT_TRUE(write_file_atomically(at("dangling.bas"), "x", LinkPolicy::WriteTarget).ok);
    EXPECT_EQ(contents(at("later.bas")), "x");

    // Nothing is written onto a device or a folder.
    ASSERT_EQ(symlink("/dev/null", at("null.bas").c_str()), 0);
    w = write_file_atomically(at("null.bas"), "x", LinkPolicy::WriteTarget);
    EXPECT_EQ(w.reason, REASON_NOT_REGULAR);
    ASSERT_EQ(mkdir(at("folder").c_str(), 0700), 0);
    w = write_file_atomically(at("folder"), "x", LinkPolicy::WriteTarget);
    EXPECT_EQ(w.reason, REASON_NOT_REGULAR);
    rmdir(at("folder").c_str());
}

}  // namespace
