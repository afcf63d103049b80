#include <sys/stat.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <regex>
#include <string>
#include <utility>

#include "tests/install/command_output.h"
#include "tests/install/installed_files.h"
#include "tests/install/installed_root.h"

namespace {

namespace fs = std::filesystem;

// Width and height from a PNG's header chunk, or nothing when the file is no PNG.
std::optional<std::pair<std::uint32_t, std::uint32_t>> pngSize(const std::string& path) {
    const std::string bytes = readText(path);
    static constexpr std::array<unsigned char, 8> kSignature{0x89, 'P',  'N',  'G',
                                                             '\r', '\n', 0x1A, '\n'};
    if (bytes.size() < 24 ||
        bytes.compare(0, 8, reinterpret_cast<const char*>(kSignature.data()), kSignature.size()) !=
            0 ||
        bytes.compare(12, 4, "IHDR") != 0) {
        return std::nullopt;
    }
    auto bigEndian = [&bytes](std::size_t at) {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
        }
        return value;
    };
    return std::make_pair(bigEndian(16), bigEndian(20));
}

bool isExecutable(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && (status.st_mode & S_IXUSR) != 0 &&
           readText(path).compare(0, 4,
                                  "\x7F"
                                  "ELF") == 0;
}

// The first capture of `pattern` in `text`, or an empty text.
std::string firstMatch(const std::string& text, const std::string& pattern) {
    std::smatch match;
    const std::regex expression(pattern);
    return std::regex_search(text, match, expression) ? match[1].str() : std::string();
}

// Runs a checking tool that scripts/install-deps installs for the tests.
CommandOutput runChecker(const std::string& tool, const std::string& arguments,
                         const char* debianPackage) {
    CommandOutput output = runCommand(tool + " " + arguments);
    if (output.exitStatus == 127) {
        output.text += "\n" + tool + " is missing: install the Debian package " + debianPackage;
    }
    return output;
}

class InstallTree : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(root().install().exitStatus, 0) << root().install().text; }
    static const InstalledRoot& root() { return InstalledRoot::shared(); }
    static std::string installed(const std::string& path) { return root().path(path); }
};

// The desktop files of the Qt window.
class InstalledWindow : public InstallTree {
  protected:
    void SetUp() override {
        if (!kBuildHasWindow) {
            GTEST_SKIP() << "this build leaves the Qt window out";
        }
        InstallTree::SetUp();
    }
};

class InstalledFileTest : public InstallTree,
                          public ::testing::WithParamInterface<InstalledFile> {};

