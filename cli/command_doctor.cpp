// lvcfg-cli doctor: checks this machine for what gets in the way of programming modules.
#include "cli/command.h"
#include "cli/doctor_checks.h"
#include "link/port_inventory.h"

namespace {

// Above this a module's answers arrive in slow bursts (the FTDI default is 16 ms).
constexpr int kGoodLatencyTimerMs = 1;

struct DoctorOptions {};

std::vector<DoctorCheck> LatencyChecks() {
    std::vector<DoctorCheck> checks;
    for (const PortDescription& port : PortInventory().List()) {
        if (!port.latencyTimerMs) {
            continue;  // not an FTDI adapter
        }
        DoctorCheck check{
            "latency_timer",
            *port.latencyTimerMs <= kGoodLatencyTimerMs,
            port.devicePath + ": latency timer " + std::to_string(*port.latencyTimerMs) + " ms",
            {}};
        if (!check.ok) {
            check.advice =
                "lvcfg asks for low latency while a port is open; the lvcfg udev rule sets "
                "1 ms for good, or now: echo 1 | sudo tee /sys/bus/usb-serial/devices/" +
                port.kernelName + "/latency_timer";
        }
        checks.push_back(std::move(check));
    }
    return checks;
}

ExitCode RunDoctor(const DoctorOptions& /*options*/, Output& out) {
    const DoctorPlaces places;
    std::vector<DoctorCheck> checks{CheckSerialAccess(), CheckModemManager(places),
                                    CheckBrltty(places), CheckUdev(places)};
    for (DoctorCheck& check : LatencyChecks()) {
        checks.push_back(std::move(check));
    }
    for (const DoctorCheck& check : checks) {
        JsonObject event{
            {"event", "check"}, {"check", check.name}, {"ok", check.ok}, {"detail", check.detail}};
        std::string text = std::string(check.ok ? "ok    " : "ADVICE") + "  " + check.detail;
        if (!check.ok) {
            event["advice"] = check.advice;
            text += "\n        " + check.advice;
        }
        out.Result(event, text);
    }
    return ExitCode::Success;
}

}  // namespace

void AddDoctorCommand(CLI::App& app, CommandRun& run) {
    auto options = std::make_shared<DoctorOptions>();
    CLI::App* command = app.add_subcommand(
        "doctor", "check this machine: serial access, ModemManager, brltty, udev, latency timers");
    RunWhenParsed(*command, run, options, &RunDoctor);
}
