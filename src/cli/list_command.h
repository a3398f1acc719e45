// `list PREFIX`: one row per sim (or household), filtered, with chosen columns, as CSV or JSON.
#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "cli/context.h"
#include "platform/reporter.h"

namespace qh::cli {

void AddListCommand(CLI::App& app, const GlobalOptions& options, Reporter& reporter);

// One line of CSV (RFC 4180): a field holding a comma, a double quote, a line break or a blank at
// either end is quoted, with its double quotes doubled; lines end in CR LF.
std::string CsvLine(const std::vector<std::string>& fields);

}  // namespace qh::cli
