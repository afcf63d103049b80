#include "cli/output.h"

#include <unistd.h>

#include <cstdlib>

namespace {

// A module's name may hold any bytes; JSON output must stay valid whatever it holds.
std::string JsonLine(const JsonObject& event) {
    return event.dump(-1, ' ', false, JsonObject::error_handler_t::replace);
}

}  // namespace

void Output::Result(const JsonObject& event, const std::string& text) {
    if (m_json) {
        WriteLine(m_out, JsonLine(event));
    } else {
        WriteLine(m_out, text);
    }
}

void Output::Failure(const JsonObject& event, const std::string& text) {
    if (m_json) {
        WriteLine(m_out, JsonLine(event));
    }
    WriteLine(m_err, "lvcfg-cli: " + text);
}

void Output::Failed(const std::string& reason, const std::string& message) {
    Failure({{"event", "failed"}, {"reason", reason}, {"message", message}}, message);
}

void Output::Text(const std::string& text) {
    if (!m_json) {
        WriteLine(m_out, text);
    }
}

void Output::Note(const std::string& text) {
    WriteLine(m_err, text);
}

void Output::WriteLine(std::FILE* stream, const std::string& line) {
    const std::lock_guard lock(m_mutex);
    bool& closed = stream == m_out ? m_outClosed : m_errClosed;
    if (closed) {
        return;
    }
    std::fwrite(line.data(), 1, line.size(), stream);
    std::fputc('\n', stream);
    closed = std::fflush(stream) != 0 || std::ferror(stream) != 0;
}

bool TerminalStyleAllowed(bool json) {
    const char* noColor = std::getenv("NO_COLOR");
    const bool colourRefused = noColor != nullptr && noColor[0] != '\0';
    return !json && !colourRefused && isatty(STDOUT_FILENO) == 1;
}
