// The demo game's neighborhoods: packages, lots, characters and pictures.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "character/character.h"
#include "household/household.h"
#include "workspace/lots_objects.h"
#include "workspace/neighborhood_item.h"

namespace qh::demo {

// What the generator wrote for one neighborhood, for tests to compare a load with.
struct DemoNeighborhood {
    std::string prefix;
    std::string name;         // language 1
    std::string description;
    std::string versionText;
    // Every sim as the loader should read it (picture aside): by package file name.
    std::vector<Character> sims;
    std::vector<LotDesc> lots;
    std::vector<NeighborhoodItem> simItems, familyItems, lotItems;
    // Every household as the loader should read it, in the package's order.
    std::vector<Household> households;
};

// N001 "Pleasant Valley" (fifteen sims of every life stage, three pets, a dead sim, young
// adults, descriptions in all eight formats, names in English and German, a sim whose package
// matches no description; households of four FAMI formats, one without a text list, one
// empty) and G001 "Alderwood College" (older neighborhood data format).
std::vector<DemoNeighborhood> WriteDemoNeighborhoods(const std::filesystem::path& neighborhoodsFolder);

// A large neighborhood for benchmarks: `sims` sims with portraits and body resources, `lots`
// lot packages, resources compressed as the game stores them.
DemoNeighborhood WriteLargeNeighborhood(const std::filesystem::path& neighborhoodsFolder,
                                        const std::string& prefix, int sims, int lots);

}  // namespace qh::demo
