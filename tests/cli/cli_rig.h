#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "child_process.h"
#include "tests/files/temp_folder.h"

// The programs under test, built beside the tests.
inline const std::string kCliProgram = LVCFG_CLI_PATH;
inline const std::string kSimProgram = LVCFG_MODULE_SIM_PATH;

// The folder that stands for XDG_DATA_HOME in every run of lvcfg-cli by this test program, so
// the station database of a run never lands in the home folder.
[[nodiscard]] const std::string& TestDataHome();

// `environment` for a run of lvcfg-cli: its station database is the default one under
// TestDataHome() unless `environment` says otherwise.
[[nodiscard]] inline std::map<std::string, std::string> CliEnvironment(
    std::map<std::string, std::string> environment) {
    environment.try_emplace("XDG_DATA_HOME", TestDataHome());
    environment.try_emplace("LVCFG_STATION_DB", "");
    return environment;
}

// lvcfg-cli run to its end, in CliEnvironment(environment).
[[nodiscard]] inline ProgramRun Cli(const std::vector<std::string>& args,
                                    const std::map<std::string, std::string>& environment = {}) {
    return RunProgram(kCliProgram, args, CliEnvironment(environment));
}

// Each line of `out` as a JSON object; a line that is no JSON fails the test.
[[nodiscard]] std::vector<nlohmann::ordered_json> JsonLines(const std::string& out);

// Simulated modules, each an lvcfg-module-sim process on a pseudo-terminal of its own.
class SimulatedModules {
  public:
    // Starts a module with the simulator's options `args` ("--mac", "4C 56 00 00 00 07", ...)
    // and gives its port path.
    std::string Start(const std::vector<std::string>& args = {});

  private:
    std::vector<std::unique_ptr<RunningProgram>> m_programs;
};

// A test with modules, a temporary folder and a valid .cfg read from a plain module.
class CliTest : public ::testing::Test {
  protected:
    void SetUp() override;

    // `file` as the CLI shows it, as one JSON object.
    [[nodiscard]] nlohmann::ordered_json ShowJson(const std::string& file);
    // The module on `port` as `read --json` gives it.
    [[nodiscard]] nlohmann::ordered_json ReadJson(const std::string& port);

    SimulatedModules m_modules;
    TempFolder m_folder;
    std::string m_config;  // a module's settings, saved by `read --output`
};
