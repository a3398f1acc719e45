#include "relationship/relationship.h"

#include <algorithm>
#include <cstdint>

#include "package/byte_reader.h"

namespace qh {

namespace {

// Offsets of the stored resource.
constexpr std::size_t kHeaderAt = 0, kCountAt = 4, kShortTermAt = 8, kFlagsLowAt = 12, kFlagsHighAt = 13,
                      kFlagsUpperAt = 14, kLongTermAt = 16, kFamilyRelationAt = 20;

constexpr RelationshipFlag kFlags[] = {
    {kCrushBit, "Crush", false},     {kLoveBit, "Love", false},      {kEngagedBit, "Engaged", true},
    {kMarriedBit, "Married", true},  {kFriendBit, "Friend", false},  {kBestFriendBit, "Best Friend", false},
    {kSteadyBit, "Steady", true},    {kEnemyBit, "Enemy", false},    {kContactBit, "Contact", false},
    {kFamilyBit, "Family", true},    {kMetBit, "Met", true},
};

constexpr FamilyRelationRow kFamilyRelations[] = {
    {"-", 0},           {"Parent", 2},      {"Child ", 1},        {"Sibling", 3},  {"Grandparent ", 5},
    {"Grandchild ", 4}, {"Uncle/Aunt ", 7}, {"Niece/Nephew", 6},  {"Cousin ", 8},  {"Spouse ", 9},
};

bool FamilyBitIn(std::uint8_t flagsHigh) { return (flagsHigh >> (kFamilyBit - 8) & 1) != 0; }

void PatchFields(std::span<std::uint8_t> out, const RelationshipRecord& record, std::uint32_t valueCount) {
    StoreU32(out, kCountAt, valueCount);
    StoreU32(out, kShortTermAt, static_cast<std::uint32_t>(record.shortTerm));
    out[kFlagsLowAt] = record.flagsLow;
    out[kFlagsHighAt] = record.flagsHigh;
    StoreU16(out, kFlagsUpperAt, record.flagsUpper);
    StoreU32(out, kLongTermAt, static_cast<std::uint32_t>(record.longTerm));
}

}  // namespace

std::span<const RelationshipFlag> RelationshipFlags() { return kFlags; }

const RelationshipFlag* FindRelationshipFlag(std::string_view caption) {
    for (const RelationshipFlag& flag : kFlags) {
        if (flag.caption == caption) return &flag;
    }
    return nullptr;
}

const RelationshipFlag* RelationshipFlagOfBit(int bit) {
    for (const RelationshipFlag& flag : kFlags) {
        if (flag.bit == bit) return &flag;
    }
    return nullptr;
}

std::span<const FamilyRelationRow> FamilyRelations() { return kFamilyRelations; }

std::optional<int> MirrorFamilyRelation(int value) {
    if (value < 0 || value >= static_cast<int>(std::size(kFamilyRelations))) return std::nullopt;
    return kFamilyRelations[value].mirror;
}

std::uint32_t RelationshipFlagsOf(const RelationshipRecord& record) {
    return static_cast<std::uint32_t>(record.flagsLow) | static_cast<std::uint32_t>(record.flagsHigh) << 8 |
           static_cast<std::uint32_t>(record.flagsUpper) << 16;
}

bool HasRelationshipFlag(const RelationshipRecord& record, int bit) {
    return bit >= 0 && bit < 32 && (RelationshipFlagsOf(record) >> bit & 1) != 0;
}

void SetRelationshipFlag(RelationshipRecord& record, int bit, bool on) {
    if (bit < 0 || bit >= 32) return;
    std::uint32_t flags = RelationshipFlagsOf(record);
    flags = on ? flags | 1u << bit : flags & ~(1u << bit);
    record.flagsLow = static_cast<std::uint8_t>(flags);
    record.flagsHigh = static_cast<std::uint8_t>(flags >> 8);
    record.flagsUpper = static_cast<std::uint16_t>(flags >> 16);
}

bool RelationshipResourceReadable(std::span<const std::uint8_t> stored) {
    if (stored.size() < kRelationshipMinimumSize) return false;
    const ByteReader reader(stored);
    const bool claimsRelation = FamilyBitIn(reader.ReadU8(kFlagsHighAt)) && reader.ReadU32(kCountAt) >= 4;
    return !claimsRelation || reader.Has(kFamilyRelationAt, 4);
}

bool ReadRelationshipResource(std::span<const std::uint8_t> stored, RelationshipRecord& into) {
    if (stored.size() < kRelationshipMinimumSize) return false;
    const ByteReader reader(stored, "relationship");
    RelationshipRecord record;
    record.ownerId = into.ownerId;
    record.otherId = into.otherId;
    record.headerWord = reader.ReadU32(kHeaderAt, "header word");
    record.valueCount = reader.ReadU32(kCountAt, "value count");
    record.shortTerm = static_cast<std::int32_t>(reader.ReadU32(kShortTermAt, "short-term level"));
    record.flagsLow = reader.ReadU8(kFlagsLowAt, "flags");
    record.flagsHigh = reader.ReadU8(kFlagsHighAt, "flags");
    record.flagsUpper = reader.ReadU16(kFlagsUpperAt, "flags");
    record.longTerm = static_cast<std::int32_t>(reader.ReadU32(kLongTermAt, "long-term level"));
    if (FamilyBitIn(record.flagsHigh)) {
        if (record.valueCount >= 4) {
            record.familyRelation = static_cast<std::int32_t>(reader.ReadU32(kFamilyRelationAt, "family relation"));
            record.hasFamilyRelation = 1;
        } else {
            // The game keeps no relation for it: the mark means nothing, and is saved clear.
            SetRelationshipFlag(record, kFamilyBit, false);
        }
    }
    into = record;
    return true;
}

RelationshipWritten WriteRelationshipResource(std::span<const std::uint8_t> stored, const RelationshipRecord& record,
                                              Bytes& out) {
    const ByteReader reader(stored, "relationship");
    const std::uint32_t storedCount = reader.ReadU32(kCountAt, "value count");
    const bool storedFamily = FamilyBitIn(reader.ReadU8(kFlagsHighAt, "flags"));
    if (storedFamily && storedCount >= 4) {
        reader.Require(kFamilyRelationAt, 4, "family relation");
    }
    // Every value has its fixed place: the game reads attraction, best-friends-forever and the
    // rest at their offsets after value 3, so value 3 is written where it stands and never taken
    // out. Only a resource of three values gets the slot, at the end of those three.
    const bool slotStored = storedCount >= 4 && reader.Has(kFamilyRelationAt, 4);
    const bool wanted = HasRelationshipFlag(record, kFamilyBit);

    RelationshipWritten written{storedCount, wanted && slotStored};
    const std::size_t start = out.size();
    const auto head = stored.first(kFamilyRelationAt);
    out.insert(out.end(), head.begin(), head.end());
    const std::span<const std::uint8_t> rest = stored.subspan(kFamilyRelationAt);
    if (wanted && !slotStored) {
        // The count covers the new slot even where the stored count was short of the three
        // values every resource holds, so that the relation is read back.
        AppendU32(out, 0);
        const std::uint32_t count = storedCount >= 4 ? storedCount : std::max<std::uint32_t>(storedCount, 3) + 1;
        written = {count, true};
    }
    out.insert(out.end(), rest.begin(), rest.end());
    const std::span<std::uint8_t> resource(out.data() + start, out.size() - start);
    PatchFields(resource, record, written.valueCount);
    // A relation the player cleared is written as none; a slot the flag never covered is kept.
    if (wanted) {
        StoreU32(resource, kFamilyRelationAt, static_cast<std::uint32_t>(record.familyRelation));
    } else if (slotStored && storedFamily) {
        StoreU32(resource, kFamilyRelationAt, 0);
    }
    return written;
}

Bytes NewRelationshipResource(const RelationshipRecord& record, RelationshipWritten& written) {
    const bool family = HasRelationshipFlag(record, kFamilyBit);
    written = {family ? 4u : 3u, family};
    Bytes out(family ? 24 : 20, 0);
    StoreU32(out, kHeaderAt, 2);
    PatchFields(out, record, written.valueCount);
    if (family) StoreU32(out, kFamilyRelationAt, static_cast<std::uint32_t>(record.familyRelation));
    return out;
}

RelationshipRecord NewRelationshipRecord(std::uint16_t owner, std::uint16_t other, int familyRelation) {
    RelationshipRecord record;
    record.ownerId = owner;
    record.otherId = other;
    record.headerWord = 2;
    record.valueCount = 4;
    record.flagsHigh = 1 << (kFamilyBit - 8);
    record.familyRelation = familyRelation;
    record.hasFamilyRelation = 1;
    record.isNew = 1;
    return record;
}

}  // namespace qh
