#pragma once

#include <cstdio>
#include <mutex>
#include <string>

#include <nlohmann/json.hpp>

// One JSON line of `--json` output; keys stay in the order they were set.
using JsonObject = nlohmann::ordered_json;

// Where a command's results go: human text or one JSON object per line on standard output,
// and messages for people on standard error. Every call writes whole lines under one lock, so
// programming threads may report at the same time. An output that was closed (a pipe whose
// reader went) is written no more, quietly: the run goes on and keeps its records.
class Output {
  public:
    Output(bool json, std::FILE* out, std::FILE* err) : m_json(json), m_out(out), m_err(err) {}

    [[nodiscard]] bool Json() const { return m_json; }

    // A result: `event` as a JSON line with --json, `text` as a line otherwise.
    void Result(const JsonObject& event, const std::string& text);
    // A failure: `event` as a JSON line with --json; `text` always goes to standard error.
    void Failure(const JsonObject& event, const std::string& text);
    // A failure of the command as a whole: {"event":"failed","reason":R,"message":M} with
    // --json, `message` on standard error always.
    void Failed(const std::string& reason, const std::string& message);
    // A line of text on standard output, in text mode only.
    void Text(const std::string& text);
    // A line on standard error as it stands (a range warning keeps its exact text).
    void Note(const std::string& text);

  private:
    void WriteLine(std::FILE* stream, const std::string& line);

    bool m_json;
    bool m_outClosed = false;
    bool m_errClosed = false;
    std::FILE* m_out;
    std::FILE* m_err;
    std::mutex m_mutex;
};

// Whether standard output may carry live lines and colour: a terminal, no --json, and no
// NO_COLOR in the environment (any non-empty value).
[[nodiscard]] bool TerminalStyleAllowed(bool json);
