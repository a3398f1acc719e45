// Subcommands on the player's neighborhoods: neighborhoods, dump.
#pragma once

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "cli/context.h"
#include "platform/reporter.h"
#include "workspace/model.h"
#include "workspace/neighborhood_catalogue.h"

namespace qh::cli {

void AddNeighborhoodCommands(CLI::App& app, const GlobalOptions& options, Reporter& reporter);

// A loaded neighborhood with everything the command needs to save it again.
struct Loaded {
    Discovery discovery;
    std::unique_ptr<Settings> settings;
    std::vector<Neighborhood> catalogue;
    Neighborhood* neighborhood = nullptr;
    Workspace workspace;
};

// Discovers the game, scans the neighborhoods and loads the one with the prefix (any case).
// Throws UsageError when there is none.
void LoadByPrefix(const GlobalOptions& options, const std::string& prefix, Reporter& reporter, Loaded& loaded);

nlohmann::ordered_json CharacterJson(const Character& sim);
nlohmann::ordered_json ItemJson(const NeighborhoodItem& item);

}  // namespace qh::cli
