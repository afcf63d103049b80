#pragma once

#include <sys/stat.h>

#include <fstream>
#include <string>

// How many locks /proc/locks lists on the file at `path` (its inode), -1 when it is missing.
inline int LocksOn(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return -1;
    }
    const std::string inode = ":" + std::to_string(info.st_ino) + " ";
    std::ifstream locks("/proc/locks");
    int count = 0;
    for (std::string line; std::getline(locks, line);) {
        count += line.find(inode) != std::string::npos ? 1 : 0;
    }
    return count;
}
