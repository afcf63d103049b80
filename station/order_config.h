#pragma once

#include <string>

#include "files/cfg_file_loader.h"
#include "model/config_frame.h"
#include "store/station_store.h"

// A work order's configuration: the .cfg file's bytes kept in the store with their SHA-256, so
// that every station writes the same block whatever files lie on its disk.

// The order `order create` gives the store for a .cfg file already loaded into `frame` (the
// file's checks passed): its bytes as the file stores them, in hexadecimal, and their SHA-256,
// which equals sha256sum of the file.
[[nodiscard]] NewOrder NewOrderOf(const std::string& name, const ConfigFrame& frame,
                                  std::int64_t quantity, const std::string& configFile,
                                  const std::string& createdBy);

// An order with its block checked as a file is: length, magic or default name, CRC, and its
// SHA-256.
struct OrderConfig {
    OrderDetail order;
    ConfigFrame frame{};  // unscrambled, as LoadCfgFile gives it
};

// Reads the order named and checks its block. OrderUnknown when there is none; OrderInvalid,
// with the .cfg file's own message, when its block fails a check; the store's outcome when it
// fails.
[[nodiscard]] StoreResult<OrderConfig> LoadOrderConfig(StationStore& store,
                                                       const std::string& name);
