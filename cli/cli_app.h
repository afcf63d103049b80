#pragma once

// Reads the command line, runs the chosen command and gives the exit status.
[[nodiscard]] int RunCli(int argc, char** argv);
