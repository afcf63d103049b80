#include "line/line_routes.h"

#include <nlohmann/json.hpp>

#include "line/line_service.h"
#include "line/page_assets.h"
#include "line/record_query_params.h"

Reply ErrorReply(unsigned status, const std::string& text) {
    const nlohmann::json body{{"error", text}};
    return {status,
            "application/json",
            body.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace),
            {}};
}

Reply LineRoutes::SnapshotPart(std::string LineSnapshot::*part) const {
    const auto snapshot = m_service.Snapshot();
    if (!m_service.Failure().empty() || !snapshot) {
        return ErrorReply(503, "the station database cannot be read now");
    }
    return {200, "application/json", (*snapshot).*part, {}};
}

Route LineRoutes::Find(std::string_view method, std::string_view target) const {
    if (method != "GET") {
        Reply refused = ErrorReply(405, "only GET is served here");
        refused.headers.emplace_back("Allow", "GET");
        return refused;
    }
    const std::size_t mark = target.find('?');
    const std::string_view path = target.substr(0, mark);
    const std::string_view query =
        mark == std::string_view::npos ? std::string_view() : target.substr(mark + 1);
    if (path == "/api/summary") {
        return SnapshotPart(&LineSnapshot::summary);
    }
    if (path == "/api/stations") {
        return SnapshotPart(&LineSnapshot::stations);
    }
    if (path == "/api/orders") {
        return SnapshotPart(&LineSnapshot::orders);
    }
    if (path == "/api/alarms") {
        return SnapshotPart(&LineSnapshot::alarms);
    }
    if (path == "/api/events") {
        return EventsRoute{};
    }
    if (path == "/api/records") {
        RecordQueryParams params = ParseRecordQueryParams(query);
        if (!params.error.empty()) {
            return ErrorReply(400, params.error);
        }
        return RecordsRoute{params.query};
    }
    if (path == "/healthz") {
        const bool failed = !m_service.Failure().empty();
        const nlohmann::json health{{"status", failed ? "store_failed" : "ok"}};
        return Reply{failed ? 503u : 200u, "application/json", health.dump(), {}};
    }
    if (path == "/favicon.ico") {
        return Reply{204, "image/x-icon", "", {}};
    }
    if (path == "/chart.js" && m_chartJs) {
        return Reply{200, "text/javascript", *m_chartJs, {{"Cache-Control", "max-age=86400"}}};
    }
    if (const PageAsset* asset = FindPageAsset(path)) {
        return Reply{200, std::string(asset->contentType), std::string(asset->body), {}};
    }
    return ErrorReply(404, "nothing here");
}
