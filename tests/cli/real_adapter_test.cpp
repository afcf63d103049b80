// Against a real module, when LVCFG_TEST_PORT names its port: read it, write the same settings
// back with verification, and find it reads the same afterwards.
#include <cstdlib>

#include "cli_rig.h"

namespace {

TEST(RealAdapterTest, WritesBackWhatItReadAndReadsTheSame) {
    const char* port = std::getenv("LVCFG_TEST_PORT");
    if (port == nullptr || port[0] == '\0') {
        GTEST_SKIP() << "no real module: set LVCFG_TEST_PORT=/dev/ttyUSB0 (its port) to run";
    }
    TempFolder folder;
    const std::string config = folder.File("module.cfg");
    const ProgramRun before = Cli({"read", "--port", port, "--output", config, "--json"});
    ASSERT_EQ(before.exitStatus, 0) << before.err;

    const ProgramRun write = Cli({"write", "--port", port, "--config", config, "--json"});
    ASSERT_EQ(write.exitStatus, 0) << write.err;
    const auto written = JsonLines(write.out);
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0]["verified"], true);

    const ProgramRun after = Cli({"read", "--port", port, "--json"});
    ASSERT_EQ(after.exitStatus, 0) << after.err;
    const auto read = JsonLines(before.out);
    const auto again = JsonLines(after.out);
    ASSERT_EQ(read.size(), 1u);
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(read[0]["identity"], again[0]["identity"]);
    EXPECT_EQ(read[0]["fields"], again[0]["fields"]);
}

}  // namespace
