// Game discovery on the machine the program runs on: the Windows registry on Windows, otherwise
// the Wine prefix found by FindWinePrefix, with the command line's overrides.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>

#include "platform/game_discovery.h"
#include "platform/registry.h"
#include "platform/wine_prefix.h"

namespace qh {

struct SystemDiscovery {
    GameEnvironment env;
    PrefixSearch prefixes;
    std::unique_ptr<RegistryView> registry;
    std::optional<std::filesystem::path> personalFolder;  // the player's documents folder
};

// `winePrefix` is --wine-prefix; $WINEPREFIX and $HOME are read from the environment.
SystemDiscovery DiscoverOnThisSystem(const std::optional<std::filesystem::path>& winePrefix,
                                     const DiscoveryOverrides& overrides);

}  // namespace qh
