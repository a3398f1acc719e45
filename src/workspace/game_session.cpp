#include "workspace/game_session.h"

#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/system_discovery.h"
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
    SystemDiscovery found = DiscoverOnThisSystem(options.winePrefix, ResolveSharedOptions(options));
    session.env = std::move(found.env);
    session.prefixes = std::move(found.prefixes);
    session.registry = std::move(found.registry);
    session.personalFolder = found.personalFolder;
}

void ScanCatalogue(GameSession& session, Reporter& reporter) {
    if (session.env.neighborhoodsFolder.empty()) throw IoError("Unable to continue, Game User Data Not Found.");
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
                     LoadOptions{session.env.languageCode}, reporter, progress);
    session.loaded = entry;
}

}  // namespace qh
