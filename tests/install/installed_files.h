#pragma once

#include <ostream>
#include <string>
#include <vector>

// What an install of lvcfg holds, as paths from the root of the installed system.
enum class InstalledKind {
    Program,  // an executable
    Data,     // a file read by the desktop or by udev
    ManPage,  // a roff manual page
    Icon,     // a square PNG of `iconSize` pixels
};

struct InstalledFile {
    std::string name;  // the test's name for the file
    std::string path;  // absolute, as on the installed system
    InstalledKind kind;
    bool window;  // part of the Qt window: absent from a build without Qt
    int iconSize = 0;
    std::string helpOption = {};  // a program that runs without a display: how to ask it for help
};

// The folder the udev rule goes to, as this build was configured.
inline const std::string kUdevRulesDir = LVCFG_UDEV_RULES_DIR;
inline const std::string kSystemdUnitDir = LVCFG_SYSTEMD_UNIT_DIR;
inline const std::string kDesktopEntry = "/usr/share/applications/lvcfg.desktop";
inline const std::string kMetainfo = "/usr/share/metainfo/io.github.lvcfg.lvcfg.metainfo.xml";
inline const std::string kIconName = "lvcfg";

// Whether this build installs the Qt window.
inline constexpr bool kBuildHasWindow = LVCFG_INSTALLS_WINDOW != 0;

inline std::string hicolorIconPath(int size) {
    const std::string pixels = std::to_string(size);
    return "/usr/share/icons/hicolor/" + pixels + "x" + pixels + "/apps/" + kIconName + ".png";
}

inline std::vector<InstalledFile> installedFiles() {
    std::vector<InstalledFile> files{
        {.name = "ProgramLvcfg",
         .path = "/usr/bin/lvcfg",
         .kind = InstalledKind::Program,
         .window = true},
        {.name = "ProgramModuleSim",
         .path = "/usr/bin/lvcfg-module-sim",
         .kind = InstalledKind::Program,
         .window = false,
         .helpOption = "--help"},
        {.name = "ProgramCli",
         .path = "/usr/bin/lvcfg-cli",
         .kind = InstalledKind::Program,
         .window = false,
         .helpOption = "--help"},
        {.name = "ManPageCli",
         .path = "/usr/share/man/man1/lvcfg-cli.1",
         .kind = InstalledKind::ManPage,
         .window = false},
        {.name = "ProgramStation",
         .path = "/usr/bin/lvcfg-station",
         .kind = InstalledKind::Program,
         .window = true},
        {.name = "ManPageStation",
         .path = "/usr/share/man/man1/lvcfg-station.1",
         .kind = InstalledKind::ManPage,
         .window = true},
        {.name = "DesktopEntryStation",
         .path = "/usr/share/applications/lvcfg-station.desktop",
         .kind = InstalledKind::Data,
         .window = true},
        {.name = "DesktopEntry",
         .path = kDesktopEntry,
         .kind = InstalledKind::Data,
         .window = true},
        {.name = "Metainfo", .path = kMetainfo, .kind = InstalledKind::Data, .window = true},
        {.name = "ManPageLvcfg",
         .path = "/usr/share/man/man1/lvcfg.1",
         .kind = InstalledKind::ManPage,
         .window = true},
        {.name = "ManPageModuleSim",
         .path = "/usr/share/man/man1/lvcfg-module-sim.1",
         .kind = InstalledKind::ManPage,
         .window = false},
        {.name = "ProgramLine",
         .path = "/usr/bin/lvcfg-line",
         .kind = InstalledKind::Program,
         .window = false,
         .helpOption = "--help"},
        {.name = "ManPageLine",
         .path = "/usr/share/man/man1/lvcfg-line.1",
         .kind = InstalledKind::ManPage,
         .window = false},
        {.name = "SystemdUnitLine",
         .path = kSystemdUnitDir + "/lvcfg-line.service",
         .kind = InstalledKind::Data,
         .window = false},
        {.name = "UdevRule",
         .path = kUdevRulesDir + "/60-lvcfg.rules",
         .kind = InstalledKind::Data,
         .window = false},
    };
    for (int size : {16, 32, 48, 64, 128, 256}) {
        files.push_back({.name = "Icon" + std::to_string(size),
                         .path = hicolorIconPath(size),
                         .kind = InstalledKind::Icon,
                         .window = true,
                         .iconSize = size});
    }
    return files;
}

// Failure messages name the file rather than dumping its bytes.
inline void PrintTo(const InstalledFile& file, std::ostream* out) {
    *out << file.path;
}
