#include "line/http_server.h"

#include <chrono>
#include <deque>

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/strand.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

#include "line/event_hub.h"
#include "line/line_routes.h"
#include "line/line_service.h"

namespace beast = boost::beast;
namespace http = beast::http;
namespace net = boost::asio;
using tcp = net::ip::tcp;

namespace {

constexpr auto kRequestTimeout = std::chrono::seconds(30);
constexpr auto kWriteTimeout = std::chrono::seconds(30);
constexpr std::uint32_t kHeaderLimit = 8 * 1024;
// Frames a viewer may fall behind by before it is let go (it reconnects and resynchronises).
constexpr std::size_t kViewerQueueMax = 256;

// The page's scripts and styles come from this server only and nothing runs inline; no
// text from the store can become a script.
constexpr const char* kContentSecurityPolicy =
    "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self'; "
    "connect-src 'self'; base-uri 'none'; form-action 'none'; frame-ancestors 'none'";

template <class Body>
void AddCommonHeaders(http::response<Body>& response) {
    response.set(http::field::server, "lvcfg-line");
    response.set("Content-Security-Policy", kContentSecurityPolicy);
    response.set("X-Content-Type-Options", "nosniff");
    response.set("Referrer-Policy", "no-referrer");
    if (response[http::field::cache_control].empty()) {
        response.set(http::field::cache_control, "no-store");
    }
}

// One viewer's event stream: the response head, then frames as they come, written one at a
// time from a queue. A read stays pending only to notice the viewer leaving.
class SseViewer final : public EventViewer, public std::enable_shared_from_this<SseViewer> {
  public:
    SseViewer(beast::tcp_stream stream, EventHub& hub) : m_stream(std::move(stream)), m_hub(hub) {}

    void Start(unsigned version, std::string lastEventId) {
        m_head.version(version);
        m_head.result(http::status::ok);
        m_head.set(http::field::content_type, "text/event-stream");
        m_head.keep_alive(false);
        AddCommonHeaders(m_head);
        m_serializer.emplace(m_head);
        m_stream.expires_after(kWriteTimeout);
        http::async_write_header(
            m_stream, *m_serializer,
            [self = shared_from_this(), lastEventId](beast::error_code error, std::size_t) {
                if (error) {
                    self->Close();
                    return;
                }
                self->m_stream.expires_never();
                self->m_hub.Join(self, lastEventId);
                self->WatchForLeaving();
            });
    }

    void Send(EventLog::Frame frame) override {
        if (m_closed) {
            return;
        }
        if (m_queue.size() >= kViewerQueueMax) {
            Close();
            return;
        }
        m_queue.push_back(std::move(frame));
        if (m_queue.size() == 1) {
            WriteNext();
        }
    }

  private:
    void WriteNext() {
        m_stream.expires_after(kWriteTimeout);
        net::async_write(m_stream, net::buffer(*m_queue.front()),
                         [self = shared_from_this()](beast::error_code error, std::size_t) {
                             if (error || self->m_closed) {
                                 self->Close();
                                 return;
                             }
                             self->m_queue.pop_front();
                             if (self->m_queue.empty()) {
                                 self->m_stream.expires_never();
                             } else {
                                 self->WriteNext();
                             }
                         });
    }

    void WatchForLeaving() {
        m_stream.async_read_some(net::buffer(m_ignored),
                                 [self = shared_from_this()](beast::error_code error, std::size_t) {
                                     if (error) {
                                         self->Close();
                                     } else {
                                         self->WatchForLeaving();
                                     }
                                 });
    }

    void Close() {
        if (m_closed) {
            return;
        }
        m_closed = true;
        m_queue.clear();
        m_hub.Leave(this);
        beast::error_code ignored;
        m_stream.socket().shutdown(tcp::socket::shutdown_both, ignored);
        m_stream.close();
    }

    beast::tcp_stream m_stream;
    EventHub& m_hub;
    http::response<http::empty_body> m_head;
    std::optional<http::response_serializer<http::empty_body>> m_serializer;
    std::deque<EventLog::Frame> m_queue;
    char m_ignored[256];
    bool m_closed = false;
};

// One connection: requests read one after another, each answered before the next is read.
class HttpSession final : public std::enable_shared_from_this<HttpSession> {
  public:
    HttpSession(tcp::socket socket, const LineRoutes& routes, LineService& service, EventHub& hub)
        : m_stream(std::move(socket)), m_routes(routes), m_service(service), m_hub(hub) {}

