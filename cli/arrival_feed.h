#pragma once

#include <memory>
#include <string>
#include <vector>

class AnnouncedPorts;

// A serial port plugged in ("add") or pulled out ("remove"), by the device to open.
struct PortChange {
    std::string action;
    std::string device;
};

// Where a watch learns of ports coming and going: udev on a real machine, or, for tests and
// benchmarks, a file or FIFO of "add PATH" / "remove PATH" lines. Its descriptor becomes
// readable when something waits.
class ArrivalFeed {
  public:
    virtual ~ArrivalFeed() = default;

    [[nodiscard]] virtual int Descriptor() const = 0;
    // Appends the changes that wait. false once the feed has ended (a scripted file's end).
    [[nodiscard]] virtual bool Take(std::vector<PortChange>& changes) = 0;
};

// The udev feed; nothing, with `failure` saying why, when udev cannot be watched here.
// `announced` learns each arrival's COM number and must outlive the feed.
[[nodiscard]] std::unique_ptr<ArrivalFeed> OpenUdevFeed(AnnouncedPorts& announced,
                                                        std::string& failure);

// The scripted feed read from `path`. A FIFO is opened for reading, which waits for its
// writer. Lines other than "add PATH" and "remove PATH" are skipped.
[[nodiscard]] std::unique_ptr<ArrivalFeed> OpenScriptedFeed(const std::string& path,
                                                            std::string& failure);

// The scripted feed when `scriptPath` is given, else the udev feed.
[[nodiscard]] std::unique_ptr<ArrivalFeed> OpenArrivalFeed(const std::string& scriptPath,
                                                           AnnouncedPorts& announced,
                                                           std::string& failure);
