// Saving through symbolic links, and into a folder that takes no new file.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <ostream>

#include <cerrno>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "files/atomic_file_writer.h"
#include "tests/files/faulty_file_io.h"
#include "tests/files/temp_folder.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kFrameBytes = 518;

// Each row lays out links in the folder and names the one saved through and the file that must
// receive the bytes; the links must all stay links.
struct LinkCase {
    const char* name;
    void (*layOut)(const TempFolder& folder);
    const char* savedThrough;
    const char* receiver;
    std::set<std::string> links;
};

void PrintTo(const LinkCase& row, std::ostream* out) {
    *out << row.name;
}

class AtomicFileWriterLink : public testing::TestWithParam<LinkCase> {
  protected:
    TempFolder folder;
    const std::vector<std::uint8_t> next = PatternBytes(kFrameBytes, 100);
};

TEST_P(AtomicFileWriterLink, WritesTheFileTheLinkNamesAndKeepsTheLink) {
    GetParam().layOut(folder);
    AtomicFileWriter writer;
    ASSERT_TRUE(writer.Open(folder.File(GetParam().savedThrough)));
    EXPECT_FALSE(writer.WritesInPlace());
    ASSERT_TRUE(writer.Commit(next));

    EXPECT_EQ(ReadBytes(folder.File(GetParam().receiver)), next);
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(folder.File(GetParam().receiver))));
    for (const std::string& link : GetParam().links) {
        EXPECT_TRUE(fs::is_symlink(folder.File(link))) << link;
    }
}

void MakeFile(const TempFolder& folder, const std::string& name) {
    WriteBytes(folder.File(name), PatternBytes(kFrameBytes, 1));
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, AtomicFileWriterLink,
    testing::Values(LinkCase{"RelativeLinkToAFile",
                             [](const TempFolder& f) {
                                 MakeFile(f, "real.cfg");
                                 fs::create_symlink("real.cfg", f.File("link.cfg"));
                             },
                             "link.cfg",
                             "real.cfg",
                             {"link.cfg"}},
                    LinkCase{"DanglingLinkCreatesItsTarget",
                             [](const TempFolder& f) {
                                 fs::create_symlink("new.cfg", f.File("link.cfg"));
                             },
                             "link.cfg",
                             "new.cfg",
                             {"link.cfg"}},
                    LinkCase{"DanglingAbsoluteLinkIntoAnotherFolder",
                             [](const TempFolder& f) {
                                 fs::create_directory(f.File("kept"));
                                 fs::create_symlink(f.File("kept/new.cfg"), f.File("link.cfg"));
                             },
                             "link.cfg",
                             "kept/new.cfg",
                             {"link.cfg"}},
                    LinkCase{"RelativeLinkFromASubfolder",
                             [](const TempFolder& f) {
                                 fs::create_directory(f.File("links"));
                                 MakeFile(f, "real.cfg");
                                 fs::create_symlink("../real.cfg", f.File("links/link.cfg"));
                             },
                             "links/link.cfg",
                             "real.cfg",
                             {"links/link.cfg"}},
                    LinkCase{"ChainEndingDangling",
                             [](const TempFolder& f) {
                                 fs::create_symlink("second.cfg", f.File("first.cfg"));
                                 fs::create_symlink("new.cfg", f.File("second.cfg"));
                             },
                             "first.cfg",
                             "new.cfg",
                             {"first.cfg", "second.cfg"}}),
    [](const testing::TestParamInfo<LinkCase>& info) { return info.param.name; });

TEST(AtomicFileWriterLinkLoop, IsRefusedAndCreatesNothing) {
    TempFolder folder;
    fs::create_symlink("b.cfg", folder.File("a.cfg"));
    fs::create_symlink("a.cfg", folder.File("b.cfg"));
    AtomicFileWriter writer;
    EXPECT_FALSE(writer.Open(folder.File("a.cfg")));
    EXPECT_EQ(folder.Entries(), (std::set<std::string>{"a.cfg", "b.cfg"}));
}

// A folder that takes no new file (one we may not write) around a file we may write: the file
// is written in place, keeping its inode, mode and links.
class AtomicFileWriterInPlace : public testing::Test {
  protected:
    AtomicFileWriterInPlace() { io.refuseNewFiles = EACCES; }

    TempFolder folder;
    FaultyFileIo io;
    const std::string target = folder.File("settings.cfg");
    const std::vector<std::uint8_t> next = PatternBytes(kFrameBytes, 100);
};

TEST_F(AtomicFileWriterInPlace, ReplacesTheContentOfTheFileItself) {
    WriteBytes(target, PatternBytes(700, 1));  // longer than what replaces it
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    struct stat before {};
    ASSERT_EQ(::stat(target.c_str(), &before), 0);

    AtomicFileWriter writer(io);
    ASSERT_TRUE(writer.Open(target));
    EXPECT_TRUE(writer.WritesInPlace());
    EXPECT_EQ(ReadBytes(target), PatternBytes(700, 1)) << "nothing changes before Commit";
    ASSERT_TRUE(writer.Commit(next));

    EXPECT_EQ(ReadBytes(target), next);
    struct stat after {};
    ASSERT_EQ(::stat(target.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(folder.Entries(), std::set<std::string>{"settings.cfg"});
}

TEST_F(AtomicFileWriterInPlace, WorksThroughALink) {
    WriteBytes(target, PatternBytes(kFrameBytes, 1));
    fs::create_symlink("settings.cfg", folder.File("link.cfg"));
    AtomicFileWriter writer(io);
    ASSERT_TRUE(writer.Open(folder.File("link.cfg")));
    ASSERT_TRUE(writer.Commit(next));
    EXPECT_EQ(ReadBytes(target), next);
    EXPECT_TRUE(fs::is_symlink(folder.File("link.cfg")));
}

TEST_F(AtomicFileWriterInPlace, ANewFileIsRefusedAtOpen) {
    AtomicFileWriter writer(io);
    EXPECT_FALSE(writer.Open(target));
    EXPECT_TRUE(folder.Entries().empty());
}

TEST_F(AtomicFileWriterInPlace, OtherFailuresToCreateAreNotPassedOver) {
    io.refuseNewFiles = ENOSPC;
    WriteBytes(target, PatternBytes(kFrameBytes, 1));
    AtomicFileWriter writer(io);
    EXPECT_FALSE(writer.Open(target));
    EXPECT_EQ(ReadBytes(target), PatternBytes(kFrameBytes, 1));
}

TEST_F(AtomicFileWriterInPlace, AFailedWriteIsReportedAsFailed) {
    WriteBytes(target, PatternBytes(kFrameBytes, 1));
    io.writeBudget = 200;
    AtomicFileWriter writer(io);
    ASSERT_TRUE(writer.Open(target));
    EXPECT_FALSE(writer.Commit(next));
    EXPECT_FALSE(writer.IsOpen());
    EXPECT_EQ(folder.Entries(), std::set<std::string>{"settings.cfg"});
}

TEST_F(AtomicFileWriterInPlace, AWriterGoneWithoutCommitLeavesTheFileAlone) {
    WriteBytes(target, PatternBytes(kFrameBytes, 1));
    {
        AtomicFileWriter writer(io);
        ASSERT_TRUE(writer.Open(target));
    }
    EXPECT_EQ(ReadBytes(target), PatternBytes(kFrameBytes, 1));
}

}  // namespace
