// The open game: what discovery found, the program's settings, the player's neighborhoods and the
// one that is loaded. The window, the command-line tool and the tests all hold one of these.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/game_discovery.h"
#include "platform/game_editions.h"
#include "platform/game_environment.h"
#include "platform/progress.h"
#include "platform/registry.h"
#include "platform/reporter.h"
#include "platform/settings.h"
#include "platform/wine_prefix.h"
#include "workspace/lots_objects.h"
#include "workspace/model.h"
#include "workspace/neighborhood_catalogue.h"

namespace qh {

// The options both front ends take, as typed. `ResolveSharedOptions` is their one reader.
struct SharedOptions {
    std::optional<std::filesystem::path> winePrefix;  // --wine-prefix
    std::optional<std::filesystem::path> userData;    // --user-data
    std::optional<std::filesystem::path> objects;     // --objects
    std::optional<std::filesystem::path> settings;    // --settings
    std::optional<std::string> expansions;            // --expansions
    std::optional<std::string> language;              // --language
    std::optional<int> languageSwitch;                // the game's own "/l CODE"
};

// A shared option that cannot be used; the text names the option and what it accepts.
class OptionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Checks the typed options and turns them into discovery's overrides. Throws OptionError for an
// expansion list or a language the program does not know.
DiscoveryOverrides ResolveSharedOptions(const SharedOptions& options);

struct GameSession {
    GameEnvironment env;
    PrefixSearch prefixes;
    // Every edition of the game found (one per data folder) and the one in use.
    EditionSearch editions;
    std::optional<std::size_t> edition;
    std::string whereLooked;  // where discovery looked, for the message when nothing was found
    std::unique_ptr<RegistryView> registry;
    std::optional<std::filesystem::path> personalFolder;
    std::unique_ptr<Settings> settings;
    std::vector<Neighborhood> catalogue;
    std::vector<OBJd> objectCatalogue;
    Workspace workspace;
    std::optional<std::size_t> loaded;  // the catalogue entry the workspace holds
    int colorScheme = 1;

    Neighborhood* LoadedNeighborhood() { return loaded ? &catalogue[*loaded] : nullptr; }
    const Neighborhood* LoadedNeighborhood() const { return loaded ? &catalogue[*loaded] : nullptr; }
};

// Discovery on this system with the options' overrides (throws OptionError for bad options). When
// more than one edition is found, the one whose data folder the settings remember ("UserData") is
// used, else the first with neighborhoods.
void DiscoverGame(GameSession& session, const SharedOptions& options);

// Makes the found edition the one in use (its data folder, language, expansions and objects, with
// the options' overrides); the catalogue is then to be scanned again.
void UseEdition(GameSession& session, std::size_t edition, const SharedOptions& options);

// How the data folder in use was found, for the status line, when no key of the game named it
// (found by its folder name, or chosen by the player); empty otherwise.
std::string DataFolderStatus(const GameSession& session);

// "Unable to continue, Game User Data Not Found." followed by where discovery looked and how to
// name the folder.
std::string UserDataNotFound(const GameSession& session);

// Lists the player's neighborhoods into the catalogue; throws when the game's data cannot be
// reached ("Unable to continue, Game User Data Not Found.").
void ScanCatalogue(GameSession& session, Reporter& reporter);

// The catalogue entry with the prefix (any case), if any.
std::optional<std::size_t> FindNeighborhood(const GameSession& session, std::string_view prefix);

// Loads the catalogue entry into the workspace. When the load fails the workspace is empty and no
// neighborhood counts as loaded.
void LoadSessionNeighborhood(GameSession& session, std::size_t entry, Reporter& reporter, Progress& progress);

}  // namespace qh
