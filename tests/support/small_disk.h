// A real, tiny file system to fill up: a tmpfs mounted on a temporary folder. Mounting needs
// root; elsewhere `mounted()` is false and the test says that it was skipped.
#pragma once

#include <sys/mount.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

class SmallDisk {
   public:
    explicit SmallDisk(const char* size = "64k") {
        char folder[] = "/tmp/zorvant-disk-XXXXXX";
        if (mkdtemp(folder) == nullptr) return;
        path_ = folder;
        const std::string options = std::string("size=") + size;
        mounted_ = geteuid() == 0 && mount("tmpfs", folder, "tmpfs", 0, options.c_str()) == 0;
    }
    ~SmallDisk() {
        if (mounted_) umount2(path_.c_str(), MNT_DETACH);
        if (!path_.empty()) rmdir(path_.c_str());
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& path() const { return path_; }

    // Fills what is left of the disk with one file, so that the next write finds no room.
    void fill() const {
        const std::string filler = path_ + "/filler";
        if (std::FILE* f = std::fopen(filler.c_str(), "wb")) {
            static const char block[4096] = {};
            while (std::fwrite(block, 1, sizeof block, f) == sizeof block) {
            }
            std::fclose(f);
        }
    }

   private:
    std::string path_;
    bool mounted_ = false;
};
