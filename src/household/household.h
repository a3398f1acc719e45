// A household of the neighborhood: the family resource (FAMI, 0x46414D49) of the neighborhood
// package, and the text list (STR#, 0x53545223) of the same instance that holds its name and
// description.
//
// FAMI layout (little-endian). A 32-bit format version at offset 4 decides where the block of
// values starts (V): 16, or 20 for versions 81 and 84, or 24 for version 85.
//
//   0       4 bytes   carried through
//   4       u32       format version
//   8       4 bytes   carried through
//   12      u32       lotInstance
//   16..V   4/8 bytes carried through (versions 81, 84, 85)
//   V       u32       houseFamilyNumber
//   V+4     u32       funds
//   V+8     u32       familyFriends
//   V+12    u32       fourthValue
//   V+16    u32       member count n
//   V+20    n x 4     member GUIDs (each a sim's GUID, stored bytes)
//   then    the tail: 4 bytes (shown as hexadecimal), then for version 79 one u32 more and for
//           81, 84 and 85 two (4, 8 or 12 bytes in all)
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "package/guid.h"
#include "platform/file_io.h"

namespace qh {

struct Household {
    std::uint32_t instanceId = 0;  // of the FAMI resource and its text list; members' familyNumber
    // Which of the package's FAMI resources with this instance id it was read from (0 for the
    // first): a package holding two is saved the n-th from the n-th record.
    std::uint32_t storedOrdinal = 0;
    std::uint32_t lotInstance = 0;
    std::uint32_t houseFamilyNumber = 0;
    std::int32_t funds = 0;
    std::uint32_t familyFriends = 0;
    std::uint32_t fourthValue = 0;
    std::uint32_t storedMemberCount = 0;  // as read
    std::vector<Guid4> members;
    std::string tailText;  // the first four of the eight hex digits of the tail's first word
    std::uint32_t tailValue1 = 0, tailValue2 = 0;
    std::string householdName;  // the game's UTF-8 bytes, as typed
    std::string householdDescription;
    // Whether the name and description came from a text list that could be read: only then is
    // that list rewritten, so a household without one keeps the game's own naming.
    bool hasTextList = false;
    std::uint8_t householdDirty = 0;

    bool operator==(const Household&) const = default;
};

// Where the value block starts, and how long the tail is, for a format version.
std::size_t HouseholdValueStart(std::uint32_t version);
std::size_t HouseholdTailSize(std::uint32_t version);

// Fills the record from the resource (instanceId and the texts are the caller's). Throws
// FormatError when the resource ends before the member list does; a tail cut short after its
// first word is taken as far as it goes.
void ReadHousehold(std::span<const std::uint8_t> bytes, Household& household);

// Appends the resource as it becomes for the record: the stored bytes up to and including the
// family number, the record's funds, the stored friends and fourth value, the record's members,
// and the stored tail. The layout is read again from `stored` (the resource as it is in the
// package being rewritten), so nothing of another version of the file is written. Throws
// FormatError when `stored` cannot be read.
void WriteHousehold(std::span<const std::uint8_t> stored, const Household& household, Bytes& out);

}  // namespace qh
