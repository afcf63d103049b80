#pragma once

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "tests/support/window_driver.h"

// The contract every DialogWindow keeps, written once against the backend's driver and run
// for the headless window and the Qt window. Each backend's test runs it with
// LVCFG_DIALOG_WINDOW_CONTRACT(Prefix, BackendUnderTest{...}).
class DialogWindowContract : public ::testing::TestWithParam<BackendUnderTest> {};

[[nodiscard]] std::string BackendName(const ::testing::TestParamInfo<BackendUnderTest>& info);

// How a key reaches the dialog, by the control that has the focus.
struct KeyRoute {
    const char* name;
    int focus;
    void (WindowDriver::*press)();
    std::vector<std::pair<int, int>> commands;  // id and notification the dialog receives
};
class DialogWindowKeys : public ::testing::TestWithParam<std::tuple<BackendUnderTest, KeyRoute>> {};
[[nodiscard]] std::vector<KeyRoute> KeyRoutes();
[[nodiscard]] std::string KeyRouteName(
    const ::testing::TestParamInfo<std::tuple<BackendUnderTest, KeyRoute>>& info);

// A box of each type, with and without a detailed text.
struct BoxRow {
    const char* name;
    unsigned type;
    std::string details;
};
class DialogWindowBoxes : public ::testing::TestWithParam<std::tuple<BackendUnderTest, BoxRow>> {};
[[nodiscard]] std::vector<BoxRow> BoxRows();
[[nodiscard]] std::string BoxRowName(
    const ::testing::TestParamInfo<std::tuple<BackendUnderTest, BoxRow>>& info);

// Runs the whole contract for one backend.
#define LVCFG_DIALOG_WINDOW_CONTRACT(prefix, backend)                                     \
    INSTANTIATE_TEST_SUITE_P(prefix, DialogWindowContract, ::testing::Values(backend),    \
                             BackendName);                                                \
    INSTANTIATE_TEST_SUITE_P(                                                             \
        prefix, DialogWindowKeys,                                                         \
        ::testing::Combine(::testing::Values(backend), ::testing::ValuesIn(KeyRoutes())), \
        KeyRouteName);                                                                    \
    INSTANTIATE_TEST_SUITE_P(                                                             \
        prefix, DialogWindowBoxes,                                                        \
        ::testing::Combine(::testing::Values(backend), ::testing::ValuesIn(BoxRows())),   \
        BoxRowName)
