// What start-up finds out about the game: one value, passed to whoever needs it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

namespace qh {

struct GameEnvironment {
    std::filesystem::path userDataFolder;       // ...\EA Games\<DisplayName>\ ; empty when unknown
    std::filesystem::path neighborhoodsFolder;  // userDataFolder + Neighborhoods
    std::filesystem::path objectsPackagePath;   // of the last installation found; may be empty
    bool hasUniversity = false;
    bool hasNightlife = false;  // Nightlife or Deluxe
    bool hasOpenForBusiness = false;
    bool hasPets = false;
    bool hasSeasons = false;
    bool hasBonVoyage = false;
    bool hasFreeTime = false;
    bool hasApartmentLife = false;
    int languageCode = 1;
    std::string uiFontName = "Arial";
    std::uint8_t uiCharset = 0;

    // For each value above (by its name), where it came from: which key of which file, which
    // command-line option, or that it was not found.
    std::map<std::string, std::string> sources;
};

}  // namespace qh
