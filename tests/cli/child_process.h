#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

#include "link/unique_fd.h"

// What a finished run of a program gave.
struct ProgramRun {
    int exitStatus = -1;  // -1 when it did not exit normally
    std::string out;
    std::string err;
};

// Runs `program` with `args` to its end, with `environment` added to ours (an empty value
// removes the variable), and collects both output streams. Standard input is /dev/null.
[[nodiscard]] ProgramRun RunProgram(const std::string& program,
                                    const std::vector<std::string>& args,
                                    const std::map<std::string, std::string>& environment = {});

// The same with standard output and standard error on a pseudo-terminal, as in a terminal
// window; both streams come back in `out`.
[[nodiscard]] ProgramRun RunProgramOnTerminal(
    const std::string& program, const std::vector<std::string>& args,
    const std::map<std::string, std::string>& environment = {});

// A program running beside the test with its standard output on a pipe; it is stopped with
// SIGTERM and reaped when this goes.
class RunningProgram {
  public:
    RunningProgram(const std::string& program, const std::vector<std::string>& args);
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // The next line of its standard output, without the newline; empty at its end.
    [[nodiscard]] std::string ReadLine();
    [[nodiscard]] bool Started() const { return m_pid > 0; }
    [[nodiscard]] pid_t Pid() const { return m_pid; }
    // Sends `signal` and waits for the program to end; its exit status, or minus the number of
    // the signal that ended it.
    int Stop(int signal);

  private:
    pid_t m_pid = -1;
    UniqueFd m_out;
};
