#include "platform/system_discovery.h"

#include <cstdlib>

#include "platform/wine_registry.h"
#ifdef _WIN32
#include "platform/windows_registry.h"
#endif

namespace qh {
namespace fs = std::filesystem;

SystemDiscovery DiscoverOnThisSystem(const std::optional<fs::path>& winePrefix, const DiscoveryOverrides& overrides) {
    SystemDiscovery discovery;
    std::unique_ptr<GamePaths> paths;
#ifdef _WIN32
    if (!winePrefix) {
        discovery.registry = std::make_unique<WindowsRegistry>();
        paths = std::make_unique<WindowsGamePaths>();
    }
#endif
    if (!discovery.registry) {
        PrefixSearchInput input;
        if (winePrefix) input.explicitPrefix = fs::absolute(*winePrefix);
        if (const char* variable = std::getenv("WINEPREFIX")) input.winePrefixVariable = variable;
        if (const char* home = std::getenv("HOME")) input.home = home;
        discovery.prefixes = FindWinePrefix(input);
        if (discovery.prefixes.chosen) {
            discovery.registry = std::make_unique<WineRegistry>(*discovery.prefixes.chosen);
            paths = std::make_unique<WineGamePaths>(*discovery.prefixes.chosen, *discovery.registry);
        }
    }
    if (paths) discovery.personalFolder = paths->PersonalFolder(nullptr);
    discovery.env = DiscoverGame(discovery.registry.get(), paths.get(), overrides);
    return discovery;
}

}  // namespace qh