// Every file is in place and usable as what it is; a build without Qt installs none of the
// window's files.
TEST_P(InstalledFileTest, IsInPlaceAndUsable) {
    const InstalledFile& file = GetParam();
    const std::string path = installed(file.path);
    if (file.window && !kBuildHasWindow) {
        EXPECT_FALSE(fs::exists(path)) << path;
        return;
    }
    ASSERT_TRUE(fs::is_regular_file(path)) << path;
    switch (file.kind) {
        case InstalledKind::Program:
            EXPECT_TRUE(isExecutable(path)) << path;
            if (!file.helpOption.empty()) {
                // The installed copy runs on its own, away from the build tree.
                const CommandOutput help = runCommand(shellWord(path) + " " + file.helpOption);
                EXPECT_EQ(help.exitStatus, 0) << help.text;
                EXPECT_NE(help.text.find("Usage:"), std::string::npos) << help.text;
            }
            break;
        case InstalledKind::Data:
            EXPECT_GT(fs::file_size(path), 0u) << path;
            break;
        case InstalledKind::ManPage: {
            const CommandOutput groff =
                runChecker("groff", "-man -Tutf8 -ww -z " + shellWord(path), "groff-base");
            EXPECT_EQ(groff.exitStatus, 0) << groff.text;
            EXPECT_EQ(groff.text, "") << "groff warns about " << path;
            // The title line names the version the page describes.
            EXPECT_NE(firstMatch(readText(path), R"((?:^|\n)(\.TH [^\n]*))")
                          .find("\"lvcfg " LVCFG_VERSION "\""),
                      std::string::npos)
                << path;
            break;
        }
        case InstalledKind::Icon: {
            const auto size = pngSize(path);
            ASSERT_TRUE(size.has_value()) << path << " is no PNG";
            EXPECT_EQ(size->first, static_cast<std::uint32_t>(file.iconSize));
            EXPECT_EQ(size->second, static_cast<std::uint32_t>(file.iconSize));
            break;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Install, InstalledFileTest, ::testing::ValuesIn(installedFiles()),
                         [](const ::testing::TestParamInfo<InstalledFile>& info) {
                             return info.param.name;
                         });

TEST_F(InstalledWindow, DesktopEntryPassesDesktopFileValidate) {
    const CommandOutput check = runChecker(
        "desktop-file-validate", shellWord(installed(kDesktopEntry)), "desktop-file-utils");
    EXPECT_EQ(check.exitStatus, 0) << check.text;
    EXPECT_EQ(check.text, "");
}

TEST_F(InstalledWindow, MetainfoPassesAppstreamValidateWithoutNetwork) {
    const CommandOutput check = runChecker(
        "appstreamcli", "validate --no-net " + shellWord(installed(kMetainfo)), "appstream");
    EXPECT_EQ(check.exitStatus, 0) << check.text;
}

TEST_F(InstalledWindow, DesktopEntryStartsAnInstalledProgramWithAnInstalledIcon) {
    const std::string entry = readText(installed(kDesktopEntry));
    const std::string program = firstMatch(entry, R"((?:^|\n)Exec=([^ \n]+))");
    const std::string icon = firstMatch(entry, R"((?:^|\n)Icon=([^\n]+))");
    ASSERT_NE(program, "");
    ASSERT_NE(icon, "");
    EXPECT_TRUE(isExecutable(installed("/usr/bin/" + program))) << program;
    // 48 pixels is the size every icon theme must have.
    EXPECT_TRUE(fs::exists(installed("/usr/share/icons/hicolor/48x48/apps/" + icon + ".png")))
        << icon;
}

TEST_F(InstalledWindow, MetainfoLaunchesTheInstalledDesktopEntry) {
    const std::string metainfo = readText(installed(kMetainfo));
    const std::string desktopId =
        firstMatch(metainfo, R"re(<launchable type="desktop-id">([^<]+)</launchable>)re");
    ASSERT_NE(desktopId, "");
    EXPECT_EQ("/usr/share/applications/" + desktopId, kDesktopEntry);
    EXPECT_TRUE(fs::exists(installed("/usr/share/applications/" + desktopId)));
}

TEST_F(InstalledWindow, MetainfoReleaseIsTheBuiltVersion) {
    const std::string metainfo = readText(installed(kMetainfo));
    EXPECT_EQ(firstMatch(metainfo, R"re(<release version="([^"]+)")re"), LVCFG_VERSION);
}

TEST_F(InstalledWindow, MetainfoScreenshotIsAPictureOfTheRepository) {
    const std::string metainfo = readText(installed(kMetainfo));
    const std::string url = firstMatch(metainfo, R"(<image[^>]*>([^<]+)</image>)");
    ASSERT_EQ(url.rfind("https://", 0), 0u) << url;
    const std::string inRepository = firstMatch(url, R"(/(docs/[^/]+\.png)$)");
    ASSERT_NE(inRepository, "") << url;
    EXPECT_TRUE(fs::exists(fs::path(LVCFG_SOURCE_DIR) / inRepository)) << inRepository;
}

// udev applies the seat user's access in 73-seat-late.rules; a uaccess tag set by a rule file
// that sorts after it does nothing.
TEST_F(InstallTree, UdevRuleIsReadBeforeSeatAccessIsApplied) {
    int found = 0;
    for (const auto& entry : fs::directory_iterator(installed(kUdevRulesDir))) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(std::regex_match(name, std::regex(R"([0-9]{2}-.+\.rules)"))) << name;
        EXPECT_LT(name, "73-seat-late.rules");
        ++found;
    }
    EXPECT_EQ(found, 1);
}

}  // namespace
