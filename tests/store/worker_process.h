#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

extern char** environ;

// The allocation worker as a child process, its standard output read through a pipe. Waits
// for the child when it goes, so no test leaves one behind.
class WorkerProcess {
  public:
    explicit WorkerProcess(const std::vector<std::string>& args) {
        int pipeFds[2];
        if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(LVCFG_ALLOCATION_WORKER_PATH));
        for (const std::string& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            m_pid = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipeFds[1]);
        m_out = pipeFds[0];
    }
    ~WorkerProcess() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            (void)Wait();
        }
        if (m_out >= 0) {
            ::close(m_out);
        }
    }
    WorkerProcess(const WorkerProcess&) = delete;
    WorkerProcess& operator=(const WorkerProcess&) = delete;

    [[nodiscard]] bool Started() const { return m_pid > 0; }

    // The next line of output without its line end; empty at the end of the output.
    std::string ReadLine() {
        std::string line;
        char c = 0;
        while (::read(m_out, &c, 1) == 1 && c != '\n') {
            line += c;
        }
        return line;
    }

    // Every line until the child closes its output.
    std::vector<std::string> ReadLines() {
        std::vector<std::string> lines;
        for (std::string line = ReadLine(); !line.empty(); line = ReadLine()) {
            lines.push_back(line);
        }
        return lines;
    }

    void Kill() const { ::kill(m_pid, SIGKILL); }

    // The exit status, or -1 when the child did not exit normally.
    int Wait() {
        int status = 0;
        const pid_t pid = m_pid;
        m_pid = -1;
        if (pid <= 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
            return -1;
        }
        return WEXITSTATUS(status);
    }

  private:
    pid_t m_pid = -1;
    int m_out = -1;
};
