// The demo game: a complete fake installation for running, testing and benchmarking the
// program without the game. Everything is generated; nothing is copied from the game.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "demo_neighborhoods.h"

namespace qh::demo {

struct DemoGame {
    std::filesystem::path root;         // the folder given
    std::filesystem::path prefix;       // a Wine prefix: system.reg, user.reg, drive_c, dosdevices
    std::filesystem::path userData;     // ...Documents/EA Games/<the edition's folder>
    std::filesystem::path objectsPackage;  // of the last installation in the registry
    std::vector<DemoNeighborhood> neighborhoods;
};

// Which edition's registry and folders the demo game is laid out as.
enum class Edition {
    Retail,    // the discs: HKLM\Software\EA GAMES\The Sims 2…, "Install Dir" per pack
    Ultimate,  // the Ultimate Collection: the same keys, "The Sims™ 2 Ultimate Collection"
    Legacy,    // the Legacy Collection: HKCU\Software\Electronic Arts\The Sims 2 Ultimate Collection 25
};

struct DemoOptions {
    Edition edition = Edition::Retail;
    // The Legacy Collection's DisplayName (its data folder's name); localized installs use
    // another ("Los Sims 2 Legado").
    std::string legacyName = "The Sims 2 Legacy";
    std::uint32_t legacyLanguage = 1;  // the Legacy Collection's own language number
    // Also N002, "Crooked Creek": Pleasant Valley with one problem of each kind the neighborhood
    // check finds (the generator writes it; tests ask for it).
    bool damagedNeighborhood = false;
};

// Writes the demo game under `root` (created when missing) and says where its parts are.
DemoGame WriteDemoGame(const std::filesystem::path& root, const DemoOptions& options = {});

// Parses "legacy", "ultimate" or "retail".
std::optional<Edition> EditionNamed(std::string_view name);

}  // namespace qh::demo
