#include "tools/module_sim/simulated_module.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "link/module_protocol.h"

namespace {

using Clock = std::chrono::steady_clock;

// 10 bits per byte at 115200 bit/s.
constexpr std::chrono::nanoseconds kByteTime{86'806};
// Paced answers go out in chunks this size, each when its first byte is due.
constexpr std::size_t kPacedChunk = 8;

// Whether `inbox` begins with `request` or with the start of it.
bool StartsLike(const std::vector<std::uint8_t>& inbox, std::span<const std::uint8_t> request) {
    const std::size_t n = std::min(inbox.size(), request.size());
    return std::equal(inbox.begin(), inbox.begin() + static_cast<std::ptrdiff_t>(n),
                      request.begin());
}

void WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + sent, bytes.size() - sent);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
        } else if (n < 0 && errno != EINTR) {
            return;  // nobody to hear it
        }
    }
}

}  // namespace

SimulatedModule::SimulatedModule(SimulatedModuleOptions options)
    : m_options(options), m_stored(MakeModuleFrame(options.identity)) {}

SimulatedModule::~SimulatedModule() {
    Stop();
}

bool SimulatedModule::Start() {
    if (m_thread.joinable()) {
        return true;
    }
    termios raw{};
    cfmakeraw(&raw);
    cfsetspeed(&raw, B115200);
    int master = -1;
    int slave = -1;
    std::array<char, 128> name{};
    if (::openpty(&master, &slave, name.data(), &raw, nullptr) != 0) {
        return false;
    }
    m_master.Reset(master);
    m_slaveHold.Reset(slave);
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave, F_SETFD, FD_CLOEXEC);
    std::array<int, 2> wake{};
    if (::pipe2(wake.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
        Stop();
        return false;
    }
    m_wakeRead.Reset(wake[0]);
    m_wakeWrite.Reset(wake[1]);
    m_portPath = name.data();
    m_thread = std::thread([this] { Run(); });
    return true;
}

void SimulatedModule::Stop() {
    if (m_thread.joinable()) {
        const std::uint8_t stop = 1;
        static_cast<void>(::write(m_wakeWrite.Get(), &stop, 1));
        m_thread.join();
    }
    m_master.Reset();
    m_slaveHold.Reset();
    m_wakeRead.Reset();
    m_wakeWrite.Reset();
}

void SimulatedModule::Run() {
    std::vector<std::uint8_t> inbox;
    while (m_master.IsValid()) {
        std::array<pollfd, 2> waiters{{{m_master.Get(), POLLIN, 0}, {m_wakeRead.Get(), POLLIN, 0}}};
        const int timeout = inbox.empty() ? -1 : static_cast<int>(kIncompleteRequestLimit.count());
        const int ready = ::poll(waiters.data(), waiters.size(), timeout);
        if (ready < 0 && errno != EINTR) {
            return;
        }
        if (waiters[1].revents != 0) {
            return;
        }
        if (ready == 0) {
            inbox.clear();  // an incomplete request that never finished
            continue;
        }
        if ((waiters[0].revents & POLLIN) != 0) {
            TakeInput(inbox);
        } else if (waiters[0].revents != 0) {
            ::usleep(5000);  // a hangup without a reader; wait for the next session
        }
    }
}

void SimulatedModule::TakeInput(std::vector<std::uint8_t>& inbox) {
    std::array<std::uint8_t, 1024> chunk{};
    const ssize_t n = ::read(m_master.Get(), chunk.data(), chunk.size());
    if (n <= 0) {
        return;
    }
    inbox.insert(inbox.end(), chunk.begin(), chunk.begin() + n);
    while (!inbox.empty() && m_master.IsValid()) {
        if (StartsLike(inbox, kReadRequest)) {
            if (inbox.size() < kReadRequest.size()) {
                return;
            }
            inbox.erase(inbox.begin(), inbox.begin() + kReadRequest.size());
            AnswerRead();
        } else if (StartsLike(inbox, kWriteCommand)) {
            if (inbox.size() < kFrameSize) {
                return;
            }
            const std::vector<std::uint8_t> request(inbox.begin(), inbox.begin() + kFrameSize);
            inbox.erase(inbox.begin(), inbox.begin() + kFrameSize);
            AnswerWrite(request);
        } else {
            inbox.erase(inbox.begin());  // starts no request
        }
    }
}

void SimulatedModule::AnswerRead() {
    Misbehaviour misbehaviour = TakeMisbehaviour(RequestKind::Read);
    if (WriteOnly(misbehaviour)) {
        misbehaviour = Misbehaviour::None;
    }
    ConfigFrame stored{};
    {
        std::lock_guard lock(m_mutex);
        ++m_readRequests;
        stored = m_stored;
    }
    Deliver(ShapeFrameAnswer(stored, misbehaviour), misbehaviour);
}

