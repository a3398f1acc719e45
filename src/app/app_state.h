// Everything the window works on, owned in one place and handed to the panels.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "platform/game_environment.h"
#include "platform/registry.h"
#include "platform/settings.h"
#include "workspace/lots_objects.h"
#include "workspace/model.h"
#include "workspace/neighborhood_catalogue.h"

namespace qh::app {

struct AppState {
    GameEnvironment env;
    std::unique_ptr<RegistryView> registry;
    std::optional<std::filesystem::path> personalFolder;
    std::unique_ptr<Settings> settings;
    std::vector<Neighborhood> catalogue;
    Workspace workspace;
    std::vector<OBJd> objectCatalogue;
    int colorScheme = 1;
};

}  // namespace qh::app
