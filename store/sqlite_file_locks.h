#pragma once

// SQLite's locks on Linux are POSIX record locks, which belong to the process: closing ANY
// descriptor of the database file, by any code of the process (a file dialog looking at the
// file's type, an export, an icon look-up), drops every lock the process holds on it. Another
// program then sees no reader, checkpoints and removes the write-ahead log under a connection
// that still writes to it, and data is lost.
//
// This makes SQLite's unix VFS take open-file-description locks instead (F_OFD_SETLK and its
// kin), which belong to the descriptor SQLite opened and go only when SQLite closes it. They
// conflict with classic POSIX locks of other processes exactly as POSIX locks do, so other
// SQLite programs on the same file still see them. Open-file-description locks of two
// descriptors of one process conflict with each other, which SQLite does not expect of two
// connections of one process to the same file: a process keeps one connection per database
// file (the station programs do).
//
// Takes effect once, before the first connection opens; later calls do nothing. false when the
// VFS does not let its system calls be replaced (SQLite then keeps its own locks).
bool UseOpenFileDescriptionLocks();
