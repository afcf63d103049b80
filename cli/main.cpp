// lvcfg-cli: modules and .cfg files from the command line, for scripts and stations without a
// desktop.
#include "cli/cli_app.h"

int main(int argc, char** argv) {
    return RunCli(argc, argv);
}
