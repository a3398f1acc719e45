// quillhaven-cli info: what discovery found, as JSON.
#pragma once

#include <CLI/CLI.hpp>

#include "cli/context.h"
#include "platform/reporter.h"

namespace qh::cli {

void AddInfoCommand(CLI::App& app, const GlobalOptions& options);
// quillhaven-cli careers: the careers the game offers a sim of a life stage and species, with the
// installed expansions, as JSON.
void AddCareersCommand(CLI::App& app, const GlobalOptions& options);
// quillhaven-cli genes: the custom hair, skin and eye genes of Downloads, SavedSims and Teleport,
// as JSON; the files that could not be read in one message.
void AddGenesCommand(CLI::App& app, const GlobalOptions& options, Reporter& reporter);

}  // namespace qh::cli
