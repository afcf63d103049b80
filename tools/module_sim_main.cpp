// lvcfg-module-sim: simulated radio modules on pseudo-terminals, for trying lvcfg without
// hardware. It prints the port paths to type into lvcfg's port box and answers until stopped.

#include <signal.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/hex_text.h"
#include "tools/module_sim/simulated_module_set.h"

namespace {

constexpr const char* kUsage =
    "Usage: lvcfg-module-sim [options]\n"
    "A simulated radio module on a pseudo-terminal. Prints the port path to type into the\n"
    "port box of lvcfg, then answers Read (\"ATR0\") and Write (\"ATW0\" frame) requests until\n"
    "interrupted (Ctrl+C).\n"
    "\n"
    "  --role node|root          module type (default node)\n"
    "  --power 10|20             power class in dBm (default 10)\n"
    "  --band 433|470            band in MHz (default 433)\n"
    "  --crystal 26|27           crystal in MHz (default 26)\n"
    "  --mac \"4C 56 00 00 00 01\" MAC address, six hex bytes (default shown)\n"
    "  --name \"4C 75 ...\"       the name field's bytes in hex (up to 24; default the text\n"
    "                            \"Lumivaro KTR5520Q\"); bytes 4-11 of a frame must be the\n"
    "                            magic \"Lumivaro\" (4C 75 6D 69 76 61 72 6F) to be read\n"
    "  --count N                 N independent modules (1 to 64, default 1), one port each,\n"
    "                            one path per line; module i has the MAC plus i\n"
    "  --at-once                 answer at once instead of at 115200 bit/s\n"
    "  --misbehave NAME          misbehave on every request\n"
    "  --misbehave-once NAME     misbehave on the first request only\n"
    "  --pause MS                length of the mid-answer pause (default 100)\n"
    "  --ack-delay MS            how late store-late-ack answers (default 100)\n"
    "  --help                    show this text\n"
    "\n"
    "NAME is one of: silent, short, long, bad-magic, bad-crc, crc-high-first, pause, vanish,\n"
    "store-other, and these faults of a write alone (reads are answered as ever):\n"
    "  store-no-ack     stores the frame and never answers\n"
    "  store-late-ack   stores the frame and answers \"ATOK\" after --ack-delay MS\n"
    "  store-ater       stores the frame and answers \"ATER\"\n"
    "  store-hangup     stores the frame and hangs up for good\n"
    "  refuse           keeps its old block and answers \"ATER\"\n";

constexpr int kMaxModules = 64;

struct CommandLine {
    SimulatedModuleOptions options;
    Misbehaviour always = Misbehaviour::None;
    std::optional<Misbehaviour> once;
    int count = 1;
    bool help = false;
};

bool ParseChoice(std::string_view value, std::string_view a, std::string_view b, int& out) {
    if (value != a && value != b) {
        return false;
    }
    out = std::atoi(std::string(value).c_str());
    return true;
}

bool ParseMac(const std::string& text, ModuleIdentity& identity) {
    std::uint8_t count = 0;
    HexToBytes(text.c_str(), identity.mac.data(), count,
               static_cast<std::uint8_t>(identity.mac.size()));
    return count == identity.mac.size();
}

bool ParseName(const std::string& text, ModuleIdentity& identity) {
    std::array<std::uint8_t, 24> bytes{};
    std::uint8_t count = 0;
    HexToBytes(text.c_str(), bytes.data(), count, static_cast<std::uint8_t>(bytes.size()));
    identity.name.assign(bytes.begin(), bytes.begin() + count);
    return count > 0;
}

bool ParseMs(const std::string& value, std::chrono::milliseconds& ms) {
    const int number = std::atoi(value.c_str());
    ms = std::chrono::milliseconds(number);
    return number > 0 && value == std::to_string(number);
}

bool ParseOption(std::string_view name, const std::string& value, CommandLine& line) {
    auto& identity = line.options.identity;
    if (name == "--role") {
        if (value != "node" && value != "root") {
            return false;
        }
        identity.role = value == "root" ? ModuleRole::Root : ModuleRole::Node;
        return true;
    }
    if (name == "--power") {
        return ParseChoice(value, "10", "20", identity.powerDbm);
    }
    if (name == "--band") {
        return ParseChoice(value, "433", "470", identity.bandMHz);
    }
    if (name == "--crystal") {
        return ParseChoice(value, "26", "27", identity.crystalMHz);
    }
    if (name == "--mac") {
        return ParseMac(value, identity);
    }
    if (name == "--name") {
        return ParseName(value, identity);
    }
    if (name == "--ack-delay") {
        return ParseMs(value, line.options.ackDelay);
    }
    if (name == "--count") {
        line.count = std::atoi(value.c_str());
        return line.count >= 1 && line.count <= kMaxModules && value == std::to_string(line.count);
    }
    if (name == "--pause") {
        return ParseMs(value, line.options.pause);
    }
    const auto misbehaviour = MisbehaviourFromName(value);
    if (name == "--misbehave" && misbehaviour) {
        line.always = *misbehaviour;
        return true;
    }
    if (name == "--misbehave-once" && misbehaviour) {
        line.once = *misbehaviour;
        return true;
    }
    return false;
}

bool ParseCommandLine(int argc, char** argv, CommandLine& line) {
    line.options.pacing = Pacing::LineRate;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            line.help = true;
        } else if (arg == "--at-once") {
            line.options.pacing = Pacing::AtOnce;
        } else if (i + 1 >= argc || !ParseOption(arg, argv[i + 1], line)) {
            std::fprintf(stderr, "lvcfg-module-sim: bad option %s\n", argv[i]);
            return false;
        } else {
            ++i;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    CommandLine line;
    if (!ParseCommandLine(argc, argv, line)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (line.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    // Block the stop signals before the answering thread starts, so only sigwait sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    SimulatedModuleSet modules(line.options, static_cast<std::size_t>(line.count));
    for (std::size_t i = 0; i < modules.Count(); ++i) {
        modules.Module(i).MisbehaveAlways(line.always);
        if (line.once) {
            modules.Module(i).MisbehaveOnce(*line.once);
        }
    }
    if (!modules.Start()) {
        std::perror("lvcfg-module-sim: no pseudo-terminal");
        return 1;
    }
    const std::vector<std::string> paths = modules.PortPaths();
    for (const auto& path : paths) {
        std::printf("%s\n", path.c_str());
    }
    if (paths.size() == 1) {
        std::printf("Type %s into the port box of lvcfg. Ctrl+C stops the module.\n",
                    paths.front().c_str());
    } else {
        std::printf(
            "Type one of these paths into the port box of lvcfg. Ctrl+C stops the "
            "modules.\n");
    }
    std::fflush(stdout);
    int signal = 0;
    sigwait(&stopSignals, &signal);
    modules.Stop();
    return 0;
}
