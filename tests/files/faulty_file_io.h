#pragma once

#include <fcntl.h>

#include <cerrno>
#include <cstddef>
#include <functional>
#include <optional>

#include "files/file_io.h"

// The real system calls, with faults on request: a disk that fills up after a given number of
// written bytes, a flush or a rename that is refused, a folder that refuses new files. The writes
// before the fault really reach the file, as they would on a full disk.
class FaultyFileIo : public PosixFileIo {
  public:
    std::optional<std::size_t> writeBudget;  // bytes accepted in total before ENOSPC
    bool failFsync = false;
    bool failRename = false;
    // A folder that takes no new file, as one we may not write: every create fails with this.
    std::optional<int> refuseNewFiles;
    std::function<void()> beforeWrite;  // runs as each write begins

    int Open(const char* path, int flags, mode_t mode) override {
        if (refuseNewFiles && (flags & O_CREAT) != 0) {
            errno = *refuseNewFiles;
            return -1;
        }
        return PosixFileIo::Open(path, flags, mode);
    }

    ssize_t Write(int fd, const void* data, std::size_t size) override {
        if (beforeWrite) {
            beforeWrite();
        }
        if (!writeBudget) {
            return PosixFileIo::Write(fd, data, size);
        }
        if (*writeBudget == 0) {
            errno = ENOSPC;
            return -1;
        }
        const std::size_t accepted = size < *writeBudget ? size : *writeBudget;
        const ssize_t put = PosixFileIo::Write(fd, data, accepted);
        if (put > 0) {
            *writeBudget -= static_cast<std::size_t>(put);
        }
        return put;
    }

    int Fsync(int fd) override {
        if (failFsync) {
            errno = EIO;
            return -1;
        }
        return PosixFileIo::Fsync(fd);
    }

    int Rename(const char* from, const char* to) override {
        if (failRename) {
            errno = EXDEV;
            return -1;
        }
        return PosixFileIo::Rename(from, to);
    }
};
