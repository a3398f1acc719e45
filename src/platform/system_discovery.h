// Game discovery on the machine the program runs on: the Windows registry on Windows, otherwise
// every Wine prefix found by FindWinePrefix, with the command line's overrides.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/game_discovery.h"
#include "platform/game_editions.h"
#include "platform/registry.h"
#include "platform/wine_prefix.h"

namespace qh {

struct SystemDiscovery {
    GameEnvironment env;  // of the chosen edition, with the overrides
    PrefixSearch prefixes;
    std::unique_ptr<RegistryView> registry;  // of the chosen edition
    std::optional<std::filesystem::path> personalFolder;  // the player's documents folder
    // Every edition found (one per data folder), the one in use, what was passed over and where
    // discovery looked.
    EditionSearch editions;
    std::optional<std::size_t> chosen;
};

struct SystemDiscoveryInput {
    std::optional<std::filesystem::path> winePrefix;  // --wine-prefix
    std::optional<std::filesystem::path> remembered;  // the data folder the player chose last
    // Where to look besides the game's own places; by default $WINEPREFIX and $HOME.
    std::optional<std::string> winePrefixVariable;
    std::filesystem::path home;
};

// `winePrefix` is --wine-prefix; $WINEPREFIX and $HOME are read from the environment.
SystemDiscovery DiscoverOnThisSystem(const std::optional<std::filesystem::path>& winePrefix,
                                     const DiscoveryOverrides& overrides,
                                     const std::optional<std::filesystem::path>& remembered = std::nullopt);
// The same with the environment given.
SystemDiscovery DiscoverOnThisSystem(const SystemDiscoveryInput& input, const DiscoveryOverrides& overrides);

// Where discovery looked, one place per line, for the message that says nothing was found.
std::string WhereDiscoveryLooked(const SystemDiscovery& discovery);

}  // namespace qh
