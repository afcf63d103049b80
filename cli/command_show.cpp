// lvcfg-cli show: the identity and every setting a .cfg file holds.
#include "cli/command.h"
#include "cli/config_file.h"
#include "cli/listing_output.h"
#include "station/frame_listing.h"

namespace {

struct ShowOptions {
    std::string file;
};

ExitCode RunShow(const ShowOptions& options, Output& out) {
    const std::optional<ConfigFrame> frame = LoadConfigReporting(options.file, out);
    if (!frame) {
        return ExitCode::FileFailed;
    }
    const FrameListing listing = ListFrame(*frame);
    out.Result(ListingJson({{"event", "config"}, {"file", options.file}}, listing),
               ListingText(listing));
    return ExitCode::Success;
}

}  // namespace

void AddShowCommand(CLI::App& app, CommandRun& run) {
    auto options = std::make_shared<ShowOptions>();
    CLI::App* command =
        app.add_subcommand("show", "show the identity and every field of a .cfg file");
    command->add_option("file", options->file, "the .cfg file")->required();
    RunWhenParsed(*command, run, options, &RunShow);
}
