#include "workspace/merge_edits.h"

#include <tuple>
#include <unordered_map>
#include <variant>

#include "character/character_fields.h"
#include "package/guid.h"

namespace qh {

namespace {

// `now` with the members `mine` has more of than `saved` appended (in `mine`'s order) and those
// it has fewer of taken out (the first found), each member counted by its key.
template <typename T, typename KeyOf>
std::vector<T> ApplyCountedEdits(const std::vector<T>& now, const std::vector<T>& saved, const std::vector<T>& mine,
                                 KeyOf key) {
    std::unordered_map<std::uint64_t, long> change;  // > 0: added by the player, < 0: removed
    for (const T& member : mine) ++change[key(member)];
    for (const T& member : saved) --change[key(member)];
    std::vector<T> out;
    out.reserve(now.size() + mine.size());
    for (const T& member : now) {
        const auto it = change.find(key(member));
        if (it != change.end() && it->second < 0) {
            ++it->second;
            continue;
        }
        out.push_back(member);
    }
    for (const T& member : mine) {
        const auto it = change.find(key(member));
        if (it->second > 0) {
            --it->second;
            out.push_back(member);
        }
    }
    return out;
}

template <typename T>
T Edited(const T& now, const T& saved, const T& mine) {
    return mine == saved ? now : mine;
}

// An item's identity: its owner, list, object GUID and its place among the owner's items of
// that GUID in that list.
struct ItemKey {
    std::uint32_t owner;
    std::uint32_t guid;
    std::uint32_t nth;
    std::uint8_t secondary;
    bool operator==(const ItemKey&) const = default;
};

struct ItemKeyHash {
    std::size_t operator()(const ItemKey& k) const {
        std::uint64_t h = (static_cast<std::uint64_t>(k.owner) << 32) ^ k.guid;
        h ^= (static_cast<std::uint64_t>(k.nth) << 8 | k.secondary) * 0x9E3779B97F4A7C15ull;
        return std::hash<std::uint64_t>{}(h);
    }
};

// The key of each item of a list, in its order.
std::vector<ItemKey> KeysOf(const std::vector<NeighborhoodItem>& items) {
    std::unordered_map<ItemKey, std::uint32_t, ItemKeyHash> seen;
    seen.reserve(items.size());
    std::vector<ItemKey> keys;
    keys.reserve(items.size());
    for (const NeighborhoodItem& item : items) {
        const ItemKey first{item.owner, item.itemGuid, 0, item.secondary};
        keys.push_back({item.owner, item.itemGuid, seen[first]++, item.secondary});
    }
    return keys;
}

// One item the player changed: each word that differs between `saved` and `mine`, onto `now`.
// Values are taken one by one while all three lists have one length; a list the player made
// longer or shorter is the player's.
NeighborhoodItem ApplyOneItemEdit(const NeighborhoodItem& now, const NeighborhoodItem& saved,
                                  const NeighborhoodItem& mine) {
    NeighborhoodItem out = now;
    out.ownerWord = Edited(now.ownerWord, saved.ownerWord, mine.ownerWord);
    out.flags1 = Edited(now.flags1, saved.flags1, mine.flags1);
    out.flags2 = Edited(now.flags2, saved.flags2, mine.flags2);
    out.invNumber = Edited(now.invNumber, saved.invNumber, mine.invNumber);
    out.padding = Edited(now.padding, saved.padding, mine.padding);
    if (now.values.size() == saved.values.size() && saved.values.size() == mine.values.size()) {
        for (std::size_t i = 0; i < mine.values.size(); ++i) {
            out.values[i] = Edited(now.values[i], saved.values[i], mine.values[i]);
        }
    } else if (mine.values != saved.values) {
        out.values = mine.values;
    }
    return out;
}

}  // namespace

RelationshipRecord ApplyRelationshipEdits(const RelationshipRecord& now, const RelationshipRecord& saved,
                                          const RelationshipRecord& mine) {
    RelationshipRecord out = now;
    out.shortTerm = Edited(now.shortTerm, saved.shortTerm, mine.shortTerm);
    out.longTerm = Edited(now.longTerm, saved.longTerm, mine.longTerm);
    out.familyRelation = Edited(now.familyRelation, saved.familyRelation, mine.familyRelation);
    auto bits = [](auto current, auto before, auto after) {
        const auto changed = static_cast<decltype(current)>(before ^ after);
        return static_cast<decltype(current)>((current & ~changed) | (after & changed));
    };
    out.flagsLow = bits(now.flagsLow, saved.flagsLow, mine.flagsLow);
    out.flagsHigh = bits(now.flagsHigh, saved.flagsHigh, mine.flagsHigh);
    out.flagsUpper = bits(now.flagsUpper, saved.flagsUpper, mine.flagsUpper);
    return out;
}

std::vector<FamilyTie> ApplyTieEdits(const std::vector<FamilyTie>& now, const std::vector<FamilyTie>& saved,
                                     const std::vector<FamilyTie>& mine) {
    return ApplyCountedEdits(now, saved, mine, [](const FamilyTie& tie) { return TieKey(tie); });
}

Character ApplyCharacterEdits(const Character& now, const Character& saved, const Character& mine) {
    Character out = now;
    for (const CharacterField& field : CharacterFields()) {
        std::visit([&](auto member) { out.*member = Edited(now.*member, saved.*member, mine.*member); },
                   field.member);
    }
    // What the table does not name is the program's, never the file's.
    out.portrait = mine.portrait;
    return out;
}

Household ApplyHouseholdEdits(const Household& now, const Household& saved, const Household& mine) {
    Household out = now;
    out.instanceId = mine.instanceId;
    out.storedOrdinal = mine.storedOrdinal;
    out.hasTextList = mine.hasTextList;
    out.householdDirty = mine.householdDirty;
    out.funds = Edited(now.funds, saved.funds, mine.funds);
    out.members = ApplyCountedEdits(now.members, saved.members, mine.members,
                                    [](const Guid4& guid) { return static_cast<std::uint64_t>(GuidValue(guid)); });
    out.householdName = Edited(now.householdName, saved.householdName, mine.householdName);
    out.householdDescription = Edited(now.householdDescription, saved.householdDescription, mine.householdDescription);
    return out;
}

std::vector<NeighborhoodItem> ApplyItemEdits(const std::vector<NeighborhoodItem>& now,
                                             const std::vector<NeighborhoodItem>& saved,
                                             const std::vector<NeighborhoodItem>& mine) {
    const std::vector<ItemKey> savedKeys = KeysOf(saved);
    const std::vector<ItemKey> mineKeys = KeysOf(mine);
    const std::vector<ItemKey> nowKeys = KeysOf(now);
    std::unordered_map<ItemKey, std::size_t, ItemKeyHash> savedAt;
    std::unordered_map<ItemKey, std::size_t, ItemKeyHash> mineAt;
    savedAt.reserve(saved.size());
    mineAt.reserve(mine.size());
    for (std::size_t i = 0; i < saved.size(); ++i) savedAt.emplace(savedKeys[i], i);
    for (std::size_t i = 0; i < mine.size(); ++i) mineAt.emplace(mineKeys[i], i);

    std::vector<std::uint8_t> placed(mine.size(), 0);
    std::vector<NeighborhoodItem> out;
    out.reserve(now.size() + mine.size());
    for (std::size_t i = 0; i < now.size(); ++i) {
        const auto s = savedAt.find(nowKeys[i]);
        const auto m = mineAt.find(nowKeys[i]);
        if (m != mineAt.end()) placed[m->second] = 1;
        if (s == savedAt.end()) {
            // Not in the file at the load: the game's new item, unless the player added one with
            // the same identity, which is the player's.
            out.push_back(m == mineAt.end() ? now[i] : mine[m->second]);
        } else if (m == mineAt.end()) {
            continue;  // the player removed it
        } else if (mine[m->second] == saved[s->second]) {
            out.push_back(now[i]);
        } else {
            out.push_back(ApplyOneItemEdit(now[i], saved[s->second], mine[m->second]));
        }
    }
    // The player's items the file no longer has: those the player added or changed stay; one the
    // player left as it was and the game removed stays removed.
    for (std::size_t i = 0; i < mine.size(); ++i) {
        if (placed[i]) continue;
        const auto s = savedAt.find(mineKeys[i]);
        if (s != savedAt.end() && saved[s->second] == mine[i]) continue;
        out.push_back(mine[i]);
    }
    return out;
}

DNA ApplyDnaEdits(const DNA& now, const DNA& saved, const DNA& mine) {
    DNA out = now;
    for (const DnaField& field : DnaFields()) {
        if (mine.*field.member != saved.*field.member) out.*field.member = mine.*field.member;
    }
    return out;
}

}  // namespace qh
