// The SQLite store keeps its locks and its write-ahead log whatever else its process does with
// the database file, and a COMMIT that fails leaves no transaction open.
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "store/open_station_store.h"
#include "store/sqlite_database.h"
#include "tests/files/temp_folder.h"
#include "tests/store/proc_locks.h"
#include "tests/store/worker_process.h"

namespace {

void OpenAndClose(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0) << path;
    char byte = 0;
    (void)::read(fd, &byte, 1);  // as a look at the file's type would
    ::close(fd);
}

TEST(SqliteLocks, SurviveOtherCodeOfTheProcessOpeningAndClosingTheDatabaseFiles) {
    TempFolder folder;
    const std::string path = folder.File("station.sqlite");
    auto opened = OpenStationStore("sqlite:" + path);
    ASSERT_TRUE(opened.Ok()) << opened.message;
    StationStore& store = *opened.value;
    ASSERT_TRUE(store.AddRange(0x100, 10).Ok());
    ASSERT_TRUE(store.Reserve({"st", "p"}).Ok());
    const int dbLocks = LocksOn(path);
    const int shmLocks = LocksOn(path + "-shm");
    ASSERT_GT(dbLocks + shmLocks, 0);

    for (const std::string& file :
         {path, path + "-wal", path + "-shm", std::string(folder.Path())}) {
        OpenAndClose(file);
    }
    EXPECT_EQ(LocksOn(path), dbLocks);
    EXPECT_EQ(LocksOn(path + "-shm"), shmLocks);

    // Another station's process comes and goes; it must see this one and leave the log alone.
    {
        WorkerProcess worker({"sqlite:" + path, "other", "2"});
        ASSERT_TRUE(worker.Started());
        EXPECT_EQ(worker.Wait(), 0);
    }
    EXPECT_TRUE(std::filesystem::exists(path + "-wal"));
    ASSERT_TRUE(store.Reserve({"st", "p"}).Ok());
    opened.value.reset();
    auto again = OpenStationStore("sqlite:" + path);
    ASSERT_TRUE(again.Ok()) << again.message;
    const PoolStatus status = again.value->Status().value;
    EXPECT_EQ(status.reserved, 2u);
    EXPECT_EQ(status.used, 2u);
    EXPECT_EQ(status.free + status.reserved + status.used, 10u);
}

TEST(SqliteTransaction, AFailedCommitIsRolledBack) {
    TempFolder folder;
    SqliteDatabase database;
    ASSERT_TRUE(database.Open(folder.File("plain.sqlite")));
    ASSERT_TRUE(database.RunScript(
        "PRAGMA foreign_keys = ON; CREATE TABLE parent (id INTEGER PRIMARY KEY); "
        "CREATE TABLE child (parent INTEGER REFERENCES parent (id) DEFERRABLE INITIALLY "
        "DEFERRED)"));
    {
        SqlTransaction transaction(database, "BEGIN IMMEDIATE");
        ASSERT_TRUE(transaction.IsOpen());
        ASSERT_TRUE(database.RunScript("INSERT INTO child VALUES (7)"));
        EXPECT_FALSE(transaction.Commit());  // the deferred check refuses it
    }
    SqlTransaction next(database, "BEGIN IMMEDIATE");
    EXPECT_TRUE(next.IsOpen()) << database.LastError();
    std::vector<SqlRow> rows;
    ASSERT_TRUE(database.Run("SELECT COUNT(*) FROM child", {}, &rows));
    EXPECT_EQ(rows.at(0).at(0), "0");
}

}  // namespace
