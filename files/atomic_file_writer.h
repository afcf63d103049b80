#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "files/file_io.h"

// Replaces a file only once its successor is complete on disk. Open creates a temporary file
// in the target's folder; Commit writes the bytes into it, flushes them to disk and renames it
// over the target. Until the rename succeeds the target is untouched, and on every failure
// (and when the writer goes without a successful Commit) the temporary file is removed.
//
// Open refuses what could not be replaced sensibly: an existing target that is not a regular
// file (a directory, a device) or that we may not write, and a new file in a folder we cannot
// create files in. A target that is a symbolic link is followed to the file it names, which is
// replaced (or created, when the link dangles) while the link stays. A replaced file keeps its
// permission bits.
//
// Where no temporary file may be created beside an existing file that we may write (a folder
// we may not write), the file is written in place instead; see WritesInPlace.
class AtomicFileWriter {
  public:
    explicit AtomicFileWriter(FileIo& io = DefaultFileIo()) : m_io(io), m_temp(io, -1) {}
    ~AtomicFileWriter() { Discard(); }
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    [[nodiscard]] bool Open(const std::string& target);
    [[nodiscard]] bool IsOpen() const { return m_temp.IsValid(); }

    // Writes all of `bytes`, flushes, closes and renames over the target. true only when every
    // step succeeded; otherwise the temporary file is gone and the target is as it was.
    [[nodiscard]] bool Commit(std::span<const std::uint8_t> bytes);

    // Closes and removes the temporary file, if one is open.
    void Discard();

    // true when Open fell back to writing the target itself: then Commit is not atomic, and a
    // failure part-way leaves the target damaged.
    [[nodiscard]] bool WritesInPlace() const { return m_inPlace; }

    // The temporary file while one is open (empty otherwise); for diagnostics and tests.
    [[nodiscard]] const std::string& TemporaryPath() const { return m_tempPath; }

  private:
    [[nodiscard]] bool ProbeTarget(FileIoHandle& existing);
    [[nodiscard]] bool CreateTemporary();
    [[nodiscard]] bool CommitInPlace(std::span<const std::uint8_t> bytes);
    [[nodiscard]] bool WriteAll(std::span<const std::uint8_t> bytes);
    void SyncFolder();

    FileIo& m_io;
    FileIoHandle m_temp;
    std::string m_target;
    std::string m_folder;
    std::string m_tempPath;
    bool m_keepMode = false;
    bool m_inPlace = false;
    mode_t m_mode = 0;
};
