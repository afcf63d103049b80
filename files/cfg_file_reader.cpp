#include "files/cfg_file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

bool CfgFileReader::Open(const std::string& path) {
    Close();
    if (path.empty()) {
        return false;
    }
    // Non-blocking so that a FIFO chosen by mistake cannot hang the window at the open; it is
    // refused just below like every other file that is not a regular one.
    FileIoHandle file(m_io,
                      m_io.Open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0));
    if (!file.IsValid()) {
        return false;
    }
    struct stat status {};
    if (m_io.Fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return false;
    }
    m_file = std::move(file);
    return true;
}

std::size_t CfgFileReader::Read(std::span<std::uint8_t> buffer) {
    std::size_t total = 0;
    while (m_file.IsValid() && total < buffer.size()) {
        const ssize_t got = m_io.Read(m_file.Get(), buffer.data() + total, buffer.size() - total);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        total += static_cast<std::size_t>(got);
    }
    return total;
}
