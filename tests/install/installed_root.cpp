#include "tests/install/installed_root.h"

#include <fstream>
#include <sstream>

InstalledRoot::InstalledRoot() {
    m_install = runCommand("DESTDIR=" + shellWord(m_root.Path().string()) + " " +
                           shellWord(LVCFG_CMAKE_COMMAND) + " --install " +
                           shellWord(LVCFG_BUILD_DIR) + " --prefix /usr");
}

const InstalledRoot& InstalledRoot::shared() {
    static const InstalledRoot root;
    return root;
}

std::string InstalledRoot::path(const std::string& installedPath) const {
    return m_root.Path().string() + installedPath;
}

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
