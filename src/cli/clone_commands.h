// `clone`: make a clone file of a sim, apply one to a sim, or copy a sim's attributes onto another.
#pragma once

#include <CLI/CLI.hpp>

#include "cli/context.h"
#include "platform/reporter.h"

namespace qh::cli {

void AddCloneCommands(CLI::App& app, const GlobalOptions& options, Reporter& reporter);

}  // namespace qh::cli
