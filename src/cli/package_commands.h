// The package subcommands: index, extract, expand.
#pragma once

#include <CLI/CLI.hpp>

#include "platform/reporter.h"

namespace qh::cli {

void AddPackageCommands(CLI::App& app, Reporter& reporter);

}  // namespace qh::cli
