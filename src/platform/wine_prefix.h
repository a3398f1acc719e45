// Finding the Wine prefix the game runs in, and mapping the game's Windows paths into it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace qh {

struct PrefixCandidate {
    std::filesystem::path path;
    std::string origin;  // "--wine-prefix", "WINEPREFIX", "Steam", "Lutris", "Bottles", "~/.wine"
    bool taken = false;
    std::string reason;  // why it was taken or passed over
};

struct PrefixSearch {
    std::vector<PrefixCandidate> considered;
    std::optional<std::filesystem::path> chosen;  // the first taken
    std::vector<std::filesystem::path> taken;     // every prefix holding a game or its data
};

struct PrefixSearchInput {
    std::optional<std::filesystem::path> explicitPrefix;  // --wine-prefix
    std::optional<std::string> winePrefixVariable;        // $WINEPREFIX
    std::filesystem::path home;                           // $HOME
};

// The prefix named on the command line, else $WINEPREFIX, else every prefix that holds the game's
// keys (the discs' in system.reg, the Legacy Collection's in user.reg) or a data folder of it,
// among those players use: Steam/Proton (under ~/.steam/steam, ~/.local/share/Steam,
// Flatpak Steam and every library Steam's libraryfolders.vdf lists), Lutris, Bottles, ~/.wine.
PrefixSearch FindWinePrefix(const PrefixSearchInput& input);

// True when the prefix's system.reg has a key of the base game (in either registry view).
bool PrefixHoldsGame(const std::filesystem::path& prefix);
// True when the prefix's user.reg has the Legacy Collection's key.
bool PrefixHoldsLegacyCollection(const std::filesystem::path& prefix);
// A data folder of the game (EA Games/<a known name> holding Neighborhoods) in the documents of a
// user of the prefix ("Documents" or the older "My Documents"), if any.
std::optional<std::filesystem::path> PrefixDataFolder(const std::filesystem::path& prefix);

// Maps "C:\Program Files\EA GAMES\The Sims 2" to the prefix: the drive through its dosdevices
// link (drive_c for C: when there is none), the rest matched without regard to case.
std::filesystem::path MapWindowsPath(const std::filesystem::path& prefix, std::string_view windowsPath);

// The player's documents folder inside the prefix: "Personal" of the user's "Shell Folders" or
// "User Shell Folders", else drive_c/users/<user>/Documents, then "My Documents". `source`
// receives where it came from.
std::optional<std::filesystem::path> WinePersonalFolder(const std::filesystem::path& prefix,
                                                        const RegistryView& registry,
                                                        std::string* source);

// The library folders listed in a Steam libraryfolders.vdf text.
std::vector<std::filesystem::path> ParseSteamLibraryFolders(std::string_view vdf);

}  // namespace qh
