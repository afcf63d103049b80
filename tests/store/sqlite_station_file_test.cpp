// What belongs to the SQLite file alone: where it is made, with what permissions, and what
// happens when it may not be written.
#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "store/open_station_store.h"
#include "store/sqlite_station_store.h"
#include "tests/files/temp_folder.h"

namespace {

mode_t ModeOf(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 ? (status.st_mode & 07777) : 0;
}

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (m_old) {
            ::setenv(m_name, m_old->c_str(), 1);
        } else {
            ::unsetenv(m_name);
        }
    }

  private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(SqliteStationFile, TheDefaultFileIsMadeUnderXdgDataHomeWithItsFoldersForItsOwnerOnly) {
    TempFolder folder;
    const ScopedEnv dataHome("XDG_DATA_HOME", folder.File("data"));
    const ::mode_t oldMask = ::umask(0);
    auto opened = OpenStationStore("");
    ::umask(oldMask);
    ASSERT_TRUE(opened.Ok()) << opened.message;
    const std::string path = folder.File("data/lvcfg/station.sqlite");
    EXPECT_EQ(ModeOf(path), 0600u);
    EXPECT_EQ(ModeOf(path + "-wal"), 0600u);
    ASSERT_TRUE(opened.value->AddRange(1, 1).Ok());
}

TEST(SqliteStationFile, AFileInAFolderThatCannotBeMadeFailsCleanly) {
    TempFolder folder;
    WriteBytes(folder.File("plain"), {1, 2, 3});
    const auto opened = OpenStationStore("sqlite:" + folder.File("plain/station.sqlite"));
    EXPECT_EQ(opened.outcome, StoreOutcome::DatabaseFailed);
    EXPECT_NE(opened.message.find("plain/station.sqlite"), std::string::npos) << opened.message;
}

TEST(SqliteStationFile, AFileThatIsNoDatabaseFailsCleanlyAndIsLeftAsItWas) {
    TempFolder folder;
    const std::string path = folder.File("station.sqlite");
    const std::vector<std::uint8_t> text = PatternBytes(4096, 7);
    WriteBytes(path, text);
    const auto opened = OpenStationStore("sqlite:" + path);
    EXPECT_EQ(opened.outcome, StoreOutcome::DatabaseFailed);
    EXPECT_EQ(ReadBytes(path), text);
}

// Root writes any file, so the opening runs in a child that has given up root for "nobody".
TEST(SqliteStationFile, AReadOnlyFileFailsCleanlyAndKeepsItsPool) {
    TempFolder folder;
    const std::string path = folder.File("station.sqlite");
    {
        auto opened = SqliteStationStore::Open(path);
        ASSERT_TRUE(opened.Ok()) << opened.message;
        ASSERT_TRUE(opened.value->AddRange(0x10, 4).Ok());
    }
    ASSERT_EQ(::chmod(folder.Path().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const passwd* nobody = ::getpwnam("nobody");
        if (::geteuid() == 0 &&
            (nobody == nullptr || ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0)) {
            ::_exit(100);
        }
        const auto opened = SqliteStationStore::Open(path);
        const bool clean = opened.outcome == StoreOutcome::DatabaseFailed &&
                           opened.message.find("read-only") != std::string::npos;
        ::_exit(clean ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);

    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
    auto reopened = SqliteStationStore::Open(path);
    ASSERT_TRUE(reopened.Ok()) << reopened.message;
    EXPECT_EQ(reopened.value->Status().value.free, 4u);
}

}  // namespace
