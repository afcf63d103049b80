#include "store/store_url.h"

#include <string_view>

namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// Drops every password=... parameter from the query part that starts at `query`.
std::string WithoutPasswordParameter(const std::string& uri, std::size_t query) {
    std::string kept = uri.substr(0, query + 1);
    bool first = true;
    std::size_t at = query + 1;
    while (at <= uri.size()) {
        std::size_t end = uri.find_first_of("&#", at);
        if (end == std::string::npos) {
            end = uri.size();
        }
        const std::string_view parameter(uri.data() + at, end - at);
        if (!StartsWith(parameter, "password=") && !parameter.empty()) {
            kept += (first ? "" : "&");
            kept += parameter;
            first = false;
        }
        if (end == uri.size() || uri[end] == '#') {
            kept += uri.substr(end);
            break;
        }
        at = end + 1;
    }
    if (first && kept.back() == '?') {
        kept.pop_back();
    }
    return kept;
}

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
        "a station database is sqlite:PATH or postgresql://..., not " + UriWithoutPassword(url));
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

std::string UriWithoutPassword(const std::string& uri) {
    const std::size_t scheme = uri.find("://");
    if (scheme == std::string::npos) {
        return uri;
    }
    std::string shown = uri;
    const std::size_t authority = scheme + 3;
    // The user part ends at the last "@" before the parameters. A password with a "/" or "@"
    // that is not percent-encoded still ends up hidden: more is hidden, never less.
    const std::size_t authorityEnd = shown.find_first_of("?#", authority);
    const std::size_t at =
        shown.rfind('@', authorityEnd == std::string::npos ? std::string::npos : authorityEnd);
    if (at != std::string::npos && at >= authority) {
        const std::size_t colon = shown.find(':', authority);
        if (colon != std::string::npos && colon < at) {
            shown.erase(colon, at - colon);
        }
    }
    const std::size_t query = shown.find('?');
    return query == std::string::npos ? shown : WithoutPasswordParameter(shown, query);
}
