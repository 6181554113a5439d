// datawright-cli: the catalog conversion, the check-list jobs and the data-set tools from the
// command line.
#include "cli/cli_app.h"

int main(int argc, char** argv) { return dw::cli::RunCommandLine(argc, argv); }
