// Any file content through LoadCfgFile, delivered in reads of a size the input chooses: the load
// never crashes, refuses every file shorter than a frame, and accepts only a frame that holds
// the first 518 bytes of the file unscrambled and passes the checks.
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "files/cfg_file_loader.h"
#include "files/cfg_scramble.h"
#include "files/file_io.h"

namespace {

// One read-only regular file held in memory, handed out `chunk` bytes per read at most.
class InMemoryCfgFile : public FileIo {
  public:
    InMemoryCfgFile(std::span<const std::uint8_t> content, std::size_t chunk)
        : m_content(content), m_chunk(chunk) {}

    int Open(const char*, int, mode_t) override { return kFd; }
    ssize_t Read(int fd, void* buffer, std::size_t size) override {
        if (fd != kFd) {
            errno = EBADF;
            return -1;
        }
        const std::size_t count = std::min({size, m_chunk, m_content.size() - m_position});
        std::memcpy(buffer, m_content.data() + m_position, count);
        m_position += count;
        return static_cast<ssize_t>(count);
    }
    int Fstat(int, struct stat* status) override {
        *status = {};
        status->st_mode = S_IFREG | 0444;
        status->st_size = static_cast<off_t>(m_content.size());
        return 0;
    }
    int Close(int) override { return 0; }
    ssize_t Write(int, const void*, std::size_t) override { return Refuse(); }
    int Fsync(int) override { return Refuse(); }
    int Fchmod(int, mode_t) override { return Refuse(); }
    int Ftruncate(int, off_t) override { return Refuse(); }
    int Rename(const char*, const char*) override { return Refuse(); }
    int Unlink(const char*) override { return Refuse(); }

  private:
    static constexpr int kFd = 3;
    static int Refuse() {
        errno = EROFS;
        return -1;
    }

    std::span<const std::uint8_t> m_content;
    std::size_t m_chunk;
    std::size_t m_position = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t chunk = data[0] == 0 ? kFrameSize : data[0];
    const std::span<const std::uint8_t> content(data + 1, size - 1);
    InMemoryCfgFile io(content, chunk);

    ConfigFrame frame{};
    const CfgLoadOutcome outcome = LoadCfgFile("fuzzed.cfg", frame, io);
    if ((content.size() < kFrameSize) != (outcome == CfgLoadOutcome::TooShort)) {
        __builtin_trap();
    }
    if (outcome == CfgLoadOutcome::Loaded) {
        ConfigFrame asStored = frame;
        ScrambleCfgBytes(asStored);
        const auto storedCrc = static_cast<std::uint16_t>(frame[FrameOffset::kCrc] |
                                                          (frame[FrameOffset::kCrc + 1] << 8));
        const bool crcOk = Crc16Cms(frame.data() + FrameOffset::kBlock, kBlockSize) == storedCrc;
        if (!std::equal(asStored.begin(), asStored.end(), content.begin()) || !crcOk) {
            __builtin_trap();
        }
    }
    return 0;
}
