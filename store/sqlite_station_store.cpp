#include "store/sqlite_station_store.h"

#include <fcntl.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "store/sqlite_database.h"

namespace {

// File systems whose locks SQLite cannot rely on (NFS, SMB/CIFS in their variants, AFS,
// Coda, Ceph, 9p).
constexpr std::array<long, 9> kNetworkFileSystems{
    0x6969, 0x517B, 0xFF534D42, 0xFE534D42, 0x5346414F, 0x73757245, 0x00C36400, 0x01021997, 0x564C};

bool OnNetworkFileSystem(const std::filesystem::path& folder) {
    struct statfs info {};
    if (::statfs(folder.c_str(), &info) != 0) {
        return false;
    }
    for (const long type : kNetworkFileSystems) {
        if (static_cast<long>(info.f_type) == type) {
            return true;
        }
    }
    return false;
}

StoreStatus CannotOpen(const std::string& path, const std::string& why) {
    return StoreFailure(StoreOutcome::DatabaseFailed,
                        "cannot open the station database " + path + ": " + why);
}

// Creates the file for the owner alone before SQLite opens it; SQLite gives its WAL and
// shared-memory files the same permissions.
StoreStatus CreateFile(const std::string& path) {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty()) {
        std::filesystem::create_directories(folder, error);
        if (error) {
            return CannotOpen(path, error.message());
        }
        if (OnNetworkFileSystem(folder)) {
            return CannotOpen(path,
                              "it is on a network file system; keep it on a local disk "
                              "and use PostgreSQL to share a pool between stations");
        }
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::close(fd);
    } else if (errno != EEXIST) {
        return CannotOpen(path, std::strerror(errno));
    }
    return {};
}

}  // namespace

StoreResult<std::unique_ptr<StationStore>> SqliteStationStore::Open(const std::string& path,
                                                                    int schemaVersion) {
    if (StoreStatus created = CreateFile(path); !created.Ok()) {
        return created;
    }
    auto database = std::make_unique<SqliteDatabase>();
    std::vector<SqlRow> mode;
    if (!database->Open(path)) {
        return CannotOpen(path, database->LastError());
    }
    // FULL: a committed reservation survives a power cut too, so its MAC cannot go out again.
    if (!database->Run("PRAGMA journal_mode = WAL", {}, &mode) || mode.empty() || mode[0].empty() ||
        mode[0][0] != "wal" ||
        !database->RunScript("PRAGMA synchronous = FULL; PRAGMA foreign_keys = ON")) {
        return CannotOpen(
            path, database->LastError().empty() ? "cannot use WAL mode" : database->LastError());
    }
    std::unique_ptr<SqliteStationStore> store(
        new SqliteStationStore(std::move(database), SqliteDialect(), "sqlite:" + path));
    if (StoreStatus prepared = store->PrepareSchema(schemaVersion); !prepared.Ok()) {
        return prepared;
    }
    return std::unique_ptr<StationStore>(std::move(store));
}

StoreResult<std::unique_ptr<StationStore>> SqliteStationStore::OpenForReading(
    const std::string& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return CannotOpen(path, "there is no such file; a station creates it on its first run");
    }
    auto database = std::make_unique<SqliteDatabase>();
    if (!database->OpenForReading(path)) {
        return CannotOpen(path, database->LastError());
    }
    std::unique_ptr<SqliteStationStore> store(
        new SqliteStationStore(std::move(database), SqliteDialect(), path));
    if (StoreStatus checked = store->CheckSchema(); !checked.Ok()) {
        return checked;
    }
    return std::unique_ptr<StationStore>(std::move(store));
}
