#include "child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdlib>

namespace {

// A null-terminated vector of the texts, for exec.
std::vector<char*> ArgumentVector(std::vector<std::string>& texts) {
    std::vector<char*> vector;
    for (std::string& text : texts) {
        vector.push_back(text.data());
    }
    vector.push_back(nullptr);
    return vector;
}

std::vector<char*> ArgumentVector(const std::string& program, std::vector<std::string>& args) {
    args.insert(args.begin(), program);
    return ArgumentVector(args);
}

// Our environment with `changes` made, as "NAME=value" texts (built before forking: a child
// of a process with threads may only make async-signal-safe calls).
std::vector<std::string> ChildEnvironment(const std::map<std::string, std::string>& changes) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text(*entry);
        if (changes.count(text.substr(0, text.find('='))) == 0) {
            entries.push_back(text);
        }
    }
    for (const auto& [name, value] : changes) {
        if (!value.empty()) {
            entries.push_back(name + "=" + value);
        }
    }
    return entries;
}

// In the child: the streams in place, then the program. Never returns.
[[noreturn]] void ExecChild(const char* program, char** argv, char** envp, int outFd, int errFd) {
    const int devNull = ::open("/dev/null", O_RDONLY);
    ::dup2(devNull, STDIN_FILENO);
    ::dup2(outFd, STDOUT_FILENO);
    ::dup2(errFd, STDERR_FILENO);
    ::execve(program, argv, envp);
    ::_exit(127);
}

void Drain(std::array<UniqueFd, 2>& ends, ProgramRun& run) {
    std::array<std::string*, 2> into{&run.out, &run.err};
    for (;;) {
        std::array<pollfd, 2> fds{pollfd{ends[0].Get(), POLLIN, 0},
                                  pollfd{ends[1].Get(), POLLIN, 0}};
        if (!ends[0].IsValid() && !ends[1].IsValid()) {
            return;
        }
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            return;
        }
        for (std::size_t i = 0; i < 2; ++i) {
            if (fds[i].revents == 0) {
                continue;
            }
            char buffer[4096];
            const ssize_t count = ::read(ends[i].Get(), buffer, sizeof buffer);
            if (count <= 0) {
                ends[i].Reset();
            } else {
                into[i]->append(buffer, static_cast<std::size_t>(count));
            }
        }
    }
}

}  // namespace

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::map<std::string, std::string>& environment) {
    std::vector<std::string> argTexts = args;
    std::vector<char*> argv = ArgumentVector(program, argTexts);
    std::vector<std::string> envTexts = ChildEnvironment(environment);
    std::vector<char*> envp = ArgumentVector(envTexts);
    int outPipe[2];
    int errPipe[2];
    ProgramRun run;
    if (::pipe2(outPipe, O_CLOEXEC) != 0 || ::pipe2(errPipe, O_CLOEXEC) != 0) {
        return run;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ExecChild(program.c_str(), argv.data(), envp.data(), outPipe[1], errPipe[1]);
    }
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    std::array<UniqueFd, 2> ends{UniqueFd(outPipe[0]), UniqueFd(errPipe[0])};
    Drain(ends, run);
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

ProgramRun RunProgramOnTerminal(const std::string& program, const std::vector<std::string>& args,
                                const std::map<std::string, std::string>& environment) {
    std::vector<std::string> argTexts = args;
    std::vector<char*> argv = ArgumentVector(program, argTexts);
    std::vector<std::string> envTexts = ChildEnvironment(environment);
    std::vector<char*> envp = ArgumentVector(envTexts);
    ProgramRun run;
    int master = -1;
    int slave = -1;
    if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        return run;
    }
    UniqueFd masterEnd(master);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(master);
        ExecChild(program.c_str(), argv.data(), envp.data(), slave, slave);
    }
    ::close(slave);
    char buffer[4096];
    ssize_t count = 0;
    // Reading the master ends with EIO once the child and its descendants have closed the slave.
    while ((count = ::read(masterEnd.Get(), buffer, sizeof buffer)) > 0) {
        run.out.append(buffer, static_cast<std::size_t>(count));
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

RunningProgram::RunningProgram(const std::string& program, const std::vector<std::string>& args) {
    std::vector<std::string> argTexts = args;
    std::vector<char*> argv = ArgumentVector(program, argTexts);
    int outPipe[2];
    if (::pipe2(outPipe, O_CLOEXEC) != 0) {
        return;
    }
    m_pid = ::fork();
    if (m_pid == 0) {
        ExecChild(program.c_str(), argv.data(), environ, outPipe[1], STDERR_FILENO);
    }
    ::close(outPipe[1]);
    m_out.Reset(outPipe[0]);
}

RunningProgram::~RunningProgram() {
    if (m_pid > 0) {
        (void)Stop(SIGTERM);
    }
}

int RunningProgram::Stop(int signal) {
    ::kill(m_pid, signal);
    int status = 0;
    ::waitpid(m_pid, &status, 0);
    m_pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

std::string RunningProgram::ReadLine() {
    std::string line;
    char c = 0;
    while (::read(m_out.Get(), &c, 1) == 1 && c != '\n') {
        line += c;
    }
    return line;
}
