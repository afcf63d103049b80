#include "tests/line/line_server_rig.h"

#include <sys/socket.h>
#include <sys/time.h>

#include <boost/asio/connect.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core/buffers_to_string.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/http.hpp>

namespace http = boost::beast::http;
namespace net = boost::asio;
using tcp = net::ip::tcp;

namespace {

void ConnectWithTimeout(tcp::socket& socket, unsigned short port) {
    socket.connect({net::ip::make_address("127.0.0.1"), port});
    const timeval timeout{5, 0};
    ::setsockopt(socket.native_handle(), SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
}

http::request<http::empty_body> GetRequest(const std::string& target) {
    http::request<http::empty_body> request{http::verb::get, target, 11};
    request.set(http::field::host, "127.0.0.1");
    return request;
}

}  // namespace

struct EventStream::Connection {
    net::io_context io;
    tcp::socket socket{io};
};

LineServer::LineServer(const std::string& storeUrl, const std::vector<std::string>& options) {
    std::vector<std::string> args{"--station-db", storeUrl, "--listen", "127.0.0.1:0"};
    args.insert(args.end(), options.begin(), options.end());
    m_program = std::make_unique<RunningProgram>(kLineProgram, args);
    const std::string told = m_program->ReadLine();
    const std::size_t colon = told.rfind(':');
    if (told.find("serves http://127.0.0.1:") != std::string::npos && colon != std::string::npos) {
        m_port = static_cast<unsigned short>(std::stoi(told.substr(colon + 1)));
    }
}

HttpAnswer LineServer::Get(const std::string& target) const {
    net::io_context io;
    tcp::socket socket(io);
    ConnectWithTimeout(socket, m_port);
    http::write(socket, GetRequest(target));
    boost::beast::flat_buffer buffer;
    http::response<http::string_body> response;
    boost::beast::error_code error;
    http::read(socket, buffer, response, error);
    HttpAnswer answer;
    if (error) {
        return answer;
    }
    answer.status = response.result_int();
    for (const auto& field : response) {
        answer.headers[std::string(field.name_string())] = std::string(field.value());
    }
    answer.body = response.body();
    return answer;
}

EventStream::EventStream(unsigned short port, const std::string& lastEventId)
    : m_connection(std::make_unique<Connection>()) {
    tcp::socket& socket = m_connection->socket;
    ConnectWithTimeout(socket, port);
    auto request = GetRequest("/api/events");
    if (!lastEventId.empty()) {
        request.set("Last-Event-ID", lastEventId);
    }
    http::write(socket, request);
    http::response_parser<http::empty_body> head;
    head.skip(true);  // the body is the stream of events, read below
    boost::beast::flat_buffer buffer;
    boost::beast::error_code error;
    http::read_header(socket, buffer, head, error);
    if (!error) {
        m_status = head.get().result_int();
        m_pending = boost::beast::buffers_to_string(buffer.data());
    }
}

EventStream::~EventStream() = default;

ServerEvent EventStream::Next() {
    for (;;) {
        const std::size_t end = m_pending.find("\n\n");
        if (end == std::string::npos) {
            char chunk[4096];
            boost::beast::error_code error;
            const std::size_t got = m_connection->socket.read_some(net::buffer(chunk), error);
            if (error) {
                return {};
            }
            m_pending.append(chunk, got);
            continue;
        }
        const std::string frame = m_pending.substr(0, end + 1);
        m_pending.erase(0, end + 2);
        ServerEvent event;
        for (std::size_t at = 0; at < frame.size();) {
            const std::size_t lineEnd = frame.find('\n', at);
            const std::string line = frame.substr(at, lineEnd - at);
            at = lineEnd + 1;
            const std::size_t colon = line.find(": ");
            const std::string field = line.substr(0, colon);
            const std::string value = colon == std::string::npos ? "" : line.substr(colon + 2);
            if (field == "id") {
                event.id = value;
            } else if (field == "event") {
                event.type = value;
            } else if (field == "data") {
                event.data = value;
            }
        }
        if (!event.type.empty()) {
            return event;
        }
    }
}
