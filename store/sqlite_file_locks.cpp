#include "store/sqlite_file_locks.h"

#include <fcntl.h>
#include <sqlite3.h>

#include <cstdarg>
#include <mutex>

namespace {

// SQLite calls fcntl with an int or a pointer as its third argument; like the C library's own
// fcntl, this takes it as a pointer and hands it on unchanged.
int FcntlWithOpenFileLocks(int fd, int command, ...) {
    va_list arguments;
    va_start(arguments, command);
    void* argument = va_arg(arguments, void*);
    va_end(arguments);
    int openFileCommand = 0;
    switch (command) {
        case F_SETLK:
            openFileCommand = F_OFD_SETLK;
            break;
        case F_SETLKW:
            openFileCommand = F_OFD_SETLKW;
            break;
        case F_GETLK:
            openFileCommand = F_OFD_GETLK;
            break;
        default:
            return ::fcntl(fd, command, argument);
    }
    auto* lock = static_cast<struct flock*>(argument);
    lock->l_pid = 0;  // the kernel refuses an open-file-description lock naming a process
    return ::fcntl(fd, openFileCommand, lock);
}

}  // namespace

bool UseOpenFileDescriptionLocks() {
    static bool replaced = false;
    static std::once_flag once;
    std::call_once(once, [] {
        sqlite3_vfs* unix = sqlite3_vfs_find(nullptr);
        replaced = unix != nullptr && unix->iVersion >= 3 && unix->xSetSystemCall != nullptr &&
                   unix->xSetSystemCall(
                       unix, "fcntl",
                       reinterpret_cast<sqlite3_syscall_ptr>(&FcntlWithOpenFileLocks)) == SQLITE_OK;
    });
    return replaced;
}
