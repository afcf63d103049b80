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

JsonObject PortJson(const SerialPortInfo& port) {
    JsonObject event{{"event", "port"}, {"device", port.device}};
    event["com"] = OrNull(port.comName);
    event["by_id"] = OrNull(port.byId);
    event["by_path"] = OrNull(port.byPath);
    event["driver"] = OrNull(port.driver);
    event["usb"] = OrNull(port.usbVendorProduct);
    event["serial"] = OrNull(port.serialNumber);
    event["latency_timer_ms"] =
        port.latencyTimerMs ? JsonObject(*port.latencyTimerMs) : JsonObject();
    event["access"] = PortAccessName(port.access);
    return event;
}

std::string PortText(const SerialPortInfo& port) {
    std::string text = port.device;
    const auto add = [&text](const char* label, const std::string& value) {
        if (!value.empty()) {
            text += std::string("  ") + label + value;
        }
    };
    add("", port.comName);
    add("driver ", port.driver);
    add("usb ", port.usbVendorProduct);
    add("serial ", port.serialNumber);
    if (port.latencyTimerMs) {
        text += "  latency " + std::to_string(*port.latencyTimerMs) + " ms";
    }
    text += std::string("  ") + PortAccessName(port.access);
    add("\n    by-id ", port.byId);
    add("\n    by-path ", port.byPath);
    return text;
}

ExitCode Watch(const PortsOptions& options, Output& out) {
    AnnouncedPorts announced;
    std::string failure;
    std::unique_ptr<ArrivalFeed> feed = options.arrivalsFrom.empty()
                                            ? OpenUdevFeed(announced, failure)
                                            : OpenScriptedFeed(options.arrivalsFrom, failure);
    if (!feed) {
        out.Failure({{"event", "failed"}, {"reason", "no_watch"}, {"message", failure}}, failure);
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
    for (const SerialPortInfo& port : ListSerialPorts()) {
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
