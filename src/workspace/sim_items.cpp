#include "workspace/sim_items.h"

#include <algorithm>

namespace qh {

std::string ItemsRefusal(const Workspace& workspace) {
    if (workspace.neighborhoodData) return {};
    return "The neighborhood data of " + workspace.packagePath.filename().string() +
           " could not be read, so the sims' items (contacts, grudges, item skills, toddler training, tokens) "
           "cannot be changed here.";
}

std::uint32_t NewItemOwnerWord(const Workspace& workspace) {
    if (!workspace.simItemList.empty()) return workspace.simItemList.front().ownerWord;
    return workspace.neighborhoodData ? workspace.neighborhoodData->defaultOwnerWord : 0;
}

NeighborhoodItem& AddSimItem(Workspace& workspace, Character& sim, std::uint32_t itemGuid, std::uint8_t secondary,
                             ItemValues values, std::uint16_t flags1) {
    NeighborhoodItem item;
    item.owner = sim.instanceId;
    item.secondary = secondary;
    item.ownerWord = NewItemOwnerWord(workspace);
    item.itemGuid = itemGuid;
    item.flags1 = flags1;
    item.values = std::move(values);
    workspace.simItemList.push_back(std::move(item));
    sim.dirty = 1;
    return workspace.simItemList.back();
}

std::size_t RemoveSimItems(Workspace& workspace, Character& sim, std::uint32_t itemGuid) {
    auto& items = workspace.simItemList;
    const auto before = items.size();
    items.erase(std::remove_if(items.begin(), items.end(),
                               [&](const NeighborhoodItem& i) { return i.owner == sim.instanceId && i.itemGuid == itemGuid; }),
                items.end());
    const std::size_t removed = before - items.size();
    if (removed) sim.dirty = 1;
    return removed;
}

NeighborhoodItem* FindSimItem(Workspace& workspace, const Character& sim, std::uint32_t itemGuid) {
    for (NeighborhoodItem& item : workspace.simItemList) {
        if (item.owner == sim.instanceId && item.itemGuid == itemGuid) return &item;
    }
    return nullptr;
}

bool HasSimItem(const Workspace& workspace, const Character& sim, std::uint32_t itemGuid) {
    return std::any_of(workspace.simItemList.begin(), workspace.simItemList.end(),
                       [&](const NeighborhoodItem& i) { return i.owner == sim.instanceId && i.itemGuid == itemGuid; });
}

NeighborhoodItem& AddSimItemCopy(Workspace& workspace, Character& sim, const NeighborhoodItem& fields) {
    NeighborhoodItem& added = AddSimItem(workspace, sim, fields.itemGuid, fields.secondary, fields.values, fields.flags1);
    added.flags2 = fields.flags2;
    added.invNumber = fields.invNumber;
    added.padding = fields.padding;
    return added;
}

void ReplaceItem(NeighborhoodItem& target, NeighborhoodItem edited, Character& sim, bool markChanged) {
    target = std::move(edited);
    if (markChanged) sim.dirty = 1;
}

void EraseItem(std::vector<NeighborhoodItem>& items, std::size_t index, Character& sim) {
    if (index >= items.size()) return;
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(index));
    sim.dirty = 1;
}

bool IsDead(const Workspace& workspace, const Character& sim) { return HasSimItem(workspace, sim, kDeadMarkGuid); }

bool SetDeadMark(Workspace& workspace, Character& sim, bool dead) {
    if (dead) {
        if (IsDead(workspace, sim)) return false;
        AddSimItem(workspace, sim, kDeadMarkGuid, 1, {8, 8, 0, 0, 0});
        return true;
    }
    RemoveSimItems(workspace, sim, kDeadMarkGuid);
    sim.lingeringNumber = 0;
    sim.ghostFlags = 0;
    sim.dirty = 1;
    return true;
}

namespace {

void AddNamed(std::vector<DataPanelRow>& rows, std::size_t index, std::uint32_t guid, const std::vector<OBJd>& catalogue) {
    for (const OBJd& object : catalogue) {
        if (object.objectGuid == guid) rows.push_back({index, object.objectName});
    }
}

}  // namespace

std::vector<DataPanelRow> DataPanelRows(const Workspace& workspace, const Character& sim,
                                        const std::vector<OBJd>& catalogue) {
    std::vector<DataPanelRow> rows;
    const auto& items = workspace.simItemList;
    for (int secondary : {0, 1}) {
        for (std::uint16_t flags = 0; flags <= 99; ++flags) {
            if (flags == 2) continue;
            for (std::size_t i = 0; i < items.size(); ++i) {
                const NeighborhoodItem& item = items[i];
                if (item.owner != sim.instanceId || item.flags1 != flags) continue;
                if ((item.secondary == 0) != (secondary == 0)) continue;
                AddNamed(rows, i, item.itemGuid, catalogue);
            }
        }
    }
    return rows;
}

std::vector<DataPanelRow> DataPanelRows(const std::vector<NeighborhoodItem>& items, const std::vector<OBJd>& catalogue) {
    std::vector<DataPanelRow> rows;
    for (std::size_t i = 0; i < items.size(); ++i) AddNamed(rows, i, items[i].itemGuid, catalogue);
    return rows;
}

}  // namespace qh
