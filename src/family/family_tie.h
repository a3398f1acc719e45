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

// The words the resource holds beside the ties, which the program does not interpret: the header
// word and each sim block's word, kept so that a resource is written back as it was read.
struct FamilyTiesWords {
    std::uint32_t header = 1;
    std::unordered_map<std::uint16_t, std::uint32_t> simWords;  // the first block's word per sim
    friend bool operator==(const FamilyTiesWords&, const FamilyTiesWords&) = default;
};

// "first parent", "second parent", "spouse", "sibling", "child"; empty for other types.
std::string_view FamilyTieName(std::uint32_t tieType);

// Reads every tie of the resource, in order. Throws FormatError on a resource that ends early
// (nothing is appended then) or claims more ties than its bytes can hold.
std::vector<FamilyTie> ReadFamilyTies(std::span<const std::uint8_t> bytes, FamilyTiesWords& words);

// The resource for the ties: one block per sim in order of its first tie, its ties in list order;
// the header and block words as read (1 for a sim that had no block).
Bytes WriteFamilyTies(const std::vector<FamilyTie>& ties, const FamilyTiesWords& words);

}  // namespace qh
