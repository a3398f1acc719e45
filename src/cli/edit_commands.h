// Subcommands that change a neighborhood: set, save.
#pragma once

#include <CLI/CLI.hpp>

#include "cli/context.h"
#include "platform/reporter.h"

namespace qh::cli {

void AddEditCommands(CLI::App& app, const GlobalOptions& options, Reporter& reporter);

}  // namespace qh::cli
