#pragma once

#include <memory>
#include <string>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>

class EventHub;
class LineRoutes;
class LineService;

// Accepts connections on one address and serves each with its own session on the io_context:
// requests read and answered by Boost.Beast, /api/events handed to the event hub as a
// stream. No connection ever holds a thread.
class HttpServer {
  public:
    HttpServer(boost::asio::io_context& io, const LineRoutes& routes, LineService& service,
               EventHub& hub);
    ~HttpServer();

    // Starts listening; false with `failure` set when the address cannot be taken.
    [[nodiscard]] bool Listen(const boost::asio::ip::tcp::endpoint& where, std::string& failure);
    [[nodiscard]] boost::asio::ip::tcp::endpoint Address() const;

  private:
    struct Listener;
    std::shared_ptr<Listener> m_listener;
};
