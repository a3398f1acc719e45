// `diff A B`: what changed between two saves of a neighborhood, in the player's words.
#pragma once

#include <CLI/CLI.hpp>

#include "cli/context.h"
#include "platform/reporter.h"

namespace qh::cli {

void AddDiffCommand(CLI::App& app, const GlobalOptions& options, Reporter& reporter);

}  // namespace qh::cli
