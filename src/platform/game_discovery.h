// Finding the game's installations, the player's data folder and the game's language.
//
// The game records each installation (base game and expansions) under
// HKEY_LOCAL_MACHINE\Software\EA GAMES\<name> with its "Install Dir"; as a 32-bit program its keys
// may also sit under Software\Wow6432Node, so every key is looked up in both places. The folder of
// the player's data inside "EA Games" is the base game's "DisplayName", which differs by edition
// and language.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/game_environment.h"
#include "platform/registry.h"

namespace qh {

// How the game's Windows paths become local paths: identity on Windows, into the prefix under
// Wine.
class GamePaths {
public:
    virtual ~GamePaths() = default;
    // A path the registry gave ("C:\Program Files\EA GAMES\The Sims 2\").
    virtual std::filesystem::path Map(std::string_view windowsPath) const = 0;
    // The player's documents folder; `source` says where it came from.
    virtual std::optional<std::filesystem::path> PersonalFolder(std::string* source) const = 0;
};

// Game paths inside a Wine prefix.
class WineGamePaths final : public GamePaths {
public:
    WineGamePaths(std::filesystem::path prefix, const RegistryView& registry)
        : prefix_(std::move(prefix)), registry_(registry) {}
    std::filesystem::path Map(std::string_view windowsPath) const override;
    std::optional<std::filesystem::path> PersonalFolder(std::string* source) const override;

private:
    std::filesystem::path prefix_;
    const RegistryView& registry_;
};

#ifdef _WIN32
// Game paths on Windows: the registry's paths as they are, the shell's documents folder.
class WindowsGamePaths final : public GamePaths {
public:
    std::filesystem::path Map(std::string_view windowsPath) const override;
    std::optional<std::filesystem::path> PersonalFolder(std::string* source) const override;
};
#endif

struct ExpansionFlags {
    bool university = false, nightlife = false, openForBusiness = false, pets = false,
         seasons = false, bonVoyage = false, freeTime = false, apartmentLife = false;
};

// The expansions an environment says are installed.
ExpansionFlags InstalledExpansions(const GameEnvironment& env);

// Parses "university,pets", "all" or "none". Throws std::invalid_argument naming a wrong word.
ExpansionFlags ParseExpansionList(std::string_view list);

// What the command line says instead of the registry.
struct DiscoveryOverrides {
    std::optional<std::filesystem::path> userData;  // --user-data: the folder holding Neighborhoods
    std::optional<std::filesystem::path> objects;   // --objects
    std::optional<ExpansionFlags> expansions;       // --expansions
    std::optional<std::string> language;            // --language: a code or a LanguageName
    std::optional<int> languageSwitch;              // "/l CODE", applied after the font is chosen
};

struct LanguageInfo {
    int code = 1;
    const char* fontName = "Arial";
    std::uint8_t charset = 0;
};

// The language table: a "LanguageName" (any case) to its code, font and character set; anything
// else gives US English with Arial.
LanguageInfo LanguageFromName(std::string_view languageName);
// The table's row for a code (the first name of that code); unknown codes give Arial.
LanguageInfo LanguageFromCode(int code);
// A --language value: a code from 1 to 255 or a LanguageName of the table (any case); nothing
// for anything else.
std::optional<LanguageInfo> FindLanguage(std::string_view codeOrName);
// The names the table knows, for a message that lists them.
std::vector<std::string> LanguageNames();

// Finds "/l" (any case) in the arguments and returns the code after it: the number, or 1 when
// what follows is not a number from 1 to 255 (or nothing follows). The two arguments are removed.
std::optional<int> TakeLanguageSwitch(std::vector<std::string>& arguments);

// What the classic keys (the discs, the Ultimate Collection) give, without the command line's
// overrides. A DisplayName that is no plain folder name is passed over and said in `skipped`.
GameEnvironment ClassicEnvironment(const RegistryView* registry, const GamePaths* paths,
                                   std::vector<std::string>* skipped);

// The command line's overrides onto an environment.
void ApplyOverrides(GameEnvironment& env, const DiscoveryOverrides& overrides);

// Fills the environment from the registry (may be null when everything is overridden), the game
// paths (may be null likewise) and the overrides.
GameEnvironment DiscoverGame(const RegistryView* registry, const GamePaths* paths,
                             const DiscoveryOverrides& overrides);

}  // namespace qh
