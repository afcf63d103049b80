#include "store/store_url.h"

#include <libpq-fe.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <string_view>

namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

struct ConninfoFreer {
    void operator()(PQconninfoOption* options) const { PQconninfoFree(options); }
};

}  // namespace

StoreResult<StoreLocation> ParseStoreUrl(const std::string& url) {
    if (url.empty()) {
        return StoreFailure(StoreOutcome::BadUrl, "no station database given");
    }
    if (StartsWith(url, "postgresql://") || StartsWith(url, "postgres://")) {
        return StoreLocation{StoreKind::Postgres, url};
    }
    if (StartsWith(url, "sqlite:")) {
        std::string path = url.substr(7);
        if (StartsWith(path, "///")) {
            path.erase(0, 2);
        }
        if (path.empty()) {
            return StoreFailure(StoreOutcome::BadUrl, "sqlite: needs a file path");
        }
        return StoreLocation{StoreKind::Sqlite, path};
    }
    return StoreFailure(
        StoreOutcome::BadUrl,
        "a station database is sqlite:PATH or postgresql://...; the one given is neither");
}

std::string DefaultStationDbPath(const char* xdgDataHome, const char* home) {
    std::string base;
    if (xdgDataHome != nullptr && xdgDataHome[0] == '/') {
        base = xdgDataHome;
    } else if (home != nullptr && home[0] != '\0') {
        base = std::string(home) + "/.local/share";
    } else {
        return {};
    }
    return base + "/lvcfg/station.sqlite";
}

std::string ResolveStationDbUrl(const std::string& given) {
    if (!given.empty()) {
        return given;
    }
    const char* environment = std::getenv("LVCFG_STATION_DB");
    if (environment != nullptr && environment[0] != '\0') {
        return environment;
    }
    const std::string path =
        DefaultStationDbPath(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    return path.empty() ? std::string() : "sqlite:" + path;
}

std::string ShownStoreLocation(const std::string& url) {
    const StoreResult<StoreLocation> location = ParseStoreUrl(url);
    if (!location.Ok()) {
        return "(an unreadable station database address)";
    }
    if (location.value.kind == StoreKind::Sqlite) {
        return "sqlite:" + location.value.target;
    }
    const std::unique_ptr<PQconninfoOption, ConninfoFreer> options(
        PQconninfoParse(url.c_str(), nullptr));
    if (!options) {
        return "postgresql://(an unreadable address)";
    }
    std::map<std::string, std::string> parts;
    for (const PQconninfoOption* option = options.get(); option->keyword != nullptr; ++option) {
        if (option->val != nullptr) {
            parts[option->keyword] = option->val;
        }
    }
    const std::string host = parts["host"].empty() ? parts["hostaddr"] : parts["host"];
    std::string shown = "postgresql://";
    if (!parts["user"].empty()) {
        shown += parts["user"] + "@";
    }
    shown += host;
    if (!parts["port"].empty()) {
        shown += ":" + parts["port"];
    }
    if (!parts["dbname"].empty()) {
        shown += "/" + parts["dbname"];
    }
    return shown;
}
