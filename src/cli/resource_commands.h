// Subcommands that decode single resources and pictures: resource, objects, picture.
#pragma once

#include <CLI/CLI.hpp>

#include "cli/context.h"
#include "platform/reporter.h"

namespace qh::cli {

void AddResourceCommands(CLI::App& app, const GlobalOptions& options, Reporter& reporter);

}  // namespace qh::cli
