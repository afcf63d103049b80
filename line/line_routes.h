#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "line/line_snapshot.h"
#include "store/record_query.h"

class LineService;

// An answer that is ready at once.
struct Reply {
    unsigned status = 200;
    std::string contentType = "application/json";
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers;
};
// /api/records: answered once the store has found them.
struct RecordsRoute {
    RecordQuery query;
};
// /api/events: the connection becomes a viewer's stream.
struct EventsRoute {};

using Route = std::variant<Reply, RecordsRoute, EventsRoute>;

// Where each request of the page and its API goes. One handler per resource, each answering
// from the service's latest snapshot or asking the store one question.
class LineRoutes {
  public:
    LineRoutes(const LineService& service, std::optional<std::string> chartJs)
        : m_service(service), m_chartJs(std::move(chartJs)) {}

    [[nodiscard]] Route Find(std::string_view method, std::string_view target) const;

  private:
    [[nodiscard]] Reply SnapshotPart(std::string LineSnapshot::*part) const;

    const LineService& m_service;
    std::optional<std::string> m_chartJs;
};

// A JSON answer {"error": text} with `status`.
[[nodiscard]] Reply ErrorReply(unsigned status, const std::string& text);
