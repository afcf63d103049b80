#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>

#include "store/open_station_store.h"
#include "tests/store/store_backend.h"

inline BackendKind KindOf(BackendKind kind) {
    return kind;
}

template <class Row>
BackendKind KindOf(const std::tuple<BackendKind, Row>& param) {
    return std::get<0>(param);
}

inline std::string BackendNameOf(BackendKind kind) {
    return kind == BackendKind::Sqlite ? "SQLite" : "PostgreSQL";
}

// A test run once per backend (and per row of a table, when Param pairs the backend with a
// row), each time on a fresh store of its own.
template <class Param>
class BasicStoreTest : public testing::TestWithParam<Param> {
  protected:
    void SetUp() override {
        std::string skipReason;
        std::string failure;
        m_backend = MakeStoreBackend(KindOf(this->GetParam()), skipReason, failure);
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

using StoreTest = BasicStoreTest<BackendKind>;

inline std::string BackendName(const testing::TestParamInfo<BackendKind>& info) {
    return BackendNameOf(info.param);
}

// "SQLite_RowName": rows of a table carry their name in `name`.
template <class Row>
std::string BackendAndRowName(const testing::TestParamInfo<std::tuple<BackendKind, Row>>& info) {
    return BackendNameOf(std::get<0>(info.param)) + "_" + std::get<1>(info.param).name;
}

#define INSTANTIATE_FOR_BOTH_BACKENDS(Suite) \
    INSTANTIATE_TEST_SUITE_P(                \
        Backends, Suite, testing::Values(BackendKind::Sqlite, BackendKind::Postgres), BackendName)

// Every row of `rows` (an array of structs with a `name`) against both backends.
#define INSTANTIATE_TABLE_FOR_BOTH_BACKENDS(Suite, rows)                              \
    INSTANTIATE_TEST_SUITE_P(                                                         \
        Backends, Suite,                                                              \
        testing::Combine(testing::Values(BackendKind::Sqlite, BackendKind::Postgres), \
                         testing::ValuesIn(rows)),                                    \
        BackendAndRowName<typename std::decay_t<decltype(rows[0])>>)
