// Arbitrary bytes as a family-ties resource: read whole or refused with FormatError. Unchanged
// ties are written as the stored bytes; changed ones (one tie dropped) are written, read again
// to the same ties, explained, and written again to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <algorithm>
#include <span>
#include <vector>

#include "family/family_tie.h"
#include "platform/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> stored(data, size);
    try {
        std::vector<qh::FamilyTie> ties;
        qh::ReadFamilyTies(stored, ties);
        qh::Bytes same;
        qh::WriteFamilyTies(stored, ties, same);
        if (!std::equal(same.begin(), same.end(), stored.begin(), stored.end())) std::abort();
        if (ties.empty()) return 0;
        ties.pop_back();
        qh::Bytes once;
        qh::WriteFamilyTies(stored, ties, once);
        std::vector<qh::FamilyTie> again;
        qh::ReadFamilyTies(once, again);
        if (again.size() != ties.size()) std::abort();
        if (!qh::FamilyTiesExplained(once)) std::abort();
        qh::Bytes twice;
        qh::WriteFamilyTies(once, again, twice);
        if (twice != once) std::abort();
    } catch (const qh::FormatError&) {
    }
    return 0;
}
