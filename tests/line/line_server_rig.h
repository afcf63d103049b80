#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/cli/child_process.h"

inline const std::string kLineProgram = LVCFG_LINE_PATH;

struct HttpAnswer {
    unsigned status = 0;
    std::map<std::string, std::string> headers;
    std::string body;
};

struct ServerEvent {
    std::string id;
    std::string type;
    std::string data;
};

// The real lvcfg-line on a free port of the loopback address, stopped when this goes.
class LineServer {
  public:
    LineServer(const std::string& storeUrl, const std::vector<std::string>& options = {});

    [[nodiscard]] bool Started() const { return m_port != 0; }
    [[nodiscard]] unsigned short Port() const { return m_port; }
    [[nodiscard]] pid_t Pid() const { return m_program->Pid(); }
    // One GET on a connection of its own.
    [[nodiscard]] HttpAnswer Get(const std::string& target) const;

  private:
    std::unique_ptr<RunningProgram> m_program;
    unsigned short m_port = 0;
};

// One viewer of /api/events: the response head on connecting, then events one by one. Reads
// give up after a few seconds, so a missing event fails the test instead of hanging it.
class EventStream {
  public:
    EventStream(unsigned short port, const std::string& lastEventId = "");
    ~EventStream();

    [[nodiscard]] unsigned Status() const { return m_status; }
    // The next event, heartbeats skipped; an empty type when none came in time.
    [[nodiscard]] ServerEvent Next();

  private:
    struct Connection;
    std::unique_ptr<Connection> m_connection;
    std::string m_pending;
    unsigned m_status = 0;
};
