// quillhaven-cli info: what discovery found, as JSON.
#pragma once

#include <CLI/CLI.hpp>

#include "cli/context.h"

namespace qh::cli {

void AddInfoCommand(CLI::App& app, const GlobalOptions& options);

}  // namespace qh::cli
