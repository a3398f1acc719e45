#include "family/family_tie.h"

#include "package/byte_reader.h"

namespace qh {

std::string_view FamilyTieName(std::uint32_t tieType) {
    switch (tieType) {
        case kFirstParentTie: return "first parent";
        case kSecondParentTie: return "second parent";
        case kSpouseTie: return "spouse";
        case kSiblingTie: return "sibling";
        case kChildTie: return "child";
        default: return {};
    }
}

std::vector<FamilyTie> ReadFamilyTies(std::span<const std::uint8_t> bytes, FamilyTiesWords& words) {
    ByteCursor cursor(bytes, "family ties");
    FamilyTiesWords read;
    read.header = cursor.U32("header word");
    const std::uint32_t sims = cursor.U32("number of sims");
    // Each block takes at least ten bytes: a count past what the bytes can hold is damage, not a
    // reason to reserve memory.
    if (sims > bytes.size() / 10) throw FormatError("family ties: " + std::to_string(sims) + " sims cannot fit");
    std::vector<FamilyTie> ties;
    for (std::uint32_t s = 0; s < sims; ++s) {
        const std::uint16_t sim = cursor.U16("sim id");
        const std::uint32_t word = cursor.U32("sim word");
        read.simWords.try_emplace(sim, word);
        const std::uint32_t count = cursor.U32("number of ties");
        if (count > (bytes.size() - cursor.at()) / 6) {
            throw FormatError("family ties: sim " + std::to_string(sim) + " claims " + std::to_string(count) + " ties");
        }
        for (std::uint32_t t = 0; t < count; ++t) {
            FamilyTie tie;
            tie.simId = sim;
            tie.tieType = cursor.U32("tie type");
            tie.relatedId = cursor.U16("related sim");
            ties.push_back(tie);
        }
    }
    words = std::move(read);
    return ties;
}

Bytes WriteFamilyTies(const std::vector<FamilyTie>& ties, const FamilyTiesWords& words) {
    // The sims in order of their first tie, each with its ties in list order, in one pass.
    std::vector<std::uint16_t> order;
    std::unordered_map<std::uint16_t, std::vector<const FamilyTie*>> bySim;
    for (const FamilyTie& tie : ties) {
        auto [it, added] = bySim.try_emplace(tie.simId);
        if (added) order.push_back(tie.simId);
        it->second.push_back(&tie);
    }
    Bytes out;
    ByteWriter writer(out);
    writer.U32(words.header);
    writer.U32(static_cast<std::uint32_t>(order.size()));
    for (std::uint16_t sim : order) {
        const auto& own = bySim[sim];
        const auto word = words.simWords.find(sim);
        writer.U16(sim);
        writer.U32(word == words.simWords.end() ? 1 : word->second);
        writer.U32(static_cast<std::uint32_t>(own.size()));
        for (const FamilyTie* tie : own) {
            writer.U32(tie->tieType);
            writer.U16(tie->relatedId);
        }
    }
    return out;
}

}  // namespace qh
