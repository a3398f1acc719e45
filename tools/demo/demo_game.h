// The demo game: a complete fake installation for running, testing and benchmarking the
// program without the game. Everything is generated; nothing is copied from the game.
#pragma once

#include <filesystem>
#include <vector>

#include "demo_neighborhoods.h"

namespace qh::demo {

struct DemoGame {
    std::filesystem::path root;         // the folder given
    std::filesystem::path prefix;       // a Wine prefix: system.reg, user.reg, drive_c, dosdevices
    std::filesystem::path userData;     // ...Documents/EA Games/The Sims 2
    std::filesystem::path objectsPackage;  // of the last installation in the registry
    std::vector<DemoNeighborhood> neighborhoods;
};

// Writes the demo game under `root` (created when missing) and says where its parts are.
DemoGame WriteDemoGame(const std::filesystem::path& root);

}  // namespace qh::demo
