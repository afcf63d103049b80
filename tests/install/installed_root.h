#pragma once

#include <string>

#include "tests/files/temp_folder.h"
#include "tests/install/command_output.h"

// The build tree installed with `cmake --install --prefix /usr` into a temporary folder that
// stands for the root of the installed system.
class InstalledRoot {
  public:
    InstalledRoot();

    // The one install that the tests of this program share; made at first use.
    [[nodiscard]] static const InstalledRoot& shared();

    [[nodiscard]] const CommandOutput& install() const { return m_install; }
    // Where an absolute path of the installed system lies in the temporary folder.
    [[nodiscard]] std::string path(const std::string& installedPath) const;

  private:
    TempFolder m_root;
    CommandOutput m_install;
};

// The whole content of a file; empty when it cannot be read.
[[nodiscard]] std::string readText(const std::string& path);
