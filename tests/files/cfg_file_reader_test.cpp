#include "files/cfg_file_reader.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <ostream>

#include <algorithm>
#include <array>
#include <cerrno>
#include <filesystem>

#include "tests/files/temp_folder.h"

namespace {

constexpr std::size_t kFrameBytes = 518;

struct SizeCase {
    const char* name;
    std::size_t fileSize;
    std::size_t expectedRead;
};

// Rows are named in test output by their name alone.
void PrintTo(const SizeCase& row, std::ostream* out) {
    *out << row.name;
}

class CfgFileReaderSize : public testing::TestWithParam<SizeCase> {};

TEST_P(CfgFileReaderSize, ReadsAtMostOneFrame) {
    TempFolder folder;
    const std::string path = folder.File("settings.cfg");
    const auto content = PatternBytes(GetParam().fileSize, 9);
    WriteBytes(path, content);

    CfgFileReader reader;
    ASSERT_TRUE(reader.Open(path));
    std::array<std::uint8_t, kFrameBytes> frame{};
    EXPECT_EQ(reader.Read(frame), GetParam().expectedRead);
    EXPECT_TRUE(std::equal(frame.begin(),
                           frame.begin() + static_cast<long>(GetParam().expectedRead),
                           content.begin()));
}

INSTANTIATE_TEST_SUITE_P(Files, CfgFileReaderSize,
                         testing::Values(SizeCase{"Empty", 0, 0}, SizeCase{"OneShort", 517, 517},
                                         SizeCase{"Exact", 518, 518}, SizeCase{"Longer", 600, 518}),
                         [](const testing::TestParamInfo<SizeCase>& info) {
                             return info.param.name;
                         });

TEST(CfgFileReader, MissingFileDoesNotOpen) {
    TempFolder folder;
    CfgFileReader reader;
    EXPECT_FALSE(reader.Open(folder.File("absent.cfg")));
    EXPECT_FALSE(reader.IsOpen());
}

TEST(CfgFileReader, DirectoryDoesNotOpen) {
    TempFolder folder;
    std::filesystem::create_directory(folder.File("looks-like.cfg"));
    CfgFileReader reader;
    EXPECT_FALSE(reader.Open(folder.File("looks-like.cfg")));
    EXPECT_FALSE(reader.Open(folder.Path().string()));
}

TEST(CfgFileReader, FifoIsRefusedWithoutWaitingForAWriter) {
    TempFolder folder;
    const std::string path = folder.File("pipe.cfg");
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    CfgFileReader reader;
    EXPECT_FALSE(reader.Open(path));
}

// A read that fails part-way (a disk error) ends the read with what arrived so far.
class FailingReadIo : public PosixFileIo {
  public:
    ssize_t Read(int fd, void* buffer, std::size_t size) override {
        if (m_calls++ > 0) {
            errno = EIO;
            return -1;
        }
        return PosixFileIo::Read(fd, buffer, std::min<std::size_t>(size, 100));
    }

  private:
    int m_calls = 0;
};

TEST(CfgFileReader, DiskErrorEndsTheReadShort) {
    TempFolder folder;
    const std::string path = folder.File("settings.cfg");
    WriteBytes(path, PatternBytes(kFrameBytes));
    FailingReadIo io;
    CfgFileReader reader(io);
    ASSERT_TRUE(reader.Open(path));
    std::array<std::uint8_t, kFrameBytes> frame{};
    EXPECT_EQ(reader.Read(frame), 100u);
}

// Every descriptor the reader opens is closed again, on success and on refusal.
class CountingIo : public PosixFileIo {
  public:
    int open = 0;
    int Open(const char* path, int flags, mode_t mode) override {
        const int fd = PosixFileIo::Open(path, flags, mode);
        open += fd >= 0 ? 1 : 0;
        return fd;
    }
    int Close(int fd) override {
        --open;
        return PosixFileIo::Close(fd);
    }
};

TEST(CfgFileReader, ClosesWhatItOpensOnEveryPath) {
    TempFolder folder;
    WriteBytes(folder.File("a.cfg"), PatternBytes(kFrameBytes));
    std::filesystem::create_directory(folder.File("dir.cfg"));
    CountingIo io;
    {
        CfgFileReader reader(io);
        ASSERT_TRUE(reader.Open(folder.File("a.cfg")));
        EXPECT_FALSE(reader.Open(folder.File("dir.cfg")));
        ASSERT_TRUE(reader.Open(folder.File("a.cfg")));
    }
    EXPECT_EQ(io.open, 0);
}

}  // namespace
