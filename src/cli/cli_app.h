// The command line of datawright-cli: five sub-commands parsed and validated by CLI11.
#pragma once

namespace dw::cli {

// Parses argv and runs the sub-command. Exit status: 0 success (and --help, --version, both on
// stdout), 1 the job failed, 2 a usage error (message on stderr), 130/143 a convert stopped by
// SIGINT/SIGTERM.
int RunCommandLine(int argc, char** argv);

}  // namespace dw::cli
