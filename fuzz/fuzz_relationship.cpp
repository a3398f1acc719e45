// Arbitrary bytes as a relationship resource: read, written back from what was read, and written
// once more with the Family flag turned over. Malformed input may only throw FormatError; a
// resource written from its own record must read back as that record, be byte for byte what it
// was unless the family relation had to be reconciled, and, when the flag turns, keep every value
// after the family relation in its place (a slot is added only to a resource that has none).
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/errors.h"
#include "relationship/relationship.h"

namespace {

bool SameFields(const qh::RelationshipRecord& a, const qh::RelationshipRecord& b) {
    return a.shortTerm == b.shortTerm && a.longTerm == b.longTerm && qh::RelationshipFlagsOf(a) == qh::RelationshipFlagsOf(b) &&
           a.headerWord == b.headerWord && (!qh::HasRelationshipFlag(a, qh::kFamilyBit) || a.familyRelation == b.familyRelation);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    // Who the pair is, as the loader sets it from the resource's instance; the reader keeps it.
    auto pair = [] {
        qh::RelationshipRecord record;
        record.ownerId = 0x12;
        record.otherId = 0x34;
        return record;
    };
    // The save's quick test agrees with the reader on every input.
    bool read = false;
    try {
        qh::RelationshipRecord probe = pair();
        read = qh::ReadRelationshipResource(bytes, probe);
    } catch (const qh::FormatError&) {
    }
    if (read != qh::RelationshipResourceReadable(bytes)) std::abort();
    try {
        qh::RelationshipRecord record = pair();
        if (!qh::ReadRelationshipResource(bytes, record)) return 0;
        if (record.ownerId != 0x12 || record.otherId != 0x34) std::abort();
        qh::Bytes once;
        qh::WriteRelationshipResource(bytes, record, once);
        const bool reconciled = (bytes[13] & 0x40) != 0 && !qh::HasRelationshipFlag(record, qh::kFamilyBit);
        if (!reconciled && !std::equal(once.begin(), once.end(), bytes.begin(), bytes.end())) std::abort();
        qh::RelationshipRecord back = pair();
        if (!qh::ReadRelationshipResource(once, back) || !SameFields(back, record)) std::abort();

        qh::RelationshipRecord turned = back;
        const bool family = !qh::HasRelationshipFlag(turned, qh::kFamilyBit);
        qh::SetRelationshipFlag(turned, qh::kFamilyBit, family);
        turned.familyRelation = 5;
        qh::Bytes twice;
        qh::WriteRelationshipResource(once, turned, twice);
        const std::uint32_t count = static_cast<std::uint32_t>(once[4]) | static_cast<std::uint32_t>(once[5]) << 8 |
                                    static_cast<std::uint32_t>(once[6]) << 16 | static_cast<std::uint32_t>(once[7]) << 24;
        const bool slot = count >= 4 && once.size() >= 24;
        const bool added = family && !slot;
        if (twice.size() != (added ? once.size() + 4 : once.size())) std::abort();
        // What follows value 3 stays where it was, or moves by the slot added in front of it.
        const std::size_t from = slot ? 24 : 20;
        const std::size_t to = added ? 24 : from;
        if (!std::equal(once.begin() + static_cast<std::ptrdiff_t>(from), once.end(),
                        twice.begin() + static_cast<std::ptrdiff_t>(to), twice.end())) {
            std::abort();
        }
        qh::RelationshipRecord again = pair();
        if (!qh::ReadRelationshipResource(twice, again) || !SameFields(again, turned)) std::abort();
    } catch (const qh::FormatError&) {
    }
    return 0;
}
