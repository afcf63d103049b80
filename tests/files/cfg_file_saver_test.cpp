#include "files/cfg_file_saver.h"

#include <gtest/gtest.h>

#include <ostream>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "tests/files/cfg_test_frames.h"
#include "tests/files/faulty_file_io.h"
#include "tests/files/temp_folder.h"

namespace {

class CfgFileSaverTest : public testing::Test {
  protected:
    TempFolder folder;
    const std::string target = folder.File("settings.cfg");
    const ConfigFrame frame = ModuleLikeFrame();
};

TEST_F(CfgFileSaverTest, WritesAScrambledCopyAndLeavesTheFramePlain) {
    ConfigFrame working = frame;
    CfgFileSaver saver;
    ASSERT_TRUE(saver.Open(target));
    ASSERT_TRUE(saver.Save(working));
    EXPECT_EQ(working, frame);
    EXPECT_EQ(ReadBytes(target), ScrambledFileOf(frame));
}

TEST_F(CfgFileSaverTest, PreviousFileStaysUntilSaveAndAfterASaverGoneWithoutSaving) {
    const std::vector<std::uint8_t> previous = PatternBytes(kFrameSize, 5);
    WriteBytes(target, previous);
    {
        CfgFileSaver saver;
        ASSERT_TRUE(saver.Open(target));
        EXPECT_EQ(ReadBytes(target), previous);
    }
    EXPECT_EQ(ReadBytes(target), previous);
    EXPECT_EQ(folder.Entries(), std::set<std::string>{"settings.cfg"});
}

// One call: each row prepares the disk, and a failure leaves the previous file as it was.
struct SaveCase {
    const char* name;
    void (*prepare)(FaultyFileIo& io, const std::string& target);
    CfgSaveOutcome outcome;
};

void PrintTo(const SaveCase& row, std::ostream* out) {
    *out << row.name;
}

class CfgFileSaveOutcome : public CfgFileSaverTest, public testing::WithParamInterface<SaveCase> {};

TEST_P(CfgFileSaveOutcome, ReportsHowFarTheSaveGot) {
    FaultyFileIo io;
    GetParam().prepare(io, target);
    const auto contents = [this] {
        return std::filesystem::is_regular_file(target) ? ReadBytes(target)
                                                        : std::vector<std::uint8_t>{};
    };
    const std::vector<std::uint8_t> before = contents();

    EXPECT_EQ(SaveCfgFile(target, frame, io), GetParam().outcome);

    if (GetParam().outcome == CfgSaveOutcome::Saved) {
        EXPECT_EQ(ReadBytes(target), ScrambledFileOf(frame));
    } else {
        EXPECT_EQ(contents(), before);
    }
    EXPECT_EQ(folder.Entries(), std::set<std::string>{"settings.cfg"}) << "no temporary file left";
}

void KeepPrevious(FaultyFileIo&, const std::string& target) {
    WriteBytes(target, PatternBytes(kFrameSize, 5));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CfgFileSaveOutcome,
    testing::Values(SaveCase{"NewFile", [](FaultyFileIo&, const std::string&) {},
                             CfgSaveOutcome::Saved},
                    SaveCase{"ReplacesAFile", KeepPrevious, CfgSaveOutcome::Saved},
                    SaveCase{"DirectoryAsTarget",
                             [](FaultyFileIo&, const std::string& target) {
                                 std::filesystem::create_directory(target);
                             },
                             CfgSaveOutcome::NotOpened},
                    SaveCase{"DiskFullPartWay",
                             [](FaultyFileIo& io, const std::string& target) {
                                 KeepPrevious(io, target);
                                 io.writeBudget = 300;
                             },
                             CfgSaveOutcome::NotWritten},
                    SaveCase{"RenameRefused",
                             [](FaultyFileIo& io, const std::string& target) {
                                 KeepPrevious(io, target);
                                 io.failRename = true;
                             },
                             CfgSaveOutcome::NotWritten}),
    [](const testing::TestParamInfo<SaveCase>& info) { return info.param.name; });

}  // namespace
