// lvcfg-cli ports: the serial ports of this machine, and with --watch their comings and goings.
#include <memory>

#include "cli/arrival_feed.h"
#include "cli/command.h"
#include "cli/watch_loop.h"
#include "link/announced_ports.h"
#include "link/port_inventory.h"

namespace {

struct PortsOptions {
    bool watch = false;
    std::string arrivalsFrom;
};

JsonObject OrNull(const std::string& text) {
    return text.empty() ? JsonObject() : JsonObject(text);
}

// Whether the port can be had now, in a word for scripts.
const char* AccessWord(OpenOutcome access) {
    switch (access) {
        case OpenOutcome::Opened:
            return "free";
        case OpenOutcome::Busy:
            return "in_use";
        case OpenOutcome::PermissionDenied:
            return "permission_denied";
        case OpenOutcome::Missing:
            return "missing";
        case OpenOutcome::NotATerminal:
            return "not_a_serial_port";
        case OpenOutcome::SettingsRejected:
            return "settings_rejected";
        case OpenOutcome::Unopenable:
            break;
    }
    return "unopenable";
}

std::string ComName(const PortDescription& port) {
    return port.comNumber && port.comNameReachesPort ? "COM" + std::to_string(*port.comNumber)
                                                     : std::string();
}

std::string UsbIds(const PortDescription& port) {
    return port.usbVendorId.empty() ? std::string() : port.usbVendorId + ":" + port.usbProductId;
}

JsonObject PortJson(const PortDescription& port) {
    JsonObject event{{"event", "port"}, {"device", port.devicePath}};
    event["com"] = OrNull(ComName(port));
    event["by_id"] = port.byIdPaths;
    event["by_path"] = port.byPathPaths;
    event["driver"] = OrNull(port.driver);
    event["usb"] = OrNull(UsbIds(port));
    event["serial"] = OrNull(port.usbSerial);
    event["latency_timer_ms"] =
        port.latencyTimerMs ? JsonObject(*port.latencyTimerMs) : JsonObject();
    event["access"] = AccessWord(port.access);
    return event;
}

std::string PortText(const PortDescription& port) {
    std::string text = port.devicePath;
    const auto add = [&text](const char* label, const std::string& value) {
        if (!value.empty()) {
            text += std::string("  ") + label + value;
        }
    };
    add("", ComName(port));
    add("driver ", port.driver);
    add("usb ", UsbIds(port));
    add("serial ", port.usbSerial);
    if (port.latencyTimerMs) {
        text += "  latency timer " + std::to_string(*port.latencyTimerMs) + " ms";
    }
    add("", AccessWord(port.access));
    for (const std::string& link : port.byIdPaths) {
        text += "\n    " + link;
    }
    for (const std::string& link : port.byPathPaths) {
        text += "\n    " + link;
    }
    return text;
}

ExitCode Watch(const PortsOptions& options, Output& out) {
    AnnouncedPorts announced;
    std::string failure;
    std::unique_ptr<ArrivalFeed> feed = OpenArrivalFeed(options.arrivalsFrom, announced, failure);
    if (!feed) {
        out.Failed("no_watch", failure);
        return ExitCode::PortUnavailable;
    }
    const WatchEnd end = WatchPortChanges(
        *feed,
        [&out](const PortChange& change) {
            out.Result({{"event", "port"}, {"action", change.action}, {"device", change.device}},
                       change.device + (change.action == "add" ? ": plugged in" : ": pulled out"));
        },
        [] {}, std::chrono::milliseconds(1000));
    return end == WatchEnd::Failed ? ExitCode::PortUnavailable : ExitCode::Success;
}

ExitCode RunPorts(const PortsOptions& options, Output& out) {
    for (const PortDescription& port : PortInventory().List()) {
        out.Result(PortJson(port), PortText(port));
    }
    return options.watch ? Watch(options, out) : ExitCode::Success;
}

}  // namespace

void AddPortsCommand(CLI::App& app, CommandRun& run) {
    auto options = std::make_shared<PortsOptions>();
    CLI::App* command = app.add_subcommand(
        "ports", "the serial ports: names, driver, USB ids and whether they open now");
    CLI::Option* watch = command->add_flag(
        "--watch", options->watch, "then report ports plugged in and pulled out until interrupted");
    // For tests: "add PATH"/"remove PATH" lines from a file or FIFO instead of udev.
    command->add_option("--arrivals-from", options->arrivalsFrom)->group("")->needs(watch);
    RunWhenParsed(*command, run, options, &RunPorts);
}
