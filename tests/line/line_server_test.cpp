// lvcfg-line as the real program over a real store: its resources, its event stream with
// resynchronisation, its viewer cap, its page's security headers and its exit codes.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <nlohmann/json.hpp>

#include "store/open_station_store.h"
#include "tests/line/line_server_rig.h"
#include "tests/store/store_test.h"

namespace {

using Json = nlohmann::json;

std::int64_t NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

class LineServerTest : public StoreTest {
  protected:
    void SetUp() override {
        StoreTest::SetUp();
        if (!IsSkipped() && !HasFatalFailure()) {
            m_store = Open();
            ASSERT_TRUE(m_store);
        }
    }

    void AddRecord(const std::string& station, const std::string& reason = "",
                   const std::string& moduleName = "KTR5520Q") {
        ProductionRecord record;
        record.timeStart = NowMs();
        record.timeEnd = record.timeStart + 120;
        record.station = station;
        record.moduleName = moduleName;
        record.outcome = reason.empty() ? "ok" : "failed";
        record.reason = reason;
        ASSERT_TRUE(m_store->AddRecord(record).Ok());
    }

    // The summary once it counts `records` records; the page's view after it heard of them.
    Json SummaryWith(std::int64_t records, const LineServer& server) {
        Json summary;
        for (int attempt = 0; attempt < 100; ++attempt) {
            summary = Json::parse(server.Get("/api/summary").body);
            if (summary["line"]["attempts"] == records) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return summary;
    }

    std::unique_ptr<StationStore> m_store;
};

std::vector<std::int64_t> RecordIds(const ServerEvent& event) {
    return Json::parse(event.data)["records"].get<std::vector<std::int64_t>>();
}

TEST_P(LineServerTest, EventsTellEachNewRecordAndAReconnectGetsWhatItMissed) {
    LineServer server(Url());
    ASSERT_TRUE(server.Started());
    std::string lastId;
    {
        EventStream viewer(server.Port());
        ASSERT_EQ(viewer.Status(), 200u);
        EXPECT_EQ(viewer.Next().type, "hello");
        AddRecord("east");
        const ServerEvent change = viewer.Next();
        ASSERT_EQ(change.type, "change");
        EXPECT_EQ(RecordIds(change).size(), 1u);
        lastId = change.id;
    }
    AddRecord("east", "no_answer");
    AddRecord("west");
    ASSERT_EQ(SummaryWith(3, server)["line"]["attempts"], 3);

    EventStream back(server.Port(), lastId);
    std::vector<std::int64_t> missed;
    while (missed.size() < 2) {
        const ServerEvent event = back.Next();
        ASSERT_EQ(event.type, "change") << "missed so far: " << missed.size();
        const auto ids = RecordIds(event);
        missed.insert(missed.end(), ids.begin(), ids.end());
    }
    EXPECT_EQ(missed.size(), 2u);
    EXPECT_EQ(EventStream(server.Port(), "an-earlier-run-7").Next().type, "resync");
}

TEST_P(LineServerTest, ServesEachResourceAsOneJsonObjectShowingOnlyHostAndDatabase) {
    AddRecord("east");
    AddRecord("east", "crc_mismatch", "<img src=x onerror=alert(1)>");
    LineServer server(Url());
    ASSERT_TRUE(server.Started());
    const Json summary = Json::parse(server.Get("/api/summary").body);
    EXPECT_EQ(summary["stations"][0]["station"], "east");
    EXPECT_EQ(summary["stations"][0]["state"], "running");
    EXPECT_EQ(summary["series"]["pareto"][0]["reason"], "crc_mismatch");
    EXPECT_EQ(summary["store"].size(), 3u);
    EXPECT_EQ(summary["store"]["kind"],
              GetParam() == BackendKind::Sqlite ? "sqlite" : "postgresql");
    EXPECT_EQ(summary.dump().find("search_path"), std::string::npos);
    for (const char* resource : {"/api/stations", "/api/orders", "/api/alarms", "/healthz"}) {
        const HttpAnswer answer = server.Get(resource);
        EXPECT_EQ(answer.status, 200u) << resource;
        EXPECT_TRUE(Json::parse(answer.body).is_object()) << resource;
    }
    const Json found = Json::parse(server.Get("/api/records?outcome=failed&limit=5").body);
    ASSERT_EQ(found["records"].size(), 1u);
    EXPECT_EQ(found["records"][0]["module_name"], "<img src=x onerror=alert(1)>");
    const HttpAnswer refused = server.Get("/api/records?limit=5000");
    EXPECT_EQ(refused.status, 400u);
    EXPECT_EQ(Json::parse(refused.body)["error"], "limit is a number from 1 to 1000");
}

using LineServerOnSqlite = LineServerTest;

TEST_P(LineServerOnSqlite, ThePageComesWithAPolicyThatForbidsInlineScript) {
    LineServer server(Url());
    ASSERT_TRUE(server.Started());
    HttpAnswer page = server.Get("/");
    ASSERT_EQ(page.status, 200u);
    const std::string& policy = page.headers["Content-Security-Policy"];
    EXPECT_NE(policy.find("script-src 'self'"), std::string::npos) << policy;
    EXPECT_EQ(policy.find("unsafe-inline"), std::string::npos) << policy;
    EXPECT_EQ(page.headers["X-Content-Type-Options"], "nosniff");
    // Every script of the page is a file of the server.
    for (std::size_t at = page.body.find("<script"); at != std::string::npos;
         at = page.body.find("<script", at + 1)) {
        const std::string tag = page.body.substr(at, page.body.find('>', at) - at);
        EXPECT_NE(tag.find(" src=\"/"), std::string::npos) << tag;
    }
    for (const char* file : {"/app.js", "/summary_view.js", "/line.css"}) {
        EXPECT_EQ(server.Get(file).status, 200u) << file;
    }
}

TEST_P(LineServerOnSqlite, ViewersBeyondTheCapAreTurnedAwayUntilOneLeaves) {
    LineServer server(Url(), {"--max-viewers", "2"});
    ASSERT_TRUE(server.Started());
    EventStream first(server.Port());
    auto second = std::make_unique<EventStream>(server.Port());
    ASSERT_EQ(first.Next().type, "hello");
    ASSERT_EQ(second->Next().type, "hello");
    EXPECT_EQ(EventStream(server.Port()).Status(), 503u);
    // The API is served all the same.
    EXPECT_EQ(server.Get("/api/summary").status, 200u);
    second.reset();
    unsigned status = 0;
    for (int attempt = 0; attempt < 100 && status != 200; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        status = EventStream(server.Port()).Status();
    }
    EXPECT_EQ(status, 200u);
}

TEST(LineProgram, EndsWithExitSixWithoutAStoreAndTwoOnBadUsage) {
    EXPECT_EQ(
        RunProgram(kLineProgram, {"--station-db", "sqlite:/nonexistent/line.sqlite"}).exitStatus,
        6);
    const ProgramRun badListen = RunProgram(kLineProgram, {"--listen", "everywhere"});
    EXPECT_EQ(badListen.exitStatus, 2);
    EXPECT_NE(badListen.err.find("ADDR:PORT"), std::string::npos) << badListen.err;
}

}  // namespace

INSTANTIATE_FOR_BOTH_BACKENDS(LineServerTest);
INSTANTIATE_TEST_SUITE_P(Backends, LineServerOnSqlite, testing::Values(BackendKind::Sqlite),
                         BackendName);
