// quillhaven-cli backup, backups, restore, delete-backup, archive-location and replace-picture:
// the neighborhood panel's commands on whole neighborhoods from a shell.
#pragma once

#include <CLI/CLI.hpp>

#include "cli/context.h"
#include "platform/reporter.h"

namespace qh::cli {

void AddBackupCommands(CLI::App& app, const GlobalOptions& options, Reporter& reporter);

}  // namespace qh::cli
