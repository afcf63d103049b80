#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <regex>
#include <string>

#include "tests/files/temp_folder.h"
#include "tests/install/command_output.h"
#include "tests/install/installed_files.h"

namespace {

namespace fs = std::filesystem;

// The Debian package that cpack builds from this build tree, made once into a temporary
// folder, with what dpkg-deb reads from it.
class BuiltPackage {
  public:
    BuiltPackage() {
        m_cpack = runCommand(shellWord(LVCFG_CPACK_COMMAND) + " -G DEB --config " +
                             shellWord(std::string(LVCFG_BUILD_DIR) + "/CPackConfig.cmake") +
                             " -B " + shellWord(m_folder.Path().string()));
        for (const auto& entry : fs::directory_iterator(m_folder.Path())) {
            if (entry.path().extension() == ".deb") {
                m_deb = entry.path().string();
            }
        }
        if (!m_deb.empty()) {
            m_contents = runCommand("dpkg-deb -c " + shellWord(m_deb)).text;
        }
    }

    static const BuiltPackage& shared() {
        static const BuiltPackage package;
        return package;
    }

    [[nodiscard]] const CommandOutput& cpack() const { return m_cpack; }
    [[nodiscard]] const std::string& deb() const { return m_deb; }
    // `dpkg-deb -c`: one line per entry, paths as ./usr/bin/lvcfg.
    [[nodiscard]] const std::string& contents() const { return m_contents; }

    [[nodiscard]] std::string field(const std::string& name) const {
        std::string value = runCommand("dpkg-deb -f " + shellWord(m_deb) + " " + name).text;
        while (!value.empty() && value.back() == '\n') {
            value.pop_back();
        }
        return value;
    }

  private:
    TempFolder m_folder;
    CommandOutput m_cpack;
    std::string m_deb;
    std::string m_contents;
};

bool holdsFile(const std::string& contents, const std::string& installedPath) {
    return contents.find(" ." + installedPath + "\n") != std::string::npos;
}

// Whether a Depends field names `package`, with or without a version.
bool dependsOn(const std::string& depends, const std::string& package) {
    const std::regex entry("(^|, )" + package + "( \\(|,|$)");
    return std::regex_search(depends, entry);
}

class DebianPackage : public ::testing::Test {
  protected:
    void SetUp() override {
        const BuiltPackage& built = package();
        ASSERT_EQ(built.cpack().exitStatus, 0) << built.cpack().text;
        ASSERT_NE(built.deb(), "") << "cpack made no .deb:\n" << built.cpack().text;
    }
    static const BuiltPackage& package() { return BuiltPackage::shared(); }
};

class DebianPackageFile : public DebianPackage,
                          public ::testing::WithParamInterface<InstalledFile> {};

// The package holds what an install holds, at the same places.
TEST_P(DebianPackageFile, IsInThePackageWhereTheBuildHasIt) {
    const InstalledFile& file = GetParam();
    const bool expected = !file.window || kBuildHasWindow;
    EXPECT_EQ(holdsFile(package().contents(), file.path), expected) << file.path << " in\n"
                                                                    << package().contents();
}

INSTANTIATE_TEST_SUITE_P(Deb, DebianPackageFile, ::testing::ValuesIn(installedFiles()),
                         [](const ::testing::TestParamInfo<InstalledFile>& info) {
                             return info.param.name;
                         });

struct Dependency {
    const char* name;
    const char* package;
    bool window;  // needed by the Qt window only
};

void PrintTo(const Dependency& dependency, std::ostream* out) {
    *out << dependency.package;
}

class DebianPackageDependency : public DebianPackage,
                                public ::testing::WithParamInterface<Dependency> {};

// The libraries come from the programs themselves; the platform plugin is named by hand, since
// no program links it.
TEST_P(DebianPackageDependency, IsNamedWhenTheProgramsNeedIt) {
    const Dependency& dependency = GetParam();
    const bool expected = !dependency.window || kBuildHasWindow;
    const std::string depends = package().field("Depends");
    EXPECT_EQ(dependsOn(depends, dependency.package), expected) << "Depends: " << depends;
}

INSTANTIATE_TEST_SUITE_P(Deb, DebianPackageDependency,
                         ::testing::Values(Dependency{"QtWidgets", "libqt6widgets6", true},
                                           Dependency{"QtGui", "libqt6gui6", true},
                                           Dependency{"QtCore", "libqt6core6", true},
                                           Dependency{"QtPlatformPlugins", "qt6-qpa-plugins", true},
                                           // lvcfg-cli watches for modules with udev too.
                                           Dependency{"Udev", "libudev1", false},
                                           Dependency{"CLibrary", "libc6", false},
                                           Dependency{"CxxLibrary", "libstdc\\+\\+6", false}),
                         [](const ::testing::TestParamInfo<Dependency>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(DebianPackage, VersionIsTheBuiltVersion) {
    EXPECT_EQ(package().field("Version").rfind(std::string(LVCFG_VERSION) + "-", 0), 0u)
        << package().field("Version");
}

}  // namespace
