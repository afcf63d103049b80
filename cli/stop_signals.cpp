#include "cli/stop_signals.h"

#include <sys/signalfd.h>
#include <unistd.h>

StopSignals::StopSignals() {
    sigemptyset(&m_signals);
    sigaddset(&m_signals, SIGINT);
    sigaddset(&m_signals, SIGTERM);
    sigaddset(&m_signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &m_signals, &m_previous);
    m_fd.Reset(signalfd(-1, &m_signals, SFD_CLOEXEC | SFD_NONBLOCK));
}

StopSignals::~StopSignals() {
    (void)Take();
    pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
}

bool StopSignals::Take() {
    bool taken = false;
    signalfd_siginfo info{};
    while (m_fd.IsValid() && ::read(m_fd.Get(), &info, sizeof info) == sizeof info) {
        taken = true;
    }
    return taken;
}
