#include "platform/system_discovery.h"

#include <cstdlib>
#include <map>

#include "platform/wine_registry.h"
#ifdef _WIN32
#include "platform/windows_registry.h"
#endif

namespace qh {
namespace fs = std::filesystem;

SystemDiscovery DiscoverOnThisSystem(const std::optional<fs::path>& winePrefix, const DiscoveryOverrides& overrides,
                                     const std::optional<fs::path>& remembered) {
    SystemDiscoveryInput input;
    input.winePrefix = winePrefix;
    input.remembered = remembered;
    if (const char* variable = std::getenv("WINEPREFIX")) input.winePrefixVariable = variable;
    if (const char* home = std::getenv("HOME")) input.home = home;
    return DiscoverOnThisSystem(input, overrides);
}

SystemDiscovery DiscoverOnThisSystem(const SystemDiscoveryInput& input, const DiscoveryOverrides& overrides) {
    SystemDiscovery discovery;
    std::map<fs::path, std::unique_ptr<RegistryView>> registries;  // by Wine prefix
    bool native = false;
#ifdef _WIN32
    if (!input.winePrefix) {
        native = true;
        const WindowsRegistry registry{};
        const WindowsGamePaths paths{};
        FindEditions(&registry, &paths, {}, discovery.editions);
    }
#endif
    if (!native) {
        PrefixSearchInput search;
        if (input.winePrefix) search.explicitPrefix = fs::absolute(*input.winePrefix);
        search.winePrefixVariable = input.winePrefixVariable;
        search.home = input.home;
        discovery.prefixes = FindWinePrefix(search);
        for (const fs::path& prefix : discovery.prefixes.taken) {
            try {
                auto registry = std::make_unique<WineRegistry>(prefix);
                const WineGamePaths paths(prefix, *registry);
                FindEditions(registry.get(), &paths, prefix, discovery.editions);
                registries.emplace(prefix, std::move(registry));  // read once; the chosen one is kept
            } catch (const std::exception& error) {
                // A damaged registry file passes that prefix over, said with the file's name; the
                // other prefixes are still looked at.
                discovery.editions.skipped.push_back(std::string(error.what()) + "; the Wine prefix " + prefix.string() +
                                                     " was passed over.");
            }
        }
        // A data folder in the home folder itself (copied out of a prefix, or kept by a tool).
        if (!input.winePrefix && !input.home.empty()) {
            FindDataFolders(input.home / "Documents", "the home folder's Documents", {}, discovery.editions);
        }
    }
    // A folder the player pointed the program at before (no key names it): offered as well.
    if (input.remembered && !input.remembered->empty()) {
        EditionSearch chosen;
        FindChosenFolder(*input.remembered, chosen);
        for (GameEdition& edition : chosen.editions) discovery.editions.editions.push_back(std::move(edition));
    }
    DropDuplicateEditions(discovery.editions.editions);
    discovery.chosen = ChooseEdition(discovery.editions.editions, input.remembered);

    if (discovery.chosen) {
        const GameEdition& edition = discovery.editions.editions[*discovery.chosen];
        discovery.env = edition.env;
        discovery.personalFolder = edition.personalFolder;
        if (!edition.prefix.empty()) {
            if (auto found = registries.find(edition.prefix); found != registries.end()) {
                discovery.registry = std::move(found->second);
            }
            discovery.prefixes.chosen = edition.prefix;
        }
    } else {
        discovery.env = ClassicEnvironment(nullptr, nullptr, nullptr);
        if (discovery.prefixes.chosen) {
            try {
                auto registry = std::make_unique<WineRegistry>(*discovery.prefixes.chosen);
                discovery.personalFolder = WinePersonalFolder(*discovery.prefixes.chosen, *registry, nullptr);
                discovery.registry = std::move(registry);
            } catch (const std::exception&) {
                // Said above, where the prefix was passed over.
            }
        }
    }
#ifdef _WIN32
    if (native) {
        discovery.registry = std::make_unique<WindowsRegistry>();
        if (!discovery.personalFolder) discovery.personalFolder = WindowsGamePaths().PersonalFolder(nullptr);
    }
#endif
    ApplyOverrides(discovery.env, overrides);
    return discovery;
}

std::string WhereDiscoveryLooked(const SystemDiscovery& discovery) {
    std::string text;
    for (const PrefixCandidate& candidate : discovery.prefixes.considered) {
        text += "Wine prefix " + candidate.path.string() + " (" + candidate.origin + "): " + candidate.reason + "\n";
    }
    for (const std::string& place : discovery.editions.looked) text += place + "\n";
    for (const std::string& skipped : discovery.editions.skipped) text += skipped + "\n";
    return text;
}

}  // namespace qh
