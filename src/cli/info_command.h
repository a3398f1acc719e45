// quillhaven-cli info: what discovery found, as JSON.
#pragma once

#include <CLI/CLI.hpp>

#include "cli/context.h"

namespace qh::cli {

void AddInfoCommand(CLI::App& app, const GlobalOptions& options);
// quillhaven-cli careers: the careers the game offers a sim of a life stage and species, with the
// installed expansions, as JSON.
void AddCareersCommand(CLI::App& app, const GlobalOptions& options);

}  // namespace qh::cli
