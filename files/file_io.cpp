#include "files/file_io.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <utility>

int PosixFileIo::Open(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}

ssize_t PosixFileIo::Read(int fd, void* buffer, std::size_t size) {
    return ::read(fd, buffer, size);
}

ssize_t PosixFileIo::Write(int fd, const void* data, std::size_t size) {
    return ::write(fd, data, size);
}

int PosixFileIo::Fsync(int fd) {
    return ::fsync(fd);
}

int PosixFileIo::Fstat(int fd, struct stat* status) {
    return ::fstat(fd, status);
}

int PosixFileIo::Fchmod(int fd, mode_t mode) {
    return ::fchmod(fd, mode);
}

int PosixFileIo::Ftruncate(int fd, off_t length) {
    return ::ftruncate(fd, length);
}

int PosixFileIo::Close(int fd) {
    return ::close(fd);
}

int PosixFileIo::Rename(const char* from, const char* to) {
    return ::rename(from, to);
}

int PosixFileIo::Unlink(const char* path) {
    return ::unlink(path);
}

FileIo& DefaultFileIo() {
    static PosixFileIo io;
    return io;
}

FileIoHandle::FileIoHandle(FileIoHandle&& other) noexcept
    : m_io(other.m_io), m_fd(std::exchange(other.m_fd, -1)) {}

FileIoHandle& FileIoHandle::operator=(FileIoHandle&& other) noexcept {
    if (this != &other) {
        Close();
        m_io = other.m_io;
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

int FileIoHandle::Close() {
    if (m_fd < 0) {
        return 0;
    }
    return m_io->Close(std::exchange(m_fd, -1));
}
