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
#include <vector>

#include "character/character.h"
#include "family/family_tie.h"
#include "genetics/dna.h"
#include "household/household.h"
#include "platform/file_io.h"
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

struct Workspace {
    std::string prefix;                       // the loaded neighborhood
    std::filesystem::path neighborhoodFolder;
    std::filesystem::path packagePath;
    std::filesystem::path charactersFolder;

    std::vector<Character> characters;  // the character selector's order (sorted by listText)
    std::vector<Household> households;
    std::vector<LotDesc> lotDescList;
    std::vector<FamilyTie> familyTieList;
    std::vector<DNA> dnaList;
    std::vector<RelationshipRecord> relationshipList;
    std::vector<NeighborhoodItem> simItemList;
    std::vector<NeighborhoodItem> familyItemList;
    std::vector<NeighborhoodItem> lotItemList;
    std::optional<NeighborhoodDataLayout> neighborhoodData;  // unset when none could be read

    // What each file looked like when it was loaded (or last saved), so a save can tell whether
    // something else (the game) changed it meanwhile.
    std::map<std::filesystem::path, FileStamp> loadedFiles;
};

}  // namespace qh
