// quillhaven-cli tree: a sim's family from grandparents to grandchildren, as JSON or as an SVG
// picture, drawn from the same chart the Family Tree panel draws.
#pragma once

#include <CLI/CLI.hpp>

#include "cli/context.h"
#include "platform/reporter.h"

namespace qh::cli {

void AddTreeCommand(CLI::App& app, const GlobalOptions& options, Reporter& reporter);

}  // namespace qh::cli
