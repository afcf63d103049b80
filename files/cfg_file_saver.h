#pragma once

#include <string>

#include "files/atomic_file_writer.h"
#include "files/file_io.h"
#include "model/config_frame.h"

// Saves a sealed frame as a .cfg file in two steps, so that a window can report the file as
// opened and build the frame (with its warning boxes) before anything is written. Open creates
// the temporary file beside the target; Save writes a scrambled copy of the frame and replaces
// the target. The caller's frame is never scrambled. A saver gone without a successful Save
// leaves the target as it was.
class CfgFileSaver {
  public:
    explicit CfgFileSaver(FileIo& io = DefaultFileIo()) : m_writer(io) {}

    [[nodiscard]] bool Open(const std::string& path) { return m_writer.Open(path); }
    // true when all 518 bytes reached the target.
    [[nodiscard]] bool Save(const ConfigFrame& sealedFrame);

  private:
    AtomicFileWriter m_writer;
};

enum class CfgSaveOutcome { NotOpened, NotWritten, Saved };

// Both steps at once, for programs that show nothing between them.
[[nodiscard]] CfgSaveOutcome SaveCfgFile(const std::string& path, const ConfigFrame& sealedFrame,
                                         FileIo& io = DefaultFileIo());
