// The in-memory model of one loaded neighborhood.
//
// One Workspace owns every record of the neighborhood from one load to the next; loading another
// neighborhood replaces it whole and drops unsaved changes. The object catalogue lives beside it
// for the whole run.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "character/character.h"
#include "family/family_tie.h"
#include "genetics/dna.h"
#include "household/household.h"
#include "platform/file_io.h"
#include "platform/paths.h"
#include "relationship/relationship.h"
#include "workspace/lots_objects.h"
#include "workspace/neighborhood_item.h"

namespace qh {

// Where the sims' section of the neighborhood data resource lies, remembered for the save.
struct NeighborhoodDataLayout {
    std::uint32_t version = 0;
    std::size_t simsSectionStart = 0;
    std::size_t simsSectionEnd = 0;
    std::size_t restLength = 0;
    std::uint32_t defaultOwnerWord = 0;
};

// A sim description resource of the neighborhood package: whom it describes.
struct StoredDescription {
    std::uint32_t instanceId = 0;
    Guid4 guid{};
};

struct Workspace {
    std::string prefix;                       // the loaded neighborhood
    std::filesystem::path neighborhoodFolder;
    std::filesystem::path packagePath;
    std::filesystem::path charactersFolder;

    // The sims in load order (their package files sorted by name). The selector's order is the
    // window's business; the core finds a sim through the lookups below, built at load.
    std::vector<Character> characters;
    std::unordered_map<std::uint32_t, std::size_t> simByInstance;  // instanceId (not 0) -> index
    std::unordered_map<std::uint32_t, std::size_t> simByGuid;      // GuidValue(simGuid) -> index
    // Every sim description of the package whose GUID could be read, in index order, whether or
    // not a character file matched it (the neighborhood check joins the two).
    std::vector<StoredDescription> descriptionList;
    std::vector<Household> households;  // in the package's index order
    std::unordered_map<std::uint32_t, std::size_t> householdByInstance;  // instanceId -> index
    // Instance ids of household resources that could not be read: who they list is unknown.
    std::vector<std::uint32_t> unreadableHouseholds;
    std::vector<LotDesc> lotDescList;
    // The ties of the first family-ties resource, in the order read and then appended. Ties can
    // be changed and saved only when that resource exists, could be read and holds nothing the
    // reader does not explain (`familyTiesStored`); otherwise the save carries the package's own as
    // it is. A tree read but laid out otherwise than the writer would is shown
    // (`familyTiesUnexplained`).
    std::vector<FamilyTie> familyTieList;
    bool familyTiesStored = false;
    bool familyTiesUnexplained = false;
    // One record per genetic resource, in index order; the lookup by instance id names the
    // record of each sim that has exactly one (two for one sim: both are kept as they are).
    std::vector<DNA> dnaList;
    std::unordered_map<std::uint32_t, std::size_t> dnaByInstance;
    std::vector<DNA> dnaAsSaved;
    // One record per readable relationship resource in the package's index order, then those
    // made in memory. The lookup is the positions sorted by pair (workspace/relationships.h).
    std::vector<RelationshipRecord> relationshipList;
    // The pairs (RelationshipInstance, sorted) whose resource could not be read: carried as they
    // are, never edited, and never given a second resource.
    std::vector<std::uint32_t> unreadableRelationships;
    // The records and the ties as the file held them at the load or the last save. A save writes
    // only what differs from them (the player's edits), and writes those edits onto the file as
    // it is now, so a forced save keeps what the game changed meanwhile. A record past the end of
    // the list (undone after it was saved) names a resource this program added.
    std::vector<RelationshipRecord> relationshipsAsSaved;
    std::vector<FamilyTie> familyTiesAsSaved;
    // The same for the sims (by character package file), the households (one per household, in
    // their order) and the sims' items, so a forced save writes only the player's edits of them.
    std::unordered_map<std::string, Character> charactersAsSaved;
    std::vector<Household> householdsAsSaved;
    std::vector<NeighborhoodItem> simItemsAsSaved;
    std::vector<std::size_t> relationshipOrder;
    std::vector<std::uint32_t> relationshipOrderKeys;  // the pair key of each place of the order
    std::vector<NeighborhoodItem> simItemList;
    std::vector<NeighborhoodItem> familyItemList;
    std::vector<NeighborhoodItem> lotItemList;
    std::optional<NeighborhoodDataLayout> neighborhoodData;  // unset when none could be read
    // How many character files the game handles here (it depends on the expansions installed), and
    // the findings of the model's checks as the files hold it (after the load or the last save):
    // a save that would add one asks first.
    std::size_t characterLimit = 32767;
    std::vector<std::string> findingKeysAsSaved;
    // Why this neighborhood must not be saved (a resource of its package failed to decode), or
    // empty.
    std::string saveRefusal;
    // Sims deleted since the load or the last save: the next save drops their descriptions, genetic
    // records and relationship resources from the package (workspace/sim_removal.h).
    std::vector<StoredDescription> deletedSims;

    // What each file looked like when it was loaded (or last saved), so a save can tell whether
    // something else (the game) changed it meanwhile.
    FileStamps loadedFiles;
};

// Takes the sims, the households and the sims' items as what the files hold: after a load, and
// after a save wrote them.
void RememberAsSaved(Workspace& workspace);

// Builds the sim lookups from `characters`; to be called whenever a sim is added or removed. The
// first sim with an instance id or GUID is the one found.
void IndexSims(Workspace& workspace);
Character* FindSimByInstance(Workspace& workspace, std::uint32_t instanceId);
// The sim's genetic record, or null (none, or two for the sim).
DNA* FindDna(Workspace& workspace, std::uint32_t instanceId);
const DNA* FindDna(const Workspace& workspace, std::uint32_t instanceId);
Character* FindSimByGuid(Workspace& workspace, const Guid4& guid);
// The index of the sim whose character package has the file name (any case), if any.
std::optional<std::size_t> FindSimByFile(const Workspace& workspace, std::string_view file);

}  // namespace qh
