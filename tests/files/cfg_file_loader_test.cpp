#include "files/cfg_file_loader.h"

#include <gtest/gtest.h>

#include <ostream>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "files/cfg_scramble.h"
#include "tests/files/cfg_test_frames.h"
#include "tests/files/temp_folder.h"

namespace {

// A sound file changed by each row, loaded: the outcome, and what the frame holds afterwards.
struct LoadCase {
    const char* name;
    void (*alter)(std::vector<std::uint8_t>& file);
    CfgLoadOutcome outcome;
};

void PrintTo(const LoadCase& row, std::ostream* out) {
    *out << row.name;
}

class CfgFileLoad : public testing::TestWithParam<LoadCase> {
  protected:
    TempFolder folder;
};

TEST_P(CfgFileLoad, ChecksTheFileInOrder) {
    const ConfigFrame sealed = ModuleLikeFrame();
    std::vector<std::uint8_t> file = ScrambledFileOf(sealed);
    GetParam().alter(file);
    const std::string path = folder.File("row.cfg");
    WriteBytes(path, file);

    ConfigFrame frame{};
    EXPECT_EQ(LoadCfgFile(path, frame), GetParam().outcome);

    std::vector<std::uint8_t> expected(file.begin(),
                                       file.begin() + std::min(file.size(), kFrameSize));
    if (expected.size() == kFrameSize) {
        ScrambleCfgBytes(expected);  // all bytes came: the frame holds them unscrambled
    }
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), frame.begin()));
}

void Flip(std::vector<std::uint8_t>& file, std::size_t offset) {
    file[offset] ^= 0x01;
}

// Unscrambles the file, lets `change` alter the frame, seals it again and scrambles it back.
void Reseal(std::vector<std::uint8_t>& file, void (*change)(ConfigFrame& frame)) {
    ConfigFrame frame{};
    ScrambleCfgBytes(file);
    std::copy(file.begin(), file.end(), frame.begin());
    change(frame);
    SealFrame(frame);
    file = ScrambledFileOf(frame);
}

// The name field (bytes 4-27) of the window's default working frame where the magic would be.
void PutDefaultName(ConfigFrame& frame) {
    ConfigFrame defaults{};
    MakeDefaultWorkFrame(defaults);
    std::copy_n(defaults.begin() + FrameOffset::kName, FrameOffset::kNameLength,
                frame.begin() + FrameOffset::kName);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CfgFileLoad,
    testing::Values(
        LoadCase{"Exact", [](std::vector<std::uint8_t>&) {}, CfgLoadOutcome::Loaded},
        LoadCase{"LongerFileFirst518Bytes",
                 [](std::vector<std::uint8_t>& f) { f.resize(600, 0xAA); }, CfgLoadOutcome::Loaded},
        LoadCase{"AnythingInTheCommandBytes",
                 [](std::vector<std::uint8_t>& f) { std::fill_n(f.begin(), 4, 0x00); },
                 CfgLoadOutcome::Loaded},
        LoadCase{"OneByteShort", [](std::vector<std::uint8_t>& f) { f.resize(517); },
                 CfgLoadOutcome::TooShort},
        LoadCase{"EmptyFile", [](std::vector<std::uint8_t>& f) { f.clear(); },
                 CfgLoadOutcome::TooShort},
        LoadCase{"UnscrambledFile", [](std::vector<std::uint8_t>& f) { ScrambleCfgBytes(f); },
                 CfgLoadOutcome::MagicMismatch},
        LoadCase{"WrongMagic", [](std::vector<std::uint8_t>& f) { Flip(f, 11); },
                 CfgLoadOutcome::MagicMismatch},
        LoadCase{"WrongMagicAndCrc",
                 [](std::vector<std::uint8_t>& f) {
                     Flip(f, 4);
                     Flip(f, 516);
                 },
                 CfgLoadOutcome::MagicMismatch},
        LoadCase{"ChangedSetting", [](std::vector<std::uint8_t>& f) { Flip(f, 54); },
                 CfgLoadOutcome::CrcMismatch},
        LoadCase{"ChangedUninterpretedByte", [](std::vector<std::uint8_t>& f) { Flip(f, 515); },
                 CfgLoadOutcome::CrcMismatch},
        LoadCase{"DefaultNameInsteadOfMagic",
                 [](std::vector<std::uint8_t>& f) { Reseal(f, PutDefaultName); },
                 CfgLoadOutcome::Loaded},
        LoadCase{"DefaultNameWithChangedSetting",
                 [](std::vector<std::uint8_t>& f) {
                     Reseal(f, PutDefaultName);
                     Flip(f, 54);
                 },
                 CfgLoadOutcome::CrcMismatch},
        LoadCase{"DefaultNameWithTextAfterIt",
                 [](std::vector<std::uint8_t>& f) {
                     Reseal(f, [](ConfigFrame& frame) {
                         PutDefaultName(frame);
                         frame[23] = 'X';
                     });
                 },
                 CfgLoadOutcome::MagicMismatch},
        LoadCase{"DefaultNameCutShort",
                 [](std::vector<std::uint8_t>& f) {
                     Reseal(f, [](ConfigFrame& frame) {
                         PutDefaultName(frame);
                         frame[20] = 0;
                     });
                 },
                 CfgLoadOutcome::MagicMismatch},
        LoadCase{"ChangedStoredCrc", [](std::vector<std::uint8_t>& f) { Flip(f, 517); },
                 CfgLoadOutcome::CrcMismatch}),
    [](const testing::TestParamInfo<LoadCase>& info) { return info.param.name; });

TEST(CfgFileLoad, WhatDoesNotOpenIsReportedAsNotOpened) {
    TempFolder folder;
    std::filesystem::create_directory(folder.File("chosen.cfg"));
    ConfigFrame frame{};
    EXPECT_EQ(LoadCfgFile(folder.File("absent.cfg"), frame), CfgLoadOutcome::NotOpened);
    EXPECT_EQ(LoadCfgFile(folder.File("chosen.cfg"), frame), CfgLoadOutcome::NotOpened);
    EXPECT_EQ(LoadCfgFile("", frame), CfgLoadOutcome::NotOpened);
    EXPECT_EQ(frame, ConfigFrame{});
}

}  // namespace
