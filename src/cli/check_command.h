// `check PREFIX`: the neighborhood's findings, read-only.
#pragma once

#include <CLI/CLI.hpp>

#include "cli/context.h"
#include "platform/reporter.h"

namespace qh::cli {

// Exit codes: 0 clean (notices at most), 1 something damaged or inconsistent, 2 the neighborhood
// cannot be read.
void AddCheckCommand(CLI::App& app, const GlobalOptions& options, Reporter& reporter);

}  // namespace qh::cli
