#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>

// The system calls the file layer makes, behind one interface so that a test can make any of
// them fail (a disk that fills up part-way through a write, a rename that is refused). Each
// function behaves like the POSIX call of the same name: -1 and errno on failure.
class FileIo {
  public:
    virtual ~FileIo() = default;

    virtual int Open(const char* path, int flags, mode_t mode) = 0;
    virtual ssize_t Read(int fd, void* buffer, std::size_t size) = 0;
    virtual ssize_t Write(int fd, const void* data, std::size_t size) = 0;
    virtual int Fsync(int fd) = 0;
    virtual int Fstat(int fd, struct stat* status) = 0;
    virtual int Fchmod(int fd, mode_t mode) = 0;
    virtual int Ftruncate(int fd, off_t length) = 0;
    virtual int Close(int fd) = 0;
    virtual int Rename(const char* from, const char* to) = 0;
    virtual int Unlink(const char* path) = 0;
};

// The calls themselves.
class PosixFileIo : public FileIo {
  public:
    int Open(const char* path, int flags, mode_t mode) override;
    ssize_t Read(int fd, void* buffer, std::size_t size) override;
    ssize_t Write(int fd, const void* data, std::size_t size) override;
    int Fsync(int fd) override;
    int Fstat(int fd, struct stat* status) override;
    int Fchmod(int fd, mode_t mode) override;
    int Ftruncate(int fd, off_t length) override;
    int Close(int fd) override;
    int Rename(const char* from, const char* to) override;
    int Unlink(const char* path) override;
};

// The process-wide POSIX implementation, used wherever no other is given.
[[nodiscard]] FileIo& DefaultFileIo();

// Owns a descriptor opened through a FileIo and closes it through the same FileIo. Move-only.
class FileIoHandle {
  public:
    FileIoHandle(FileIo& io, int fd) : m_io(&io), m_fd(fd) {}
    ~FileIoHandle() { Close(); }
    FileIoHandle(FileIoHandle&& other) noexcept;
    FileIoHandle& operator=(FileIoHandle&& other) noexcept;
    FileIoHandle(const FileIoHandle&) = delete;
    FileIoHandle& operator=(const FileIoHandle&) = delete;

    [[nodiscard]] int Get() const { return m_fd; }
    [[nodiscard]] bool IsValid() const { return m_fd >= 0; }
    // Closes now; the result of close(2), 0 when nothing was open.
    int Close();

  private:
    FileIo* m_io;
    int m_fd;
};
