// One sim's relationship to another: resource 0xCC364C2A of the neighborhood package.
//
// The game keeps one resource per ordered pair of sims that know each other. Its instance id
// names the pair: the high 16 bits are the sim whose feelings these are (the owner), the low 16
// bits the sim they are about, both the instance ids of the sims' descriptions. The content is a
// header word, a count of 32-bit values, and the values: 0 the short-term level, 1 the flags, 2
// the long-term level, 3 the family relation (meaningful only while the Family flag is set), and
// further values at fixed places (attraction, best friends forever, ...) that the program does
// not interpret and carries through.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "package/index.h"
#include "platform/file_io.h"

namespace qh {

struct RelationshipRecord {
    std::uint16_t ownerId = 0;  // the sim whose feelings these are
    std::uint16_t otherId = 0;  // the sim they are about
    std::uint32_t headerWord = 0;
    std::uint32_t valueCount = 0;
    std::int32_t shortTerm = 0;
    std::uint8_t flagsLow = 0;     // flag bits 0-7
    std::uint8_t flagsHigh = 0;    // flag bits 8-15
    std::int32_t longTerm = 0;
    std::uint16_t flagsUpper = 0;  // flag bits 16-31, never changed by the program
    std::int32_t familyRelation = 0;
    // The stored resource holds a family relation at offset 20 (Family set, at least four values).
    std::uint8_t hasFamilyRelation = 0;
    // Made in memory; the save appends a resource for it.
    std::uint8_t isNew = 0;

    friend bool operator==(const RelationshipRecord&, const RelationshipRecord&) = default;
};

// The flag bits the program shows. A per-side flag is one sim's feeling; a both-sides flag is
// always the same in the two records of a pair.
struct RelationshipFlag {
    int bit;
    std::string_view caption;
    bool bothSides;
};
inline constexpr int kCrushBit = 0, kLoveBit = 1, kEngagedBit = 2, kMarriedBit = 3, kFriendBit = 4,
                     kBestFriendBit = 5, kSteadyBit = 6, kEnemyBit = 7, kContactBit = 8, kFamilyBit = 14,
                     kMetBit = 15;
std::span<const RelationshipFlag> RelationshipFlags();
// The flag with this caption ("Best Friend"), compared exactly, or with this bit; null when there
// is none.
const RelationshipFlag* FindRelationshipFlag(std::string_view caption);
const RelationshipFlag* RelationshipFlagOfBit(int bit);

// The family relation: what the owner is to the other sim, so a sim's record about its mother
// holds 2 ("Child "). The texts are the selectors' items (index = stored value), with the spaces
// the game's lists have; the mirror is what the other sim is to the owner.
struct FamilyRelationRow {
    std::string_view text;
    int mirror;
};
std::span<const FamilyRelationRow> FamilyRelations();  // values 0..9
// The mirror of a value 0..9; nothing outside.
std::optional<int> MirrorFamilyRelation(int value);

std::uint32_t RelationshipFlagsOf(const RelationshipRecord& record);
bool HasRelationshipFlag(const RelationshipRecord& record, int bit);
void SetRelationshipFlag(RelationshipRecord& record, int bit, bool on);

// The resource's instance id for a record, and the pair key the lookups use (the same number).
inline std::uint32_t RelationshipInstance(std::uint16_t owner, std::uint16_t other) {
    return static_cast<std::uint32_t>(owner) << 16 | other;
}

// The smallest resource the program interprets: header, count and values 0 to 2.
inline constexpr std::size_t kRelationshipMinimumSize = 20;

// Fills the record from one stored resource; who the pair is (ownerId, otherId: the resource's
// instance) is the caller's and stays. False, the record unchanged, for a resource shorter than
// 20 bytes (such a resource is carried as it is); FormatError for one that claims a family
// relation it does not hold (the Family flag with four or more values, but only 20 bytes). A
// Family flag with fewer than four values is read as clear.
bool ReadRelationshipResource(std::span<const std::uint8_t> stored, RelationshipRecord& record);

// Whether ReadRelationshipResource makes a record of the stored bytes (at least 20 bytes, and a
// family relation where the flag and the count claim one), without making it: the save asks this
// of every relationship resource it writes.
bool RelationshipResourceReadable(std::span<const std::uint8_t> stored);

// What a rewritten resource says of itself, for the record once the save has gone through.
struct RelationshipWritten {
    std::uint32_t valueCount = 0;
    bool hasFamilyRelation = false;
};

// Appends the resource rewritten from the record: the stored bytes with the record's levels and
// flags patched in. Every value keeps its place, since the game reads the values after the family
// relation at fixed offsets: the relation is written into value 3 where the resource holds it
// (as 0 when the record lost the Family flag), and a slot is added only to a resource of three
// values. What the stored resource holds is read from its own bytes, so a save that failed
// half-way and is tried again cannot add a slot twice. The header word, the unknown flag bits and
// every value past the family relation are kept. The stored resource must be at least 20 bytes
// long and readable.
RelationshipWritten WriteRelationshipResource(std::span<const std::uint8_t> stored, const RelationshipRecord& record,
                                              Bytes& out);

// The bytes of a resource for a record made in memory: header word 2, the record's levels and
// flags, and the family relation when Family is set (24 bytes, four values), else 20 bytes with a
// count of three (the count states what the resource holds).
Bytes NewRelationshipResource(const RelationshipRecord& record, RelationshipWritten& written);

// A record made in memory, as the family editor and the pair rules create them: header 2, four
// values, levels 0, Family set with the relation given.
RelationshipRecord NewRelationshipRecord(std::uint16_t owner, std::uint16_t other, int familyRelation);

}  // namespace qh
