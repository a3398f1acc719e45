// `list PREFIX`: one row per sim (or household), filtered, with chosen columns, as CSV or JSON.
#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "cli/context.h"
#include "platform/reporter.h"

namespace qh::cli {

void AddListCommand(CLI::App& app, const GlobalOptions& options, Reporter& reporter);

}  // namespace qh::cli
