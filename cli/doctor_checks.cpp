#include "cli/doctor_checks.h"

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "link/arrival/udev_device_source.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kSerialGroup = "dialout";

bool InGroup(gid_t group) {
    if (getegid() == group) {
        return true;
    }
    const int count = getgroups(0, nullptr);
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(count, 0)));
    const int got = getgroups(count, groups.data());
    return got > 0 && std::find(groups.begin(), groups.begin() + got, group) != groups.end();
}

}  // namespace

DoctorCheck CheckSerialAccess() {
    DoctorCheck check{"serial_access", true, {}, {}};
    if (geteuid() == 0) {
        check.detail = "running as root";
        return check;
    }
    const group* serialGroup = getgrnam(kSerialGroup);
    if (serialGroup == nullptr) {
        check.detail = "this system has no dialout group";
        return check;
    }
    if (InGroup(serialGroup->gr_gid)) {
        check.detail = "you are in the dialout group";
        return check;
    }
    check.ok = false;
    check.detail = "you are not in the dialout group, which owns the serial ports";
    check.advice = "sudo usermod -aG dialout $USER, then log out and in again";
    return check;
}

bool ProcessRuns(const std::string& procDir, const std::string& name) {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(procDir, error)) {
        const std::string pid = entry.path().filename().string();
        if (pid.empty() || !std::all_of(pid.begin(), pid.end(), ::isdigit)) {
            continue;
        }
        std::ifstream comm(entry.path() / "comm");
        std::string command;
        if (std::getline(comm, command) && command == name) {
            return true;
        }
    }
    return false;
}

std::string FindOurUdevRule(const std::vector<std::string>& dirs) {
    for (const std::string& dir : dirs) {
        std::error_code error;
        for (const fs::directory_entry& entry : fs::directory_iterator(dir, error)) {
            const std::string name = entry.path().filename().string();
            if (name.find("lvcfg") != std::string::npos && entry.path().extension() == ".rules") {
                return entry.path().string();
            }
        }
    }
    return "";
}

DoctorCheck CheckModemManager(const DoctorPlaces& places) {
    DoctorCheck check{"modemmanager", true, {}, {}};
    const std::string rule = FindOurUdevRule(places.udevRulesDirs);
    if (!ProcessRuns(places.procDir, "ModemManager")) {
        check.detail = "ModemManager is not running";
    } else if (!rule.empty()) {
        check.detail = "ModemManager runs; our udev rule keeps it away: " + rule;
    } else {
        check.ok = false;
        check.detail = "ModemManager runs and may probe a module's port as it is plugged in";
        check.advice =
            "install the lvcfg udev rule (it sets ID_MM_DEVICE_IGNORE), or "
            "sudo systemctl disable --now ModemManager";
    }
    return check;
}

DoctorCheck CheckBrltty(const DoctorPlaces& places) {
    DoctorCheck check{"brltty", true, "brltty is not installed", {}};
    for (const std::string& program : places.brlttyPrograms) {
        std::error_code error;
        if (fs::exists(program, error)) {
            check.ok = false;
            check.detail =
                "brltty is installed (" + program + ") and claims common USB-serial adapters";
            check.advice = "sudo apt remove brltty, unless a braille display is used here";
            break;
        }
    }
    return check;
}

DoctorCheck CheckUdev(const DoctorPlaces& places) {
    const UdevDeviceSource::Setup setup = UdevDeviceSource::Create(places.udevRunDir);
    if (setup.outcome == UdevSetupOutcome::Ready) {
        return {"udev", true, "udev runs: modules plugged in are seen", {}};
    }
    return {"udev", false,
            std::string("udev cannot be watched: ") + UdevSetupOutcomeName(setup.outcome),
            "batch --watch and ports --watch need a running udev; use batch --ports instead"};
}
