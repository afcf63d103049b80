#include "files/atomic_file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

// Names longer than this are cut in the temporary file's name, so that the name with its
// prefix and suffix still fits a folder entry (255 bytes on the usual file systems).
constexpr std::size_t kMaxNameStem = 200;
constexpr int kMaxNameAttempts = 64;

std::atomic<unsigned> g_tempSerial{0};

// Links followed before a name counts as a loop, as the kernel's own limit for a path.
constexpr int kMaxLinkHops = 40;

// The file a write to `target` really lands in: symbolic links are followed one by one to the
// name they end at, so that the rename replaces that file and leaves the links alone. A link
// that dangles ends at the name it holds, which is then created. A loop, or a link that cannot
// be read, leaves the name as given, whose open then fails.
std::string ResolveTarget(const std::string& target) {
    std::error_code error;
    std::filesystem::path path(target);
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        if (!std::filesystem::is_symlink(path, error)) {
            return path.string();
        }
        const std::filesystem::path next = std::filesystem::read_symlink(path, error);
        if (error || next.empty()) {
            return target;
        }
        // A relative link counts from the folder that holds the link.
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return target;
}

// A folder that refuses us a new file (we may not write it), as against a full disk or a
// missing folder, which would refuse a write in place just the same.
bool IsRefusedByTheFolder(int error) {
    return error == EACCES || error == EPERM;
}

}  // namespace

bool AtomicFileWriter::Open(const std::string& target) {
    Discard();
    if (target.empty()) {
        return false;
    }
    m_target = ResolveTarget(target);
    const std::filesystem::path path(m_target);
    if (!path.has_filename()) {
        errno = EISDIR;
        return false;
    }
    m_folder = path.has_parent_path() ? path.parent_path().string() : std::string(".");
    FileIoHandle existing(m_io, -1);
    if (!ProbeTarget(existing)) {
        return false;
    }
    if (CreateTemporary()) {
        return true;
    }
    if (!existing.IsValid() || !IsRefusedByTheFolder(errno)) {
        return false;
    }
    // A folder we may not write holding a file we may: write the file itself, as QSaveFile's
    // direct-write fallback does. This one case is not atomic: a write that fails part-way
    // leaves the file damaged.
    m_temp = std::move(existing);
    m_inPlace = true;
    return true;
}

// An existing target must be a regular file we may write, as it would have to be for writing
// it in place; its permission bits are kept for the replacement, and `existing` keeps it open
// for writing in place. A missing one is fine.
bool AtomicFileWriter::ProbeTarget(FileIoHandle& existing) {
    m_keepMode = false;
    existing = FileIoHandle(
        m_io, m_io.Open(m_target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0));
    if (!existing.IsValid()) {
        return errno == ENOENT;
    }
    struct stat status {};
    if (m_io.Fstat(existing.Get(), &status) != 0) {
        return false;
    }
    if (!S_ISREG(status.st_mode)) {
        errno = EISDIR;
        return false;
    }
    m_keepMode = true;
    m_mode = status.st_mode & 07777;
    return true;
}

bool AtomicFileWriter::CreateTemporary() {
    std::string stem = std::filesystem::path(m_target).filename().string();
    if (stem.size() > kMaxNameStem) {
        stem.resize(kMaxNameStem);
    }
    const std::string prefix = m_folder + "/." + stem + "." + std::to_string(::getpid()) + ".";
    for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
        std::string candidate = prefix + std::to_string(g_tempSerial++) + ".tmp";
        const int fd =
            m_io.Open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd >= 0) {
            m_temp = FileIoHandle(m_io, fd);
            m_tempPath = std::move(candidate);
            if (m_keepMode) {
                // Only the permission bits are at stake here, never the data: go on if refused.
                static_cast<void>(m_io.Fchmod(fd, m_mode));
            }
            return true;
        }
        if (errno != EEXIST) {
            return false;
        }
    }
    return false;
}

bool AtomicFileWriter::Commit(std::span<const std::uint8_t> bytes) {
    if (!IsOpen()) {
        return false;
    }
    if (m_inPlace) {
        return CommitInPlace(bytes);
    }
    const bool complete = WriteAll(bytes) && m_io.Fsync(m_temp.Get()) == 0 && m_temp.Close() == 0 &&
                          m_io.Rename(m_tempPath.c_str(), m_target.c_str()) == 0;
    if (!complete) {
        Discard();
        return false;
    }
    m_tempPath.clear();
    SyncFolder();
    return true;
}

bool AtomicFileWriter::CommitInPlace(std::span<const std::uint8_t> bytes) {
    const bool complete = WriteAll(bytes) &&
                          m_io.Ftruncate(m_temp.Get(), static_cast<off_t>(bytes.size())) == 0 &&
                          m_io.Fsync(m_temp.Get()) == 0 && m_temp.Close() == 0;
    Discard();
    return complete;
}

bool AtomicFileWriter::WriteAll(std::span<const std::uint8_t> bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t put =
            m_io.Write(m_temp.Get(), bytes.data() + written, bytes.size() - written);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return false;
        }
        written += static_cast<std::size_t>(put);
    }
    return true;
}

// Makes the rename itself durable. The new file is complete and in place already, so a folder
// that cannot be flushed changes nothing about the outcome.
void AtomicFileWriter::SyncFolder() {
    FileIoHandle folder(m_io, m_io.Open(m_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0));
    if (folder.IsValid()) {
        static_cast<void>(m_io.Fsync(folder.Get()));
    }
}

void AtomicFileWriter::Discard() {
    m_temp.Close();
    m_inPlace = false;
    if (!m_tempPath.empty()) {
        static_cast<void>(m_io.Unlink(m_tempPath.c_str()));
        m_tempPath.clear();
    }
}
