// The player's neighborhoods, found before one is loaded.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <span>
#include <vector>

#include "package/extract.h"
#include "package/index.h"

#include "platform/progress.h"
#include "platform/reporter.h"

namespace qh {

struct Neighborhood {
    std::string prefix;  // the folder name and file prefix, such as N001
    std::filesystem::path packagePath;
    std::string ngbdName;         // UTF-8 bytes of the game's text list
    std::string ngbdDescription;
    std::string versionText;      // at most 36 characters
    std::uint8_t dirty = 0;

    // The selector's text: prefix, " : ", the decoded, trimmed name.
    std::string Text() const;

    friend bool operator==(const Neighborhood&, const Neighborhood&) = default;
};

// The player's edits of the neighborhood's name and description (UTF-8), marking it changed.
void SetNeighborhoodName(Neighborhood& neighborhood, const std::string& name);
void SetNeighborhoodDescription(Neighborhood& neighborhood, const std::string& description);

// The order of the neighborhood selector (by text, letter case aside).
bool ListTextLess(const std::string& a, const std::string& b);

// Every folder of `neighborhoodsFolder` named N*, G*, F* or E* holding its package
// (<P>/<P>_Neighborhood.package), sorted by text. A package with an empty index is reported
// ("An Index Error was found in ...") and left out; any other error propagates.
std::vector<Neighborhood> ScanNeighborhoods(const std::filesystem::path& neighborhoodsFolder,
                                            int languageCode, Reporter& reporter, Progress& progress);

// Reads the name, description and version text of a neighborhood package (its file, with what its
// compressed-resource directory lists, or its expanded image) into the record.
void ReadNeighborhoodTexts(std::span<const std::uint8_t> package, const std::vector<IndexEntry>& entries,
                           PackageSource source, int languageCode, Neighborhood& neighborhood,
                           Reporter& reporter, const CompressedListing& listing = CompressedListing());

}  // namespace qh
