#include "workspace/game_session.h"

#include "workspace/neighborhood_check.h"

#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/system_discovery.h"
#include "platform/wine_registry.h"
#include "workspace/loader.h"

namespace qh {

DiscoveryOverrides ResolveSharedOptions(const SharedOptions& options) {
    DiscoveryOverrides overrides;
    overrides.userData = options.userData;
    overrides.objects = options.objects;
    overrides.languageSwitch = options.languageSwitch;
    if (options.expansions) {
        try {
            overrides.expansions = ParseExpansionList(*options.expansions);
        } catch (const std::invalid_argument& error) {
            throw OptionError(std::string("--expansions: ") + error.what());
        }
    }
    if (options.language) {
        if (!FindLanguage(*options.language)) {
            std::string names;
            for (const std::string& name : LanguageNames()) names += (names.empty() ? "" : ", ") + name;
            throw OptionError("--language: \"" + *options.language +
                              "\" is no language of the game; give a code from 1 to 255 or one of: " + names);
        }
        overrides.language = options.language;
    }
    return overrides;
}

void DiscoverGame(GameSession& session, const SharedOptions& options) {
    std::optional<std::filesystem::path> remembered;
    if (session.settings && !session.settings->UserData().empty()) remembered = std::filesystem::u8path(session.settings->UserData());
    SystemDiscovery found = DiscoverOnThisSystem(options.winePrefix, ResolveSharedOptions(options), remembered);
    session.whereLooked = WhereDiscoveryLooked(found);
    session.env = std::move(found.env);
    session.prefixes = std::move(found.prefixes);
    session.registry = std::move(found.registry);
    session.personalFolder = found.personalFolder;
    session.editions = std::move(found.editions);
    session.edition = found.chosen;
}

void UseEdition(GameSession& session, std::size_t index, const SharedOptions& options) {
    const GameEdition& edition = session.editions.editions.at(index);
    GameEnvironment env = edition.env;
    ApplyOverrides(env, ResolveSharedOptions(options));
    session.env = std::move(env);
    session.personalFolder = edition.personalFolder;
    session.registry.reset();
    if (!edition.prefix.empty()) {
        try {
            session.registry = std::make_unique<WineRegistry>(edition.prefix);
        } catch (const std::exception&) {
            // Read without fault at discovery; a registry changed since is not needed to go on.
        }
        session.prefixes.chosen = edition.prefix;
    }
    session.edition = index;
    session.catalogue.clear();
    session.loaded.reset();
}

std::string DataFolderStatus(const GameSession& session) {
    if (!session.edition || *session.edition >= session.editions.editions.size()) return {};
    const GameEdition& edition = session.editions.editions[*session.edition];
    if (edition.edition != "data folder" && edition.edition != "chosen folder") return {};
    const auto source = session.env.sources.find("userDataFolder");
    return "The game's data: " + Utf8Text(session.env.userDataFolder) +
           (source == session.env.sources.end() ? std::string() : " (" + source->second + ")");
}

std::string UserDataNotFound(const GameSession& session) {
    std::string text = "Unable to continue, Game User Data Not Found.";
    if (!session.whereLooked.empty()) text += "\n\nQuillhaven looked in:\n" + session.whereLooked;
    text += "\nName the folder that holds Neighborhoods with --user-data FOLDER.";
    return text;
}

void ScanCatalogue(GameSession& session, Reporter& reporter) {
    if (session.env.neighborhoodsFolder.empty()) throw IoError(UserDataNotFound(session));
    NullProgress progress;
    session.catalogue = ScanNeighborhoods(session.env.neighborhoodsFolder, session.env.languageCode, reporter, progress);
    session.loaded.reset();
}

std::optional<std::size_t> FindNeighborhood(const GameSession& session, std::string_view prefix) {
    for (std::size_t i = 0; i < session.catalogue.size(); ++i) {
        if (EqualsNoCase(session.catalogue[i].prefix, prefix)) return i;
    }
    return std::nullopt;
}

void LoadSessionNeighborhood(GameSession& session, std::size_t entry, Reporter& reporter, Progress& progress) {
    session.loaded.reset();
    LoadNeighborhood(session.workspace, session.catalogue.at(entry), session.env.neighborhoodsFolder,
                     LoadOptions{session.env.languageCode, CharacterLimit(session.env)}, reporter, progress);
    session.loaded = entry;
}

}  // namespace qh
