#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "files/file_io.h"

// Reads a configuration file: the bytes as stored, no newline translation, no more than asked
// for (a longer file is read only as far as the caller's buffer). Only a regular file opens;
// a directory or a device chosen as the file is refused at the open. The file is closed when
// the reader goes, on every path.
class CfgFileReader {
  public:
    explicit CfgFileReader(FileIo& io = DefaultFileIo()) : m_io(io), m_file(io, -1) {}

    [[nodiscard]] bool Open(const std::string& path);
    [[nodiscard]] bool IsOpen() const { return m_file.IsValid(); }

    // Reads until `buffer` is full, the file ends or the disk fails; the number of bytes read.
    [[nodiscard]] std::size_t Read(std::span<std::uint8_t> buffer);

    void Close() { m_file.Close(); }

  private:
    FileIo& m_io;
    FileIoHandle m_file;
};