    void Read() {
        m_parser.emplace();
        m_parser->header_limit(kHeaderLimit);
        m_parser->body_limit(0);
        m_stream.expires_after(kRequestTimeout);
        http::async_read(m_stream, m_buffer, *m_parser,
                         [self = shared_from_this()](beast::error_code error, std::size_t) {
                             if (!error) {
                                 self->Serve(self->m_parser->release());
                             } else if (error != http::error::end_of_stream) {
                                 self->m_stream.close();
                             }
                         });
    }

  private:
    using Request = http::request<http::empty_body>;

    void Serve(Request request) {
        Route route = m_routes.Find(request.method_string(), request.target());
        if (std::holds_alternative<EventsRoute>(route)) {
            if (m_hub.Full()) {
                Reply full = ErrorReply(503, "too many viewers; try again later");
                full.headers.emplace_back("Retry-After", "10");
                Answer(request, std::move(full));
                return;
            }
            const auto viewer = std::make_shared<SseViewer>(std::move(m_stream), m_hub);
            viewer->Start(request.version(), std::string(request["Last-Event-ID"]));
            return;
        }
        if (auto* records = std::get_if<RecordsRoute>(&route)) {
            m_service.FindRecords(records->query, [self = shared_from_this(),
                                                   request](StoreResult<std::string> found) {
                self->Answer(request, found.Ok() ? Reply{200, "application/json", found.value, {}}
                                                 : ErrorReply(503,
                                                              "the station database cannot be "
                                                              "read now"));
            });
            return;
        }
        Answer(request, std::get<Reply>(std::move(route)));
    }

    void Answer(const Request& request, Reply reply) {
        auto response = std::make_shared<http::response<http::string_body>>(
            static_cast<http::status>(reply.status), request.version());
        response->set(http::field::content_type, reply.contentType);
        for (const auto& [name, value] : reply.headers) {
            response->set(name, value);
        }
        AddCommonHeaders(*response);
        response->keep_alive(request.keep_alive());
        response->body() = std::move(reply.body);
        response->prepare_payload();
        http::async_write(
            m_stream, *response,
            [self = shared_from_this(), response](beast::error_code error, std::size_t) {
                if (error || !response->keep_alive()) {
                    beast::error_code ignored;
                    self->m_stream.socket().shutdown(tcp::socket::shutdown_send, ignored);
                    return;
                }
                self->Read();
            });
    }

    beast::tcp_stream m_stream;
    beast::flat_buffer m_buffer;
    std::optional<http::request_parser<http::empty_body>> m_parser;
    const LineRoutes& m_routes;
    LineService& m_service;
    EventHub& m_hub;
};

}  // namespace

struct HttpServer::Listener : std::enable_shared_from_this<HttpServer::Listener> {
    Listener(net::io_context& io, const LineRoutes& routes, LineService& service, EventHub& hub)
        : acceptor(io), routes(routes), service(service), hub(hub) {}

    void Accept() {
        acceptor.async_accept(
            [self = shared_from_this()](beast::error_code error, tcp::socket socket) {
                if (error == net::error::operation_aborted) {
                    return;
                }
                if (!error) {
                    std::make_shared<HttpSession>(std::move(socket), self->routes, self->service,
                                                  self->hub)
                        ->Read();
                }
                self->Accept();
            });
    }

    tcp::acceptor acceptor;
    const LineRoutes& routes;
    LineService& service;
    EventHub& hub;
};

HttpServer::HttpServer(net::io_context& io, const LineRoutes& routes, LineService& service,
                       EventHub& hub)
    : m_listener(std::make_shared<Listener>(io, routes, service, hub)) {}

HttpServer::~HttpServer() {
    beast::error_code ignored;
    m_listener->acceptor.close(ignored);
}

bool HttpServer::Listen(const tcp::endpoint& where, std::string& failure) {
    beast::error_code error;
    tcp::acceptor& acceptor = m_listener->acceptor;
    acceptor.open(where.protocol(), error);
    if (!error) {
        acceptor.set_option(net::socket_base::reuse_address(true), error);
    }
    if (!error) {
        acceptor.bind(where, error);
    }
    if (!error) {
        acceptor.listen(net::socket_base::max_listen_connections, error);
    }
    if (error) {
        failure = error.message();
        return false;
    }
    m_listener->Accept();
    return true;
}

tcp::endpoint HttpServer::Address() const {
    beast::error_code ignored;
    return m_listener->acceptor.local_endpoint(ignored);
}
