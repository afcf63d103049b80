#include "store/holder_process.h"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <cerrno>

HolderProcess CurrentHolderProcess() {
    std::array<char, 256> name{};
    HolderProcess holder;
    if (::gethostname(name.data(), name.size() - 1) == 0) {
        holder.host = name.data();
    }
    holder.pid = ::getpid();
    return holder;
}

bool HolderIsRunning(const HolderProcess& holder) {
    if (holder.pid <= 0 || holder.host != CurrentHolderProcess().host) {
        return false;
    }
    // Signal 0 only asks whether the process exists; EPERM means it does, under another user.
    return ::kill(static_cast<pid_t>(holder.pid), 0) == 0 || errno == EPERM;
}
