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

namespace qh::cli {

struct GlobalOptions {
    std::optional<std::filesystem::path> winePrefix;
    std::optional<std::filesystem::path> userData;
    std::optional<std::filesystem::path> objects;
    std::optional<std::filesystem::path> settings;
    std::optional<std::string> expansions;
    std::optional<std::string> language;
    std::optional<int> languageSwitch;  // "/l CODE", taken out of the arguments before parsing
};

void AddGlobalOptions(CLI::App& app, GlobalOptions& options);

struct Discovery {
    GameEnvironment env;
    PrefixSearch prefixes;
    std::unique_ptr<RegistryView> registry;
};

// Runs game discovery as the window does at start-up, with the command line's overrides.
Discovery Discover(const GlobalOptions& options);

// The settings file given by --settings, else QSettings' own file for the program when there is
// one (read, so the tool sorts as the window does), else defaults in memory.
std::unique_ptr<Settings> OpenSettings(const GlobalOptions& options);

}  // namespace qh::cli
