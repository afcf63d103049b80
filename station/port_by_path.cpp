#include "station/port_by_path.h"

#include <filesystem>
#include <system_error>

std::string PortByPathName(const std::string& device, const std::string& byPathDir) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (device.rfind(byPathDir + "/", 0) == 0) {
        return device;
    }
    const fs::path target = fs::canonical(device, error);
    if (error) {
        return {};
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(byPathDir, error)) {
        const fs::path linked = fs::canonical(entry.path(), error);
        if (!error && linked == target) {
            return entry.path().string();
        }
    }
    return {};
}
