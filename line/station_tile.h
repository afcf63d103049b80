#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "line/line_thresholds.h"
#include "store/shift_figures.h"
#include "store/station_row.h"

// What the page shows of a station, by word as well as by colour.
enum class TileState { Running, Idle, Stopped, Offline };

[[nodiscard]] const char* TileStateWord(TileState state);

// One station of the line: its own row (when its program keeps one) and what its records
// of the shift say.
struct StationTile {
    std::string station;
    TileState state = TileState::Idle;
    std::optional<StationRow> row;
    StationFigures figures;
    std::int64_t quietMs = 0;  // since its latest module (or its start, when it has none)
};

// The tiles of every station that keeps a row or left records in the shift, by name, in their
// states at `nowMs`.
[[nodiscard]] std::vector<StationTile> StationTiles(const std::vector<StationRow>& rows,
                                                    const std::vector<StationFigures>& figures,
                                                    std::int64_t nowMs,
                                                    const LineThresholds& thresholds);
