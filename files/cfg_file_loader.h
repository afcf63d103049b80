#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "files/file_io.h"
#include "model/config_frame.h"

// How far loading a .cfg file got; the first failing step decides, in the order the window
// reports them.
enum class CfgLoadOutcome { NotOpened, TooShort, MagicMismatch, CrcMismatch, Loaded };

// Reads the first 518 bytes of a .cfg file into `frame` and checks them. `frame` holds the
// bytes as stored after a short read and the unscrambled frame once all 518 bytes came; further
// bytes of a longer file are ignored. In place of the magic the block may hold exactly the name
// field of the window's default working frame, as a file saved before any module was read
// does; such a file loads like any other when its CRC matches.
[[nodiscard]] CfgLoadOutcome LoadCfgFile(const std::string& path, ConfigFrame& frame,
                                         FileIo& io = DefaultFileIo());

// The same checks on a .cfg file's bytes held elsewhere (a work order's block in the store):
// the first 518 bytes as stored, unscrambled into `frame` when all of them are there.
[[nodiscard]] CfgLoadOutcome CheckCfgBytes(std::span<const std::uint8_t> stored,
                                           ConfigFrame& frame);
