#include "workspace/model.h"

#include <filesystem>

#include "platform/paths.h"

namespace qh {

void RememberAsSaved(Workspace& workspace) {
    workspace.charactersAsSaved.clear();
    workspace.charactersAsSaved.reserve(workspace.characters.size());
    for (const Character& sim : workspace.characters) workspace.charactersAsSaved.emplace(sim.packageFile, sim);
    workspace.householdsAsSaved = workspace.households;
    workspace.simItemsAsSaved = workspace.simItemList;
    workspace.dnaAsSaved = workspace.dnaList;
}

DNA* FindDna(Workspace& workspace, std::uint32_t instanceId) {
    const auto it = workspace.dnaByInstance.find(instanceId);
    return it == workspace.dnaByInstance.end() ? nullptr : &workspace.dnaList[it->second];
}
const DNA* FindDna(const Workspace& workspace, std::uint32_t instanceId) {
    const auto it = workspace.dnaByInstance.find(instanceId);
    return it == workspace.dnaByInstance.end() ? nullptr : &workspace.dnaList[it->second];
}

void IndexSims(Workspace& workspace) {
    workspace.simByInstance.clear();
    workspace.simByGuid.clear();
    for (std::size_t i = 0; i < workspace.characters.size(); ++i) {
        const Character& sim = workspace.characters[i];
        if (sim.instanceId != 0) workspace.simByInstance.emplace(sim.instanceId, i);
        workspace.simByGuid.emplace(GuidValue(sim.simGuid), i);
    }
}

Character* FindSimByInstance(Workspace& workspace, std::uint32_t instanceId) {
    const auto it = workspace.simByInstance.find(instanceId);
    return it == workspace.simByInstance.end() ? nullptr : &workspace.characters[it->second];
}

Character* FindSimByGuid(Workspace& workspace, const Guid4& guid) {
    const auto it = workspace.simByGuid.find(GuidValue(guid));
    return it == workspace.simByGuid.end() ? nullptr : &workspace.characters[it->second];
}

std::optional<std::size_t> FindSimByFile(const Workspace& workspace, std::string_view file) {
    for (std::size_t i = 0; i < workspace.characters.size(); ++i) {
        const std::string& own = workspace.characters[i].packageFile;
        if (EqualsNoCase(own, file) || EqualsNoCase(std::filesystem::path(own).stem().string(), file)) return i;
    }
    return std::nullopt;
}

}  // namespace qh
