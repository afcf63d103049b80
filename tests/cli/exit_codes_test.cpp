// Every command against simulated modules and files, good and bad, for its exit code and the
// exact text that names what went wrong.
#include <map>
#include <regex>

#include "cli_rig.h"
#include "model/config_frame.h"

namespace {

struct ExitCodeRow {
    const char* name;
    std::vector<std::string> args;  // "{good}" and the like stand for ports and files below
    int exitStatus;
    const char* errorText;  // found on standard error; "" for none expected
};

class CommandExitCodeTest : public CliTest, public ::testing::WithParamInterface<ExitCodeRow> {
  protected:
    // A port or file for a placeholder, made the first time it is asked for.
    std::string Resolve(const std::string& placeholder) {
        auto found = m_resolved.find(placeholder);
        if (found == m_resolved.end()) {
            found = m_resolved.emplace(placeholder, Make(placeholder)).first;
        }
        return found->second;
    }

    std::vector<std::string> Arguments(const std::vector<std::string>& args) {
        std::vector<std::string> resolved;
        const std::regex placeholder(R"(\{[a-z0-9]+\})");
        for (const std::string& arg : args) {
            std::string text;
            std::sregex_iterator it(arg.begin(), arg.end(), placeholder);
            std::size_t last = 0;
            for (; it != std::sregex_iterator(); ++it) {
                text += arg.substr(last, static_cast<std::size_t>(it->position()) - last);
                text += Resolve(it->str());
                last = static_cast<std::size_t>(it->position() + it->length());
            }
            resolved.push_back(text + arg.substr(last));
        }
        return resolved;
    }

  private:
    // The configuration file with one byte changed (in its stored, scrambled form).
    std::string Damaged(const std::string& name, std::size_t offset, std::size_t keep) {
        std::vector<std::uint8_t> bytes = ReadBytes(m_config);
        bytes.resize(keep);
        if (offset < bytes.size()) {
            bytes[offset] ^= 0x01;
        }
        const std::string path = m_folder.File(name);
        WriteBytes(path, bytes);
        return path;
    }

    std::string Make(const std::string& placeholder) {
        if (placeholder == "{good}") {
            return m_modules.Start({"--mac", "4C 56 00 00 00 20"});
        }
        if (placeholder == "{good2}") {
            return m_modules.Start({"--mac", "4C 56 00 00 00 21"});
        }
        if (placeholder == "{silent}") {
            return m_modules.Start({"--misbehave", "silent"});
        }
        if (placeholder == "{badcrc}") {
            return m_modules.Start({"--misbehave", "bad-crc"});
        }
        if (placeholder == "{storeother}") {
            return m_modules.Start({"--misbehave", "store-other"});
        }
        if (placeholder == "{short}") {
            return m_modules.Start({"--misbehave", "short"});
        }
        if (placeholder == "{origin}") {
            return m_modules.Start({"--mac", "4C 56 00 00 00 01"});  // the module of m_config
        }
        if (placeholder == "{config}") {
            return m_config;
        }
        if (placeholder == "{shortfile}") {
            return Damaged("short.cfg", kFrameSize, kFrameSize - 1);
        }
        if (placeholder == "{foreignfile}") {
            return Damaged("foreign.cfg", FrameOffset::kMagic, kFrameSize);
        }
        if (placeholder == "{damagedfile}") {
            return Damaged("damaged.cfg", FrameOffset::kNetworkIdLow, kFrameSize);
        }
        if (placeholder == "{missingfile}") {
            return m_folder.File("missing.cfg");
        }
        if (placeholder == "{out}") {
            return m_folder.File("out.cfg");
        }
        return "/dev/lvcfg-no-such-port";  // {missing}
    }

