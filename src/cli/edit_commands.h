// Subcommands that change a neighborhood: set, save.
#pragma once

#include <CLI/CLI.hpp>

#include "cli/context.h"
#include "workspace/game_session.h"
#include "platform/reporter.h"

namespace qh::cli {

void AddEditCommands(CLI::App& app, const GlobalOptions& options, Reporter& reporter);

// Saves the loaded neighborhood (with `force`, over files changed on disk since the load) and
// prints what was written as JSON; an incomplete save is a UsageError.
// A save that would add findings to the neighborhood's check is refused, naming them, unless
// `allowNewFindings`.
void SaveLoaded(GameSession& session, bool force, Reporter& reporter, bool allowNewFindings = false);

}  // namespace qh::cli
