// The family tree of a neighborhood: resource 0x8C870743 of the neighborhood package.
//
// The resource is a header word, a count of sim blocks, and per sim: its id (the instance of its
// description), a word, a count of ties, and the ties, each a tie type (u32) and the related
// sim's id (u16). The game keeps both directions: a child holds a first- or second-parent tie to
// each parent and each parent a child tie to it; siblings and spouses hold ties to each other.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/file_io.h"

namespace qh {

inline constexpr std::uint32_t kFirstParentTie = 0, kSecondParentTie = 1, kSpouseTie = 2, kSiblingTie = 3,
                               kChildTie = 4;

struct FamilyTie {
    std::uint16_t simId = 0;      // the sim the tie belongs to
    std::uint32_t tieType = 0;    // the table above
    std::uint16_t relatedId = 0;  // the related sim

    friend bool operator==(const FamilyTie&, const FamilyTie&) = default;
};

// A tie as one number (sim, related sim, type), for counting ties as wholes.
inline std::uint64_t TieKey(const FamilyTie& tie) {
    return static_cast<std::uint64_t>(tie.simId) << 48 | static_cast<std::uint64_t>(tie.relatedId) << 32 | tie.tieType;
}

// "first parent", "second parent", "spouse", "sibling", "child"; empty for other types.
std::string_view FamilyTieName(std::uint32_t tieType);

// Reads every tie of the stored resource into `ties`, in order. Throws FormatError on a resource
// that ends early (`ties` is left as it was then) or claims more ties than its bytes can hold.
void ReadFamilyTies(std::span<const std::uint8_t> stored, std::vector<FamilyTie>& ties);

// Whether the stored resource is exactly what WriteFamilyTies makes of its own ties: every byte
// explained, each sim in one block, no block without ties. Only such a tree may be changed; one
// the game or another tool laid out otherwise is carried as it is.
bool FamilyTiesExplained(std::span<const std::uint8_t> stored);

// Appends the resource as it becomes for the ties. Ties equal to the stored ones give the stored
// bytes themselves. Otherwise: one block per sim in order of its first tie, its ties in list
// order; the header word and each block's word are read from `stored` (the resource as it is in
// the package being rewritten), 1 for a sim that had no block. Throws FormatError when `stored`
// cannot be read.
void WriteFamilyTies(std::span<const std::uint8_t> stored, const std::vector<FamilyTie>& ties, Bytes& out);

}  // namespace qh
