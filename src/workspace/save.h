// Writing the model back into the game's files.
//
// A save always rebuilds the neighborhood package (every resource uncompressed, the sims'
// descriptions patched from the changed sims, the neighborhood's names and the sims' part of the
// neighborhood data rewritten) and then the character package of every changed sim (its names
// and colours, and its pictures dropped when they are out of date). Each file is replaced
// atomically. Before anything is written, every file the save would write is checked against
// what was loaded: if the game (or anything else) changed one meanwhile, nothing is written
// unless the caller says to overwrite. The whole save holds the neighborhood folder's lock, so a
// second editor waits for it or is refused.
#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "package/rebuild.h"
#include "platform/file_io.h"
#include "platform/progress.h"
#include "platform/reporter.h"
#include "relationship/relationship.h"
#include "workspace/model.h"
#include "workspace/neighborhood_check.h"
#include "workspace/neighborhood_catalogue.h"

namespace qh {

struct SaveOptions {
    int languageCode = 1;
    bool overwriteNewerFiles = false;  // the player chose to overwrite files changed since loading
    FaultHook hook;                    // passed to every file replacement (tests)
    // Who saves, for another editor's message while this save holds the neighborhood's lock, and
    // how long to wait for that lock when another holds it.
    std::string programName = "Quillhaven";
    std::chrono::milliseconds lockWait{3000};
    // Save even when the model would add findings to the neighborhood's check (the player agreed).
    bool allowNewFindings = false;
};

struct SaveResult {
    // Files changed on disk since they were loaded; when not empty and not overwriting, nothing
    // was written.
    std::vector<std::filesystem::path> changedOnDisk;
    // Set when another program held the neighborhood's lock: its own words, or empty when it
    // left none; nothing was written.
    std::optional<std::string> lockedBy;
    bool overwroteChanges = false;  // the caller said to overwrite them, and the save went on
    bool neighborhoodSaved = false;
    std::vector<std::string> failedCharacterFiles;
    // Sims whose description resource could not be rewritten (kept as it was); they stay changed.
    std::vector<std::string> unsavedDescriptions;
    // What the save would have added to the neighborhood's check; when not empty and not allowed,
    // nothing was written.
    std::vector<Finding> newFindings;
    std::size_t charactersSaved = 0;
    std::uintmax_t bytesWritten = 0;
    bool Complete() const {
        return (changedOnDisk.empty() || overwroteChanges) && newFindings.empty() && neighborhoodSaved && failedCharacterFiles.empty() &&
               unsavedDescriptions.empty();
    }
};

// The files the save would write that no longer look as they did when loaded (or last saved).
std::vector<std::filesystem::path> FilesChangedSinceLoad(const Workspace& workspace);

SaveResult SaveNeighborhood(Workspace& workspace, Neighborhood& neighborhood, const SaveOptions& options,
                            Reporter& reporter, Progress& progress);

// What the neighborhood package's writer sees of each entry; writers of further record types plug
// in here.
struct SaveContext {
    SaveContext(Workspace& w, Neighborhood& n, const SaveOptions& o, Reporter& r)
        : workspace(w), neighborhood(n), options(o), reporter(r) {}
    Workspace& workspace;
    Neighborhood& neighborhood;
    const SaveOptions& options;
    Reporter& reporter;
    bool neighborhoodDataWritten = false;
    bool familyTiesWritten = false;
    bool namesWritten = false;
    // The package changed since the load and the player chose to overwrite: each record written
    // takes only the player's edits onto what the file holds now.
    bool mergeIntoFile = false;
    // The changed sims by GUID, built once before the walk, so each description finds its sims
    // in one lookup.
    std::unordered_map<std::uint32_t, std::vector<std::size_t>> changedSimsByGuid;
    // Descriptions that could not be rewritten and were kept as they were; said once.
    bool toldDescriptionsKept = false;
    std::vector<std::size_t> simsNotWritten;
    // The relationship resources seen so far per pair: the n-th resource of a pair is written from
    // the pair's n-th record, so a pair stored twice keeps both.
    // Counted at the place where the pair's run begins in the lookup's order.
    std::vector<std::uint32_t> relationshipsSeen;
    // Resources this program appended whose records were undone after that save, by pair: those
    // leave the package (any other resource without a record is the game's, and stays).
    std::unordered_map<std::uint32_t, std::uint32_t> undoneAppended;
    // The pairs whose resources may come out otherwise than the file holds them: a record that
    // differs from what the file held at the last load or save (or is new, or has no saved self),
    // or a resource undone as above. Every other relationship resource is carried as it is, which
    // spares a large neighborhood's save a lookup for each of its hundreds of thousands.
    std::unordered_set<std::uint32_t> relationshipPairsToWrite;
    // Whether the items and the family ties differ from what the file held.
    bool simItemsChanged = false;
    bool familyTiesChanged = false;
    // The neighborhood data's layout as the new file lays it out, taken once the file is written.
    std::optional<NeighborhoodDataLayout> neighborhoodDataWrittenLayout;
    // The household resources seen so far per instance id, for the n-th from the n-th record.
    std::unordered_map<std::uint32_t, std::uint32_t> householdsSeen;
    // Each record written (from an existing resource or appended) and what its resource now says,
    // taken into the records once the package is saved.
    std::vector<std::pair<std::size_t, RelationshipWritten>> relationshipsWritten;
    // The sims deleted since the last save (and no sim of the list shares them): their
    // descriptions, genetic records and relationship resources leave the package.
    std::unordered_set<std::uint32_t> deletedIds;         // instance ids
    std::unordered_set<std::uint16_t> deletedRelationIds;  // their 16-bit ids in relationships
    std::unordered_set<std::uint32_t> deletedGuids;
};
using TypeWriter = EntryOutcome (*)(SaveContext& context, const IndexEntry& entry,
                                    std::span<const std::uint8_t> stored, PackageImage& image);

}  // namespace qh
