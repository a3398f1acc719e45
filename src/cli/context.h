// The options every subcommand takes, and what they lead to: the game's environment and the
// program's settings.
#pragma once

#include <CLI/CLI.hpp>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/game_environment.h"
#include "platform/registry.h"
#include "platform/settings.h"
#include "platform/wine_prefix.h"
#include "workspace/game_session.h"

namespace qh::cli {

using GlobalOptions = SharedOptions;

void AddGlobalOptions(CLI::App& app, GlobalOptions& options);

// Runs game discovery as the window does at start-up, with the command line's overrides; a
// shared option that cannot be used is a UsageError.
void Discover(const GlobalOptions& options, GameSession& session);

// The settings file given by --settings, else QSettings' own file for the program when there is
// one (read, so the tool sorts as the window does), else defaults in memory.
std::unique_ptr<Settings> OpenSettings(const GlobalOptions& options);
// The window's own settings file (QSettings' INI file for the program), empty without a home.
std::filesystem::path WindowSettingsPath();

}  // namespace qh::cli
