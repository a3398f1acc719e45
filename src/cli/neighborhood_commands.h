// Subcommands on the player's neighborhoods: neighborhoods, dump.
#pragma once

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "cli/context.h"
#include "cli/json_stream.h"
#include "platform/reporter.h"
#include "workspace/model.h"
#include "workspace/skill_items.h"
#include "workspace/neighborhood_catalogue.h"

namespace qh::cli {

void AddNeighborhoodCommands(CLI::App& app, const GlobalOptions& options, Reporter& reporter);

// Discovers the game, scans the neighborhoods and loads the one with the prefix (any case).
// Throws UsageError when there is none.
void LoadByPrefix(const GlobalOptions& options, const std::string& prefix, Reporter& reporter, GameSession& session);

// A sim's fields, and what its panels show of it: `items` holds at least the sim's own items;
// `dna` is its genetic record (null: none).
nlohmann::ordered_json CharacterJson(const Character& sim, SortOrder order, std::span<const NeighborhoodItem> items,
                                     const GameEnvironment& env, const DNA* dna);
nlohmann::ordered_json ItemJson(const NeighborhoodItem& item);
nlohmann::ordered_json HouseholdJson(const Household& household);
nlohmann::ordered_json RelationshipJson(const RelationshipRecord& record);
// The same written as text, as the dump prints them (the same text as the values' own).
void WriteCharacterText(JsonText& text, const Character& sim, SortOrder order, std::span<const NeighborhoodItem> items,
                        const GameEnvironment& env, const DNA* dna);
void WriteItemText(JsonText& text, const NeighborhoodItem& item);
void WriteRelationshipText(JsonText& text, const RelationshipRecord& record);

}  // namespace qh::cli
