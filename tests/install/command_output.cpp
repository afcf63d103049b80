#include "tests/install/command_output.h"

#include <stdio.h>
#include <sys/wait.h>

#include <array>
#include <memory>

namespace {

struct PipeCloser {
    int* status;
    void operator()(FILE* pipe) const { *status = ::pclose(pipe); }
};

}  // namespace

CommandOutput runCommand(const std::string& command) {
    CommandOutput output;
    int status = -1;
    {
        std::unique_ptr<FILE, PipeCloser> pipe(::popen(("{ " + command + "\n} 2>&1").c_str(), "r"),
                                               PipeCloser{&status});
        if (!pipe) {
            return output;
        }
        std::array<char, 4096> buffer{};
        std::size_t count = 0;
        while ((count = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0) {
            output.text.append(buffer.data(), count);
        }
    }
    if (status != -1 && WIFEXITED(status)) {
        output.exitStatus = WEXITSTATUS(status);
    }
    return output;
}

std::string shellWord(const std::string& text) {
    std::string word = "'";
    for (char c : text) {
        if (c == '\'') {
            word += "'\\''";
        } else {
            word += c;
        }
    }
    return word + "'";
}
