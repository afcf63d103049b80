// The .cfg files the window saved (tests/data): each loads, and saving what was loaded gives
// the same bytes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/cfg_file_loader.h"
#include "files/cfg_file_saver.h"
#include "tests/files/temp_folder.h"

namespace {

class CfgGoldenFile : public testing::TestWithParam<const char*> {};

TEST_P(CfgGoldenFile, LoadsAndSavesAgainByteForByte) {
    const std::string golden = std::string(LVCFG_TEST_DATA_DIR) + "/" + GetParam();
    ConfigFrame frame{};
    ASSERT_EQ(LoadCfgFile(golden, frame), CfgLoadOutcome::Loaded);

    TempFolder folder;
    const std::string saved = folder.File("saved.cfg");
    ASSERT_EQ(SaveCfgFile(saved, frame), CfgSaveOutcome::Saved);
    EXPECT_EQ(ReadBytes(saved), ReadBytes(golden));
}

INSTANTIATE_TEST_SUITE_P(Files, CfgGoldenFile,
                         testing::Values("window_defaults.cfg", "read_module.cfg",
                                         "many_settings.cfg"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             name.resize(name.find('.'));
                             std::erase(name, '_');
                             return name;
                         });

}  // namespace