    std::map<std::string, std::string> m_resolved;
};

TEST_P(CommandExitCodeTest, ExitsWithItsCodeAndNamesTheFault) {
    const ProgramRun run = Cli(Arguments(GetParam().args));
    EXPECT_EQ(run.exitStatus, GetParam().exitStatus) << run.out << run.err;
    EXPECT_NE(run.err.find(GetParam().errorText), std::string::npos) << run.err;
    if (std::string(GetParam().errorText).empty()) {
        EXPECT_EQ(run.err, "");
    }
}

const ExitCodeRow kExitCodeRows[] = {
    {"ReadPlainModule", {"read", "--port", "{good}"}, 0, ""},
    {"ReadMissingPort", {"read", "--port", "{missing}"}, 3, "Failed to open the COM port!"},
    {"ReadFileAsPort", {"read", "--port", "{config}"}, 3, "Failed to open the COM port!"},
    {"ReadSilentModule", {"read", "--port", "{silent}"}, 1, "Module does not response!"},
    {"ReadBadCrcModule", {"read", "--port", "{badcrc}"}, 1, "The configuration block CRC error!"},
    {"ReadShortAnswer",
     {"read", "--port", "{short}"},
     1,
     "The configuration block length does not match!"},
    {"ReadIntoUnwritableFile",
     {"read", "--port", "{good}", "--output", "/proc/lvcfg.cfg"},
     4,
     "Failed to open the configurarion file!"},
    {"ShowFile", {"show", "{config}"}, 0, ""},
    {"ShowMissingFile", {"show", "{missingfile}"}, 4, "Failed to open the configurarion file!"},
    {"ShowShortFile", {"show", "{shortfile}"}, 4, "The configuration block length does not match!"},
    {"ShowForeignFile",
     {"show", "{foreignfile}"},
     4,
     "The configuration block verification word does not match!"},
    {"ShowDamagedFile", {"show", "{damagedfile}"}, 4, "The configuration block CRC error!"},
    {"SetField", {"set", "{config}", "network_id=7", "--output", "{out}"}, 0, ""},
    {"SetUnknownField", {"set", "{config}", "no_such_field=1"}, 2, "unknown field 'no_such_field'"},
    {"SetMistypedField",
     {"set", "{config}", "netwrok_id=1"},
     2,
     "unknown field 'netwrok_id' (did you mean network_id?)"},
    {"SetWithoutValue", {"set", "{config}", "network_id"}, 2, "malformed assignment 'network_id'"},
    {"SetUnreadableValue",
     {"set", "{config}", "network_id=seven"},
     2,
     "unreadable value 'seven' for field 'network_id'"},
    {"SetValueWithTrailingLetters",
     {"set", "{config}", "network_id=12abc"},
     2,
     "unreadable value '12abc' for field 'network_id'"},
    {"SetValueOutsideItsRange",
     {"set", "{config}", "start_freq_mhz=500"},
     2,
     "value '500' for field 'start_freq_mhz' is outside its range 410 to 480"},
    {"SetDamagedFile",
     {"set", "{damagedfile}", "network_id=7"},
     4,
     "The configuration block CRC error!"},
    {"WritePlainModule", {"write", "--port", "{good}", "--config", "{config}"}, 0, ""},
    {"WriteWithMac",
     {"write", "--port", "{good}", "--config", "{config}", "--mac", "4C:56:00:00:00:09"},
     0,
     ""},
    {"WriteMalformedMac",
     {"write", "--port", "{good}", "--config", "{config}", "--mac", "4C-56-00-00-00-09"},
     2,
     "malformed MAC address '4C-56-00-00-00-09'"},
    {"WriteMissingPort",
     {"write", "--port", "{missing}", "--config", "{config}"},
     3,
     "Failed to open the COM port!"},
    {"WriteSilentModule",
     {"write", "--port", "{silent}", "--config", "{config}"},
     1,
     "Module does not response!"},
    {"WriteModuleStoringOther",
     {"write", "--port", "{storeother}", "--config", "{config}"},
     5,
     "Verification failed: the module read back a block other than the one written (it differs "
     "in network_id)"},
    {"WriteModuleStoringOtherUnverified",
     {"write", "--port", "{storeother}", "--config", "{config}", "--no-verify"},
     0,
     ""},
    {"BatchWithModuleStoringOther",
     {"batch", "--config", "{config}", "--ports", "{good},{storeother},{missing}", "--mac-start",
      "4C:56:00:00:01:00"},
     5,
     "Verification failed"},
    {"WriteForeignFile",
     {"write", "--port", "{good}", "--config", "{foreignfile}"},
     4,
     "The configuration block verification word does not match!"},
    {"DiffFileWithItself", {"diff", "{config}", "{config}"}, 0, ""},
    {"DiffFileWithItsModule", {"diff", "{config}", "--port", "{origin}"}, 0, ""},
    {"DiffFileWithOtherModule", {"diff", "{config}", "--port", "{good}"}, 1, ""},
    {"DiffFileWithMissingFile",
     {"diff", "{config}", "{missingfile}"},
     4,
     "Failed to open the configurarion file!"},
    {"DiffWithoutSecond", {"diff", "{config}"}, 2, "--port"},
    {"DiffWithMissingPort",
     {"diff", "{config}", "--port", "{missing}"},
     3,
     "Failed to open the COM port!"},
    {"BatchOfTwo",
     {"batch", "--config", "{config}", "--ports", "{good},{good2}", "--mac-start",
      "4C:56:00:00:01:00"},
     0,
     ""},
    {"BatchWithMissingPort",
     {"batch", "--config", "{config}", "--ports", "{good},{missing}", "--mac-start",
      "4C:56:00:00:01:00"},
     3,
     "Failed to open the COM port!"},
    {"BatchWithSilentAndMissing",
     {"batch", "--config", "{config}", "--ports", "{silent},{missing}", "--mac-start",
      "4C:56:00:00:01:00"},
     3,
     "Module does not response!"},
    {"BatchPortListedTwice",
     {"batch", "--config", "{config}", "--ports", "{good},{good}", "--mac-start",
      "4C:56:00:00:01:00"},
     2,
     "is listed twice"},
    {"BatchMalformedMac",
     {"batch", "--config", "{config}", "--ports", "{good}", "--mac-start", "4C:56:00:00:01"},
     2,
     "malformed MAC address"},
    {"BatchWithoutPorts",
     {"batch", "--config", "{config}", "--mac-start", "4C:56:00:00:01:00"},
     2,
     "--ports or --watch"},
    {"UnknownOption", {"read", "--port", "{good}", "--frobnicate"}, 2, "--frobnicate"},
    {"UnknownCommand", {"frobnicate"}, 2, "frobnicate"},
    {"NoCommand", {}, 2, "subcommand"},
    {"Help", {"--help"}, 0, ""},
    {"Doctor", {"doctor"}, 0, ""},
    {"Ports", {"ports"}, 0, ""},
    {"PortsWatchWithoutFeed",
     {"ports", "--watch", "--arrivals-from", "{missingfile}"},
     3,
     "missing.cfg"},
};

INSTANTIATE_TEST_SUITE_P(Commands, CommandExitCodeTest, ::testing::ValuesIn(kExitCodeRows),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
