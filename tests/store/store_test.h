#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "store/open_station_store.h"
#include "tests/store/store_backend.h"

// A test run once per backend, each time on a fresh store of its own.
class StoreTest : public testing::TestWithParam<BackendKind> {
  protected:
    void SetUp() override {
        std::string skipReason;
        std::string failure;
        m_backend = MakeStoreBackend(GetParam(), skipReason, failure);
        if (!skipReason.empty()) {
            GTEST_SKIP() << skipReason;
        }
        ASSERT_TRUE(m_backend) << failure;
    }

    [[nodiscard]] std::string Url() const { return m_backend->Url(); }

    // Opens this test's store, failing the test when it cannot.
    std::unique_ptr<StationStore> Open(int schemaVersion = kCurrentSchemaVersion) {
        StoreResult<std::unique_ptr<StationStore>> opened = OpenStationStore(Url(), schemaVersion);
        EXPECT_TRUE(opened.Ok()) << opened.message;
        return std::move(opened.value);
    }

    std::unique_ptr<StoreBackend> m_backend;
};

inline std::string BackendName(const testing::TestParamInfo<BackendKind>& info) {
    return info.param == BackendKind::Sqlite ? "SQLite" : "PostgreSQL";
}

#define INSTANTIATE_FOR_BOTH_BACKENDS(Suite) \
    INSTANTIATE_TEST_SUITE_P(                \
        Backends, Suite, testing::Values(BackendKind::Sqlite, BackendKind::Postgres), BackendName)
