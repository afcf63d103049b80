#include "files/atomic_file_writer.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <ostream>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "tests/files/faulty_file_io.h"
#include "tests/files/temp_folder.h"

namespace {

constexpr std::size_t kFrameBytes = 518;

class AtomicFileWriterTest : public testing::Test {
  protected:
    TempFolder folder;
    const std::string target = folder.File("settings.cfg");
    const std::vector<std::uint8_t> previous = PatternBytes(kFrameBytes, 1);
    const std::vector<std::uint8_t> next = PatternBytes(kFrameBytes, 100);
};

TEST_F(AtomicFileWriterTest, CreatesANewFile) {
    AtomicFileWriter writer;
    ASSERT_TRUE(writer.Open(target));
    ASSERT_TRUE(writer.Commit(next));
    EXPECT_EQ(ReadBytes(target), next);
    EXPECT_EQ(folder.Entries(), std::set<std::string>{"settings.cfg"});
}

TEST_F(AtomicFileWriterTest, TargetIsUntouchedUntilCommitAndTheTemporaryFileSitsBesideIt) {
    WriteBytes(target, previous);
    AtomicFileWriter writer;
    ASSERT_TRUE(writer.Open(target));
    EXPECT_EQ(ReadBytes(target), previous);
    EXPECT_EQ(std::filesystem::path(writer.TemporaryPath()).parent_path(), folder.Path());
    EXPECT_EQ(folder.Entries().size(), 2u);

    ASSERT_TRUE(writer.Commit(next));
    EXPECT_EQ(ReadBytes(target), next);
    EXPECT_EQ(folder.Entries(), std::set<std::string>{"settings.cfg"});
}

TEST_F(AtomicFileWriterTest, ReplacementKeepsThePermissionBits) {
    WriteBytes(target, previous);
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    AtomicFileWriter writer;
    ASSERT_TRUE(writer.Open(target));
    ASSERT_TRUE(writer.Commit(next));
    struct stat status {};
    ASSERT_EQ(::stat(target.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
}

// The faults that may strike after the temporary file is open, each of which must leave the
// previous file exactly as it was and nothing else behind.
struct FaultCase {
    const char* name;
    void (*inject)(FaultyFileIo&);
};

// Rows are named in test output by their name alone.
void PrintTo(const FaultCase& row, std::ostream* out) {
    *out << row.name;
}

class AtomicFileWriterFault : public AtomicFileWriterTest,
                              public testing::WithParamInterface<FaultCase> {};

TEST_P(AtomicFileWriterFault, KeepsThePreviousFileAndLeavesNoTemporaryFile) {
    WriteBytes(target, previous);
    FaultyFileIo io;
    GetParam().inject(io);
    AtomicFileWriter writer(io);
    ASSERT_TRUE(writer.Open(target));
    EXPECT_FALSE(writer.Commit(next));
    EXPECT_FALSE(writer.IsOpen());
    EXPECT_EQ(ReadBytes(target), previous);
    EXPECT_EQ(folder.Entries(), std::set<std::string>{"settings.cfg"});
}

INSTANTIATE_TEST_SUITE_P(
    Files, AtomicFileWriterFault,
    testing::Values(
        FaultCase{"DiskFullAfter200Bytes", [](FaultyFileIo& io) { io.writeBudget = 200; }},
        FaultCase{"DiskFullAfter517Bytes", [](FaultyFileIo& io) { io.writeBudget = 517; }},
        FaultCase{"DiskFullAtOnce", [](FaultyFileIo& io) { io.writeBudget = 0; }},
        FaultCase{"FlushRefused", [](FaultyFileIo& io) { io.failFsync = true; }},
        FaultCase{"RenameRefused", [](FaultyFileIo& io) { io.failRename = true; }}),
    [](const testing::TestParamInfo<FaultCase>& info) { return info.param.name; });

TEST_F(AtomicFileWriterTest, WriterGoneWithoutCommitRemovesItsTemporaryFile) {
    WriteBytes(target, previous);
    {
        AtomicFileWriter writer;
        ASSERT_TRUE(writer.Open(target));
    }
    EXPECT_EQ(ReadBytes(target), previous);
    EXPECT_EQ(folder.Entries(), std::set<std::string>{"settings.cfg"});
}

TEST_F(AtomicFileWriterTest, ShortWritesAreContinuedUntilComplete) {
    // A write that accepts fewer bytes than offered is no failure: the rest follows.
    class TrickleIo : public PosixFileIo {
      public:
        ssize_t Write(int fd, const void* data, std::size_t size) override {
            return PosixFileIo::Write(fd, data, size < 7 ? size : 7);
        }
    } io;
    AtomicFileWriter writer(io);
    ASSERT_TRUE(writer.Open(target));
    ASSERT_TRUE(writer.Commit(next));
    EXPECT_EQ(ReadBytes(target), next);
}

TEST_F(AtomicFileWriterTest, DirectoryAsTargetFailsAtOpen) {
    const std::string directory = folder.File("chosen.cfg");
    std::filesystem::create_directory(directory);
    AtomicFileWriter writer;
    EXPECT_FALSE(writer.Open(directory));
    EXPECT_FALSE(writer.Open(directory + "/"));
    EXPECT_FALSE(writer.IsOpen());
    EXPECT_TRUE(std::filesystem::is_directory(directory));
    EXPECT_EQ(folder.Entries(), std::set<std::string>{"chosen.cfg"});
}

TEST_F(AtomicFileWriterTest, DeviceAsTargetFailsAtOpen) {
    AtomicFileWriter writer;
    EXPECT_FALSE(writer.Open("/dev/null"));
}

TEST_F(AtomicFileWriterTest, MissingFolderFailsAtOpen) {
    AtomicFileWriter writer;
    EXPECT_FALSE(writer.Open(folder.File("no-such-folder/settings.cfg")));
    EXPECT_FALSE(writer.Open(""));
}

TEST_F(AtomicFileWriterTest, SymbolicLinkKeepsPointingAtTheReplacedFile) {
    WriteBytes(target, previous);
    const std::string link = folder.File("link.cfg");
    std::filesystem::create_symlink(target, link);
    AtomicFileWriter writer;
    ASSERT_TRUE(writer.Open(link));
    ASSERT_TRUE(writer.Commit(next));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadBytes(target), next);
}

TEST_F(AtomicFileWriterTest, ReadOnlyFileIsRefusedAtOpen) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "running as root: every file is writable";
    }
    WriteBytes(target, previous);
    ASSERT_EQ(::chmod(target.c_str(), 0444), 0);
    AtomicFileWriter writer;
    EXPECT_FALSE(writer.Open(target));
    EXPECT_EQ(ReadBytes(target), previous);
}

TEST_F(AtomicFileWriterTest, ASecondOpenDropsTheFirstTemporaryFile) {
    AtomicFileWriter writer;
    ASSERT_TRUE(writer.Open(folder.File("a.cfg")));
    ASSERT_TRUE(writer.Open(target));
    ASSERT_TRUE(writer.Commit(next));
    EXPECT_EQ(folder.Entries(), std::set<std::string>{"settings.cfg"});
}

}  // namespace
