// The genetics panel's rules: a sim's own hair and eye colour (its property set) and eight of the
// sixteen genes of its genetic record, each chosen from the game's colours of its kind or from the
// custom genes the player installed.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "character/character.h"
#include "genetics/dna.h"
#include "genetics/gene_catalogue.h"
#include "platform/game_environment.h"
#include "workspace/model.h"

namespace qh {

// The value of "NA" in a selector: thirty-six zeros.
inline constexpr std::string_view kNoGeneValue = "000000000000000000000000000000000000";

struct GeneColour {
    const char* text;   // "Black Hair"
    const char* value;  // the gene's GUID text
};
// The game's own colours of a kind, "NA" first.
std::span<const GeneColour> BuiltInColours(GeneKind kind);

// One selector of the panel: a field of the sim (hairColor, eyeColor) or of its genetic record.
struct GeneSelector {
    const char* control;  // "cbHairColor"
    const char* caption;  // "Hair Color:"
    GeneKind kind;
    std::string Character::*simField;  // or null
    const char* dnaField;              // or null
    bool rebuildsPackage;              // the game must draw the sim anew
};
std::span<const GeneSelector> GeneSelectors();

// The value a selector shows, from the sim or its record ("NA" for a record the sim lacks).
std::string GeneValue(const Workspace& workspace, const Character& sim, const GeneSelector& selector);

// Why the sim's genes cannot be changed (a pet with Pets installed, no genetic record, one kept as
// it is), else "". The sim's own colours need only the sim.
std::string GeneRefusal(const Workspace& workspace, const Character& sim, const GeneSelector& selector, bool hasPets);

// Sets one selector's value: a gene's GUID text, or "NA" / thirty-six zeros for none (stored as
// thirty-six zeros, as the panel's "NA" does). The record and the sim are marked changed (the game
// reads the two together); skin tone, eye and hair colour mark the sim's package to be rebuilt.
std::string SetSimGene(Workspace& workspace, Character& sim, const GeneSelector& selector, std::string_view value,
                       bool hasPets);
// A selector by its control, its caption without the colon, or its field's name ("skinTone",
// "hairColor"); skinColor (the sim's own skin, no selector of the panel) is one too.
const GeneSelector* FindGeneSelector(std::string_view name);

// Where custom genes are looked for: the Downloads, SavedSims and Teleport folders of the data
// folder in use, then of every other edition found, each once.
std::vector<std::filesystem::path> GeneFolders(const GameEnvironment& env, std::span<const std::filesystem::path> otherDataFolders);

// The search of the open game: the folders of every edition found and the cache in the settings
// folder (none for settings held in memory). Progress and cancelling are the caller's.
struct GameSession;
GeneScanOptions GeneScanFor(const GameSession& session);

// A selector's entries: the game's colours of its kind, then the custom genes of that kind in
// catalogue order, each "* " and its name. `value` is what the entry stores.
struct GeneEntry {
    std::string text;
    std::string value;
};
std::vector<GeneEntry> GeneEntries(GeneKind kind, std::span<const GeneMod> customGenes);
// The entry a stored value shows: the game's colour, else the first custom gene of that family;
// none when nothing matches (the panel then shows the value as it is, and keeps it).
std::optional<std::size_t> GeneEntryOf(std::span<const GeneEntry> entries, std::string_view value);

}  // namespace qh
