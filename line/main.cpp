// lvcfg-line: serves the line's page and its JSON API from the station database, read-only.
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <iostream>
#include <sstream>

#include <boost/asio/io_context.hpp>
#include <boost/asio/signal_set.hpp>

#include "line/event_hub.h"
#include "line/http_server.h"
#include "line/line_options.h"
#include "line/line_reader.h"
#include "line/line_routes.h"
#include "line/line_service.h"
#include "line/store_worker.h"

namespace {

namespace net = boost::asio;

constexpr std::size_t kEventsKept = 512;

std::int64_t NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

// Names this run in the event ids, so that an id of an earlier run is never taken for one of
// this run.
std::string RunName() {
    std::uint64_t value =
        static_cast<std::uint64_t>(NowMs()) * 1'000'003u ^ static_cast<std::uint64_t>(::getpid());
    std::string name;
    for (; value != 0; value /= 36) {
        name += "0123456789abcdefghijklmnopqrstuvwxyz"[value % 36];
    }
    return name;
}

std::optional<std::string> ReadChartJs(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::cerr << "lvcfg-line: no Chart.js at " << path
                  << " (Debian's libjs-chart.js): the page shows its figures without charts\n";
        return std::nullopt;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string UrlOf(const net::ip::tcp::endpoint& endpoint) {
    const std::string host = endpoint.address().is_v6() ? "[" + endpoint.address().to_string() + "]"
                                                        : endpoint.address().to_string();
    return "http://" + host + ":" + std::to_string(endpoint.port()) + "/";
}

}  // namespace

int main(int argc, char** argv) {
    LineOptions options;
    if (const auto exit = ParseLineOptions(argc, argv, options)) {
        return static_cast<int>(*exit);
    }
    boost::system::error_code badAddress;
    const net::ip::address address = net::ip::make_address(options.listenAddress, badAddress);
    if (badAddress) {
        std::cerr << "lvcfg-line: --listen needs an IP address, not " << options.listenAddress
                  << '\n';
        return static_cast<int>(LineExit::Usage);
    }
    LineReader reader(options.storeUrl, options.thresholds, NowMs);
    LineReader::Refreshed first = reader.Refresh();
    if (!first.snapshot) {
        std::cerr << "lvcfg-line: " << first.failure << '\n';
        return static_cast<int>(LineExit::StoreFailed);
    }

    net::io_context io;
    EventLog log(RunName(), kEventsKept);
    EventHub hub(log, options.maxViewers);
    auto worker = std::make_unique<StoreWorker>();
    LineService service(io, *worker, reader, hub,
                        std::chrono::milliseconds(RefreshTickMs(options.thresholds)));
    const LineRoutes routes(service, ReadChartJs(options.chartJsPath));
    HttpServer server(io, routes, service, hub);
    std::string failure;
    if (!server.Listen({address, options.listenPort}, failure)) {
        std::cerr << "lvcfg-line: cannot listen on " << options.listenAddress << ":"
                  << options.listenPort << ": " << failure << '\n';
        return static_cast<int>(LineExit::Failed);
    }
    const StoreWhereabouts& where = reader.Where();
    service.Start(std::move(first));
    std::cout << "lvcfg-line serves " << UrlOf(server.Address()) << "\nfrom the " << where.kind
              << " station database " << where.database << " on " << where.host << std::endl;

    net::signal_set stop(io, SIGINT, SIGTERM);
    stop.async_wait([&io](boost::system::error_code, int) { io.stop(); });
    io.run();
    // The worker's last query may still refer to the reader and the service.
    worker.reset();
    return static_cast<int>(LineExit::Ok);
}
