#include "cli/arrival_feed.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>

#include "link/announced_ports.h"
#include "link/arrival/arrival_watcher.h"
#include "link/arrival/udev_device_source.h"
#include "link/unique_fd.h"

namespace {

class UdevFeed : public ArrivalFeed {
  public:
    UdevFeed(std::unique_ptr<UdevDeviceSource> source, AnnouncedPorts& announced)
        : m_watcher(std::move(source), announced) {}

    [[nodiscard]] int Descriptor() const override { return m_watcher.Descriptor(); }

    [[nodiscard]] bool Take(std::vector<PortChange>& changes) override {
        const std::optional<DeviceEvent> event = m_watcher.OnReadable();
        if (event) {
            const bool arrival = event->kind == DeviceEventKind::Arrival;
            std::string device = event->devicePath;
            if (device.empty()) {
                device = "COM" + std::to_string(event->portNumber);
            }
            changes.push_back({arrival ? "add" : "remove", std::move(device)});
        }
        return true;
    }

  private:
    ArrivalWatcher m_watcher;
};

class ScriptedFeed : public ArrivalFeed {
  public:
    explicit ScriptedFeed(UniqueFd fd) : m_fd(std::move(fd)) {}

    [[nodiscard]] int Descriptor() const override { return m_fd.Get(); }

    [[nodiscard]] bool Take(std::vector<PortChange>& changes) override {
        char buffer[4096];
        const ssize_t count = ::read(m_fd.Get(), buffer, sizeof buffer);
        if (count < 0 && (errno == EINTR || errno == EAGAIN)) {
            return true;
        }
        if (count <= 0) {
            m_pending += '\n';  // a last line without its newline still counts
            TakeLines(changes);
            return false;
        }
        m_pending.append(buffer, static_cast<std::size_t>(count));
        TakeLines(changes);
        return true;
    }

  private:
    void TakeLines(std::vector<PortChange>& changes) {
        std::size_t end = 0;
        while ((end = m_pending.find('\n')) != std::string::npos) {
            const std::string_view line(m_pending.data(), end);
            for (const std::string_view action : {"add", "remove"}) {
                if (line.size() > action.size() + 1 && line.substr(0, action.size()) == action &&
                    line[action.size()] == ' ') {
                    changes.push_back(
                        {std::string(action), std::string(line.substr(action.size() + 1))});
                }
            }
            m_pending.erase(0, end + 1);
        }
    }

    UniqueFd m_fd;
    std::string m_pending;
};

}  // namespace

std::unique_ptr<ArrivalFeed> OpenUdevFeed(AnnouncedPorts& announced, std::string& failure) {
    UdevDeviceSource::Setup setup = UdevDeviceSource::Create();
    if (setup.outcome != UdevSetupOutcome::Ready) {
        failure =
            std::string("cannot watch for ports: ") +
            (setup.outcome == UdevSetupOutcome::NoDaemon ? "no udev daemon runs on this machine"
                                                         : "the udev monitor could not be set up");
        return nullptr;
    }
    return std::make_unique<UdevFeed>(std::move(setup.source), announced);
}

std::unique_ptr<ArrivalFeed> OpenScriptedFeed(const std::string& path, std::string& failure) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.IsValid()) {
        failure = path + ": " + std::strerror(errno);
        return nullptr;
    }
    return std::make_unique<ScriptedFeed>(std::move(fd));
}

std::unique_ptr<ArrivalFeed> OpenArrivalFeed(const std::string& scriptPath,
                                             AnnouncedPorts& announced, std::string& failure) {
    return scriptPath.empty() ? OpenUdevFeed(announced, failure)
                              : OpenScriptedFeed(scriptPath, failure);
}
