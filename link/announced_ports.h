#pragma once

#include <map>
#include <optional>
#include <string>

// The ports the arrival watcher announced during this run: COM number to device path. The
// watcher fills it as modules arrive and leave; port-name resolution asks it first. Used on
// the user-interface thread only.
class AnnouncedPorts {
  public:
    // Records `path` as COM`number`, replacing an earlier announcement of that number.
    void Announce(int number, std::string path);
    void Forget(int number);
    [[nodiscard]] std::optional<std::string> Lookup(int number) const;

  private:
    std::map<int, std::string> m_paths;
};

// What a program that watches no arrivals has heard: nothing, so port names resolve by the
// naming rule alone (and a job on another thread never sees them change).
[[nodiscard]] const AnnouncedPorts& NoAnnouncedPorts();
