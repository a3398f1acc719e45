#include "workspace/households.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "package/text_list.h"

namespace qh {

void IndexHouseholds(Workspace& workspace) {
    workspace.householdByInstance.clear();
    for (std::size_t i = 0; i < workspace.households.size(); ++i) {
        workspace.householdByInstance.emplace(workspace.households[i].instanceId, i);  // the first is found
    }
}

std::optional<std::size_t> HouseholdIndex(const Workspace& workspace, std::uint32_t instanceId) {
    const auto it = workspace.householdByInstance.find(instanceId);
    if (it == workspace.householdByInstance.end()) return std::nullopt;
    return it->second;
}

Household* FindHousehold(Workspace& workspace, std::uint32_t instanceId) {
    const auto index = HouseholdIndex(workspace, instanceId);
    return index ? &workspace.households[*index] : nullptr;
}

Household* FindStoredHousehold(Workspace& workspace, std::uint32_t instanceId, std::uint32_t ordinal) {
    const auto first = HouseholdIndex(workspace, instanceId);
    if (!first) return nullptr;
    // Households are in the package's index order: a later resource of the instance is read into
    // a later record, so the search starts at the first one (and ends there, but for duplicates).
    for (std::size_t i = *first; i < workspace.households.size(); ++i) {
        Household& household = workspace.households[i];
        if (household.instanceId != instanceId) continue;
        if (household.storedOrdinal == ordinal) return &household;
        if (household.storedOrdinal > ordinal) break;
    }
    return nullptr;
}

std::string HouseholdLabel(const Household& household) {
    const std::string name = TrimText(ToValidUtf8(household.householdName));
    if (!household.hasTextList || name.empty()) return std::to_string(household.lotInstance);
    return name;
}

std::vector<std::size_t> HouseholdOrder(const Workspace& workspace) {
    std::vector<std::string> labels;
    for (const Household& household : workspace.households) labels.push_back(HouseholdLabel(household));
    std::vector<std::size_t> order(workspace.households.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return labels[a] < labels[b]; });
    return order;
}

std::optional<std::size_t> HouseholdOfSim(const Workspace& workspace, const Character& sim) {
    if (sim.familyNumber == 0) return std::nullopt;
    return HouseholdIndex(workspace, static_cast<std::uint16_t>(sim.familyNumber));
}

std::vector<std::size_t> HouseholdMembers(const Workspace& workspace, const Household& household) {
    std::unordered_set<std::uint32_t> wanted;
    for (const Guid4& member : household.members) wanted.insert(GuidValue(member));
    std::unordered_map<std::uint32_t, std::vector<std::size_t>> sims;
    for (std::size_t i = 0; i < workspace.characters.size(); ++i) {
        const std::uint32_t guid = GuidValue(workspace.characters[i].simGuid);
        if (wanted.count(guid)) sims[guid].push_back(i);
    }
    std::vector<std::size_t> members;
    for (const Guid4& member : household.members) {
        const auto it = sims.find(GuidValue(member));
        if (it != sims.end()) members.insert(members.end(), it->second.begin(), it->second.end());
    }
    return members;
}

const LotDesc* HouseholdLot(const Workspace& workspace, const Household& household) {
    for (auto it = workspace.lotDescList.rbegin(); it != workspace.lotDescList.rend(); ++it) {
        if (it->lotId == household.lotInstance) return &*it;
    }
    return nullptr;
}

std::string MoveInRefusal(const Workspace& workspace, const Character& sim, const Household& household, bool advanced) {
    if (!advanced) return "Move In is offered only in advanced mode (give --advanced, as the window's Advanced switch)";
    if (HouseholdMembers(workspace, household).empty()) return "the household has no members to move in with";
    if (std::find(household.members.begin(), household.members.end(), sim.simGuid) != household.members.end()) {
        return sim.packageFile + " is a member of that household already";
    }
    // The sim's own household could not be read: it would keep listing the sim, who would then
    // belong to two households.
    const std::uint32_t own = static_cast<std::uint16_t>(sim.familyNumber);
    for (std::uint32_t unreadable : workspace.unreadableHouseholds) {
        if ((unreadable & 0xFFFF) == own && own != 0) {
            return "the household " + sim.packageFile + " belongs to (" + HexId(unreadable) + " in " +
                   workspace.packagePath.filename().string() +
                   ") could not be read, so the sim cannot be moved out of it";
        }
    }
    return {};
}

void MoveIn(Workspace& workspace, Character& sim, Household& household) {
    for (Household& other : workspace.households) {
        const auto before = other.members.size();
        std::erase(other.members, sim.simGuid);
        if (other.members.size() != before) other.householdDirty = 1;
    }
    household.members.push_back(sim.simGuid);
    household.householdDirty = 1;
    sim.familyNumber = static_cast<std::int16_t>(household.instanceId & 0xFFFF);
    sim.dirty = 1;
}

}  // namespace qh
