#include "workspace/relationships.h"

#include <algorithm>

#include "workspace/sim_items.h"

namespace qh {

namespace {

std::uint32_t PairKey(const RelationshipRecord& record) {
    return RelationshipInstance(record.ownerId, record.otherId);
}

// The lookup is relationshipList's positions sorted by pair key, then by position: a pair's
// records are one run in list order, and an owner's records one run of consecutive keys. The
// keys of the order are kept beside it, so a search reads one compact array.
std::span<const std::size_t> KeyRange(const Workspace& ws, std::uint32_t low, std::uint32_t high) {
    const auto& keys = ws.relationshipOrderKeys;
    const auto first = std::lower_bound(keys.begin(), keys.end(), low);
    const auto last = std::upper_bound(first, keys.end(), high);
    return {ws.relationshipOrder.data() + (first - keys.begin()), static_cast<std::size_t>(last - first)};
}

// The records a side's edit changes: the record itself, or every reverse record.
std::vector<std::size_t> SideRecords(const Workspace& ws, std::size_t record, RelationshipSide side) {
    if (side == RelationshipSide::Own) return {record};
    const auto reverse = ReverseRecords(ws, record);
    return {reverse.begin(), reverse.end()};
}

bool HasItem(const Workspace& ws, std::uint32_t owner, std::uint32_t guid, std::uint16_t first) {
    return std::any_of(ws.simItemList.begin(), ws.simItemList.end(), [&](const NeighborhoodItem& item) {
        return item.owner == owner && item.itemGuid == guid && !item.values.empty() && item.values[0] == first;
    });
}

void AddItem(Workspace& ws, std::uint32_t owner, std::uint32_t guid, std::vector<std::uint16_t> values) {
    NeighborhoodItem item;
    item.owner = owner;
    item.secondary = 1;
    item.ownerWord = NewItemOwnerWord(ws);
    item.itemGuid = guid;
    item.values = std::move(values);
    ws.simItemList.push_back(std::move(item));
}

void RemoveItems(Workspace& ws, std::uint32_t owner, std::uint32_t guid, std::uint16_t first) {
    std::erase_if(ws.simItemList, [&](const NeighborhoodItem& item) {
        return item.owner == owner && item.itemGuid == guid && !item.values.empty() && item.values[0] == first;
    });
}

void SetContactItem(Workspace& ws, std::uint16_t owner, std::uint16_t other, bool on) {
    if (!on) {
        RemoveItems(ws, owner, kContactGuid, other);
    } else if (!HasItem(ws, owner, kContactGuid, other)) {
        AddItem(ws, owner, kContactGuid, {other, 24, 24, 24, 24});
    }
}

}  // namespace

void IndexRelationships(Workspace& ws) {
    ws.relationshipOrder.resize(ws.relationshipList.size());
    for (std::size_t i = 0; i < ws.relationshipOrder.size(); ++i) ws.relationshipOrder[i] = i;
    const auto& records = ws.relationshipList;
    std::stable_sort(ws.relationshipOrder.begin(), ws.relationshipOrder.end(),
                     [&](std::size_t a, std::size_t b) { return PairKey(records[a]) < PairKey(records[b]); });
    ws.relationshipOrderKeys.resize(ws.relationshipOrder.size());
    for (std::size_t i = 0; i < ws.relationshipOrder.size(); ++i) {
        ws.relationshipOrderKeys[i] = PairKey(records[ws.relationshipOrder[i]]);
    }
}

std::span<const std::size_t> RelationshipsBetween(const Workspace& ws, std::uint16_t owner, std::uint16_t other) {
    const std::uint32_t key = RelationshipInstance(owner, other);
    return KeyRange(ws, key, key);
}

std::span<const std::size_t> RelationshipsOwnedBy(const Workspace& ws, std::uint16_t owner) {
    return KeyRange(ws, RelationshipInstance(owner, 0), RelationshipInstance(owner, 0xFFFF));
}

std::span<const std::size_t> ReverseRecords(const Workspace& ws, std::size_t record) {
    const RelationshipRecord& r = ws.relationshipList.at(record);
    return RelationshipsBetween(ws, r.otherId, r.ownerId);
}

bool RelationshipUnreadable(const Workspace& ws, std::uint16_t owner, std::uint16_t other) {
    return std::binary_search(ws.unreadableRelationships.begin(), ws.unreadableRelationships.end(),
                              RelationshipInstance(owner, other));
}

std::size_t AddRelationship(Workspace& ws, const RelationshipRecord& record) {
    const std::size_t at = ws.relationshipList.size();
    ws.relationshipList.push_back(record);
    // The new position is the largest, so it goes at the end of its pair's run.
    const std::uint32_t key = PairKey(record);
    const auto place = std::upper_bound(ws.relationshipOrderKeys.begin(), ws.relationshipOrderKeys.end(), key);
    const auto offset = place - ws.relationshipOrderKeys.begin();
    ws.relationshipOrderKeys.insert(place, key);
    ws.relationshipOrder.insert(ws.relationshipOrder.begin() + offset, at);
    return at;
}

std::uint16_t RelationshipId(const Character& sim) { return static_cast<std::uint16_t>(sim.instanceId); }

std::vector<ListedRelationship> ListedRelationships(const Workspace& ws, const Character& sim) {
    std::vector<ListedRelationship> listed;
    if (sim.instanceId == 0) return listed;
    const std::uint16_t own = RelationshipId(sim);
    for (std::size_t record : RelationshipsOwnedBy(ws, own)) {
        const std::uint16_t other = ws.relationshipList[record].otherId;
        if (other == own) continue;
        const auto it = ws.simByInstance.find(other);
        if (it != ws.simByInstance.end()) listed.push_back({record, it->second});
    }
    return listed;
}

int LimitRelationshipLevel(std::int64_t level) { return static_cast<int>(std::clamp<std::int64_t>(level, -100, 100)); }

void SetRelationshipLevels(Workspace& ws, std::size_t record, RelationshipSide side, int shortTerm, int longTerm) {
    for (std::size_t r : SideRecords(ws, record, side)) {
        ws.relationshipList[r].shortTerm = LimitRelationshipLevel(shortTerm);
        ws.relationshipList[r].longTerm = LimitRelationshipLevel(longTerm);
    }
}

void SetRelationshipFlagRule(Workspace& ws, std::size_t record, RelationshipSide side, int bit, bool on) {
    const RelationshipFlag* flag = RelationshipFlagOfBit(bit);
    if (!flag) return;
    std::vector<std::size_t> targets = SideRecords(ws, record, flag->bothSides ? RelationshipSide::Own : side);
    if (flag->bothSides) {
        const auto reverse = ReverseRecords(ws, record);
        targets.insert(targets.end(), reverse.begin(), reverse.end());
    }
    for (std::size_t r : targets) SetRelationshipFlag(ws.relationshipList[r], bit, on);
    if (bit == kContactBit) {
        const RelationshipSideIds ids = SideIds(ws, record, side);
        SetContactItem(ws, ids.owner, ids.other, on);
    }
}

bool SetFamilyRelation(Workspace& ws, std::size_t record, RelationshipSide side, int value) {
    const auto mirror = MirrorFamilyRelation(value);
    if (!mirror) return false;
    const RelationshipSide other = side == RelationshipSide::Own ? RelationshipSide::Reverse : RelationshipSide::Own;
    for (std::size_t r : SideRecords(ws, record, side)) ws.relationshipList[r].familyRelation = value;
    for (std::size_t r : SideRecords(ws, record, other)) ws.relationshipList[r].familyRelation = *mirror;
    return true;
}

void MaxBothRelationships(Workspace& ws, std::size_t record) {
    for (RelationshipSide side : {RelationshipSide::Own, RelationshipSide::Reverse}) {
        SetRelationshipLevels(ws, record, side, 100, 100);
        SetRelationshipFlagRule(ws, record, side, kFriendBit, true);
        SetRelationshipFlagRule(ws, record, side, kBestFriendBit, true);
    }
}

bool IsFurious(const Workspace& ws, std::uint16_t angry, std::uint16_t target) {
    return HasItem(ws, angry, kFuriousGuid, target);
}

void SetFurious(Workspace& ws, std::uint16_t angry, std::uint16_t target, bool on) {
    if (!on) {
        RemoveItems(ws, angry, kFuriousGuid, target);
        RemoveItems(ws, target, kFuriousTargetGuid, angry);
        return;
    }
    if (!HasItem(ws, angry, kFuriousGuid, target)) AddItem(ws, angry, kFuriousGuid, {target, 100, 100, 100, 100});
    if (!HasItem(ws, target, kFuriousTargetGuid, angry)) AddItem(ws, target, kFuriousTargetGuid, {angry});
}

RelationshipSideIds SideIds(const Workspace& ws, std::size_t record, RelationshipSide side) {
    const RelationshipRecord& r = ws.relationshipList.at(record);
    return side == RelationshipSide::Own ? RelationshipSideIds{r.ownerId, r.otherId}
                                         : RelationshipSideIds{r.otherId, r.ownerId};
}

bool FuriousShown(const GameEnvironment& env) {
    return env.hasNightlife || env.hasOpenForBusiness || env.hasPets || env.hasBonVoyage || env.hasFreeTime ||
           env.hasApartmentLife;
}

bool RelationshipFlagAdvancedOnly(int bit) {
    return bit == kSteadyBit || bit == kEngagedBit || bit == kMarriedBit || bit == kFamilyBit;
}

bool AttractionShown(const Character& sim, const GameEnvironment& env) {
    return sim.hasBodyResource != 0 && FuriousShown(env);
}

}  // namespace qh
