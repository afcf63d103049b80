#include "line/station_tile.h"

#include <algorithm>
#include <map>

const char* TileStateWord(TileState state) {
    switch (state) {
        case TileState::Running:
            return "running";
        case TileState::Idle:
            return "idle";
        case TileState::Stopped:
            return "stopped";
        case TileState::Offline:
            return "offline";
    }
    return "unknown";
}

namespace {

TileState StateAt(const StationTile& tile, std::int64_t nowMs, const LineThresholds& thresholds) {
    if (tile.row && StationRowIsOffline(*tile.row, nowMs)) {
        return TileState::Offline;
    }
    if (tile.row && tile.row->state != StationState::Running) {
        return TileState::Stopped;
    }
    return tile.quietMs >= thresholds.idleAfterMs ? TileState::Idle : TileState::Running;
}

}  // namespace

std::vector<StationTile> StationTiles(const std::vector<StationRow>& rows,
                                      const std::vector<StationFigures>& figures,
                                      std::int64_t nowMs, const LineThresholds& thresholds) {
    std::map<std::string, StationTile> tiles;
    for (const StationRow& row : rows) {
        StationTile& tile = tiles[row.station];
        tile.station = row.station;
        tile.row = row;
    }
    for (const StationFigures& station : figures) {
        StationTile& tile = tiles[station.station];
        tile.station = station.station;
        tile.figures = station;
    }
    std::vector<StationTile> shown;
    for (auto& [name, tile] : tiles) {
        const std::int64_t started = tile.row ? tile.row->startedMs : 0;
        tile.quietMs = nowMs - std::max(tile.figures.lastModuleMs, started);
        tile.state = StateAt(tile, nowMs, thresholds);
        shown.push_back(std::move(tile));
    }
    return shown;
}
