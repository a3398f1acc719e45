#include "workspace/sim_removal.h"

#include <algorithm>

#include "workspace/relationships.h"

namespace qh {

namespace {

// Moves the elements `take` picks out of `list`, each with the place it had; the rest keep their
// order. Linear.
template <class T, class Pick>
void TakeOut(std::vector<T>& list, Pick take, std::vector<std::pair<std::size_t, T>>& taken) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (take(list[i])) {
            taken.emplace_back(i, std::move(list[i]));
        } else {
            if (kept != i) list[kept] = std::move(list[i]);
            ++kept;
        }
    }
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(kept), list.end());
}

// Takes out the elements at the given places (ascending).
template <class T>
void TakeOutAt(std::vector<T>& list, const std::vector<std::size_t>& places,
               std::vector<std::pair<std::size_t, T>>& taken) {
    std::size_t next = 0;
    std::size_t at = 0;
    TakeOut(list, [&](const T&) {
        const std::size_t i = at++;
        while (next < places.size() && places[next] < i) ++next;
        return next < places.size() && places[next] == i;
    }, taken);
}

// Puts taken elements back at their places (ascending), merging in one pass.
template <class T>
void PutBack(std::vector<T>& list, const std::vector<std::pair<std::size_t, T>>& taken) {
    if (taken.empty()) return;
    std::vector<T> merged;
    merged.reserve(list.size() + taken.size());
    std::size_t from = 0;
    std::size_t next = 0;
    while (from < list.size() || next < taken.size()) {
        if (next < taken.size() && (taken[next].first == merged.size() || from == list.size())) {
            merged.push_back(taken[next++].second);
        } else {
            merged.push_back(std::move(list[from++]));
        }
    }
    list = std::move(merged);
}

void IndexDna(Workspace& ws) {
    ws.dnaByInstance.clear();
    std::unordered_map<std::uint32_t, std::size_t> count;
    for (const DNA& dna : ws.dnaList) ++count[dna.instanceId];
    for (std::size_t i = 0; i < ws.dnaList.size(); ++i) {
        if (count[ws.dnaList[i].instanceId] == 1) ws.dnaByInstance.emplace(ws.dnaList[i].instanceId, i);
    }
}

bool Names(const NeighborhoodItem& item, std::uint32_t id) {
    if (item.owner == id) return true;
    // Another sim's marks about this one: value 0 holds the sim it is about.
    const bool aboutSim = item.itemGuid == kFuriousGuid || item.itemGuid == kFuriousTargetGuid || item.itemGuid == kContactGuid;
    return aboutSim && !item.values.empty() && item.values[0] == static_cast<std::uint16_t>(id);
}

}  // namespace

bool SimRecordsSeparable(const Workspace& ws, std::size_t index) {
    const Character& sim = ws.characters.at(index);
    if (sim.instanceId == 0 || sim.instanceId > 0xFFFF) return false;
    for (std::size_t i = 0; i < ws.characters.size(); ++i) {
        if (i == index) continue;
        const Character& other = ws.characters[i];
        if (RelationshipId(other) == RelationshipId(sim) || GuidValue(other.simGuid) == GuidValue(sim.simGuid)) return false;
    }
    // Two descriptions of one sim: which one the game reads is not known, so neither is dropped.
    std::size_t descriptions = 0;
    for (const StoredDescription& d : ws.descriptionList) {
        if (GuidValue(d.guid) == GuidValue(sim.simGuid) || d.instanceId == sim.instanceId) ++descriptions;
    }
    return descriptions <= 1;
}

SimRemoval RemoveSim(Workspace& ws, std::size_t index) {
    SimRemoval removal;
    removal.index = index;
    removal.sim = ws.characters.at(index);
    removal.recordsRemoved = SimRecordsSeparable(ws, index);
    ws.characters.erase(ws.characters.begin() + static_cast<std::ptrdiff_t>(index));
    IndexSims(ws);
    if (!removal.recordsRemoved) return removal;

    const std::uint32_t id = removal.sim.instanceId;
    const auto rid = static_cast<std::uint16_t>(id);
    const std::uint32_t guid = GuidValue(removal.sim.simGuid);

    TakeOut(ws.relationshipList, [&](const RelationshipRecord& r) { return r.ownerId == rid || r.otherId == rid; },
            removal.relationships);
    std::vector<std::size_t> places;
    for (const auto& [place, record] : removal.relationships) {
        if (place < ws.relationshipsAsSaved.size()) places.push_back(place);
    }
    TakeOutAt(ws.relationshipsAsSaved, places, removal.relationshipsAsSaved);
    IndexRelationships(ws);

    TakeOut(ws.familyTieList, [&](const FamilyTie& t) { return t.simId == rid || t.relatedId == rid; }, removal.ties);
    TakeOut(ws.simItemList, [&](const NeighborhoodItem& item) { return Names(item, id); }, removal.items);
    for (std::size_t h = 0; h < ws.households.size(); ++h) {
        Household& household = ws.households[h];
        const auto member = [&](const Guid4& g) { return GuidValue(g) == guid; };
        if (std::none_of(household.members.begin(), household.members.end(), member)) continue;
        removal.householdsBefore.emplace_back(h, household);
        std::erase_if(household.members, member);
        household.householdDirty = 1;
    }
    TakeOut(ws.descriptionList, [&](const StoredDescription& d) { return GuidValue(d.guid) == guid || d.instanceId == id; },
            removal.descriptions);
    TakeOut(ws.dnaList, [&](const DNA& d) { return d.instanceId == id; }, removal.dna);
    IndexDna(ws);
    ws.deletedSims.push_back({id, removal.sim.simGuid});
    return removal;
}

bool RemovalSaved(const Workspace& ws, const SimRemoval& removal) {
    if (!removal.recordsRemoved) return false;
    return std::none_of(ws.deletedSims.begin(), ws.deletedSims.end(), [&](const StoredDescription& d) {
        return d.instanceId == removal.sim.instanceId && GuidValue(d.guid) == GuidValue(removal.sim.simGuid);
    });
}

void UndoSimRemoval(Workspace& ws, const SimRemoval& removal) {
    ws.characters.insert(ws.characters.begin() + static_cast<std::ptrdiff_t>(removal.index), removal.sim);
    IndexSims(ws);
    if (!removal.recordsRemoved) return;
    PutBack(ws.relationshipList, removal.relationships);
    PutBack(ws.relationshipsAsSaved, removal.relationshipsAsSaved);
    IndexRelationships(ws);
    PutBack(ws.familyTieList, removal.ties);
    PutBack(ws.simItemList, removal.items);
    for (const auto& [h, before] : removal.householdsBefore) {
        if (h < ws.households.size()) ws.households[h] = before;
    }
    PutBack(ws.descriptionList, removal.descriptions);
    PutBack(ws.dnaList, removal.dna);
    IndexDna(ws);
    const auto it = std::find_if(ws.deletedSims.begin(), ws.deletedSims.end(), [&](const StoredDescription& d) {
        return d.instanceId == removal.sim.instanceId && GuidValue(d.guid) == GuidValue(removal.sim.simGuid);
    });
    if (it != ws.deletedSims.end()) ws.deletedSims.erase(it);
}

}  // namespace qh