void SimulatedModule::AnswerWrite(std::span<const std::uint8_t> request) {
    const Misbehaviour misbehaviour = TakeMisbehaviour(RequestKind::Write);
    ConfigFrame frame{};
    std::copy(request.begin(), request.end(), frame.begin());
    const bool accepted = CheckFrameContent(frame) == FrameCheck::Accepted;
    const bool refused = misbehaviour == Misbehaviour::RefuseWrite;
    {
        std::lock_guard lock(m_mutex);
        ++m_writeRequests;
        m_lastWritten = frame;
        // The module takes a good block whatever becomes of its answer, unless it is gone or
        // refuses it.
        if (accepted && misbehaviour == Misbehaviour::StoreOther) {
            m_stored = StoredInsteadOf(frame);
        } else if (accepted && !refused && misbehaviour != Misbehaviour::VanishMidAnswer) {
            m_stored = frame;
        }
    }
    const bool ater = !accepted || refused || misbehaviour == Misbehaviour::StoreAter;
    Deliver(ShapeAckAnswer(ater ? kAckRejected : kAcknowledgement, misbehaviour), misbehaviour);
}

Misbehaviour SimulatedModule::TakeMisbehaviour(RequestKind kind) {
    std::lock_guard lock(m_mutex);
    auto& next = kind == RequestKind::Read ? m_nextRead : m_nextWrite;
    for (auto* slot : {&next, &m_nextAny}) {
        if (slot->has_value()) {
            const Misbehaviour misbehaviour = **slot;
            slot->reset();
            return misbehaviour;
        }
    }
    return m_always;
}

void SimulatedModule::Deliver(std::span<const std::uint8_t> answer, Misbehaviour misbehaviour) {
    const auto half = answer.first(answer.size() / 2);
    const auto rest = answer.subspan(answer.size() / 2);
    switch (misbehaviour) {
        case Misbehaviour::Silent:
        case Misbehaviour::StoreNoAck:
            break;
        case Misbehaviour::StoreLateAck:
            std::this_thread::sleep_for(m_options.ackDelay);
            Send(answer);
            break;
        case Misbehaviour::StoreHangUp:
            Vanish();
            break;
        case Misbehaviour::PauseMidAnswer:
            Send(half);
            std::this_thread::sleep_for(m_options.pause);
            Send(rest);
            break;
        case Misbehaviour::VanishMidAnswer:
            Send(half);
            Vanish();
            break;
        default:
            Send(answer);
            break;
    }
    CountAnswer();
}

void SimulatedModule::Send(std::span<const std::uint8_t> bytes) {
    if (m_options.pacing == Pacing::AtOnce) {
        WriteAll(m_master.Get(), bytes);
        return;
    }
    const auto start = Clock::now();
    for (std::size_t sent = 0; sent < bytes.size(); sent += kPacedChunk) {
        std::this_thread::sleep_until(start + kByteTime * static_cast<std::int64_t>(sent));
        WriteAll(m_master.Get(), bytes.subspan(sent, std::min(kPacedChunk, bytes.size() - sent)));
    }
    // The last chunk is on the wire only when its bytes have had their time.
    std::this_thread::sleep_until(start + kByteTime * static_cast<std::int64_t>(bytes.size()));
}

// Closing the master hangs up the slave side: a session reading it gets a hangup or EIO, as
// when a USB adapter is pulled, and the path disappears.
void SimulatedModule::Vanish() {
    {
        std::lock_guard lock(m_mutex);
        m_vanished = true;  // before the hangup, so whoever sees the hangup sees the flag
    }
    m_master.Reset();
    m_slaveHold.Reset();
}

void SimulatedModule::CountAnswer() {
    {
        std::lock_guard lock(m_mutex);
        ++m_answers;
    }
    m_answered.notify_all();
}

void SimulatedModule::MisbehaveAlways(Misbehaviour misbehaviour) {
    std::lock_guard lock(m_mutex);
    m_always = misbehaviour;
}

void SimulatedModule::MisbehaveOnce(Misbehaviour misbehaviour) {
    std::lock_guard lock(m_mutex);
    m_nextAny = misbehaviour;
}

void SimulatedModule::MisbehaveOnce(RequestKind kind, Misbehaviour misbehaviour) {
    std::lock_guard lock(m_mutex);
    (kind == RequestKind::Read ? m_nextRead : m_nextWrite) = misbehaviour;
}

ConfigFrame SimulatedModule::StoredFrame() const {
    std::lock_guard lock(m_mutex);
    return m_stored;
}

void SimulatedModule::SetStoredFrame(const ConfigFrame& frame) {
    std::lock_guard lock(m_mutex);
    m_stored = frame;
}

std::optional<ConfigFrame> SimulatedModule::LastWrittenFrame() const {
    std::lock_guard lock(m_mutex);
    return m_lastWritten;
}

int SimulatedModule::ReadRequests() const {
    std::lock_guard lock(m_mutex);
    return m_readRequests;
}

int SimulatedModule::WriteRequests() const {
    std::lock_guard lock(m_mutex);
    return m_writeRequests;
}

bool SimulatedModule::WaitForAnswers(int count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_mutex);
    return m_answered.wait_for(lock, timeout, [&] { return m_answers >= count; });
}

bool SimulatedModule::Vanished() const {
    std::lock_guard lock(m_mutex);
    return m_vanished;
}
