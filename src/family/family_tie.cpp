#include "family/family_tie.h"

#include <algorithm>

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

namespace {

// The words the resource holds beside the ties, which the program does not interpret: the header
// word and each sim block's word (the first block's, for a sim in two).
struct TieWords {
    std::uint32_t header = 1;
    std::unordered_map<std::uint16_t, std::uint32_t> simWords;
};

// The ties and words of the stored resource, and how many blocks it has.
struct ReadTree {
    std::vector<FamilyTie> ties;
    TieWords words;
    std::uint32_t blocks = 0;
    std::size_t end = 0;  // where the last block ends
};

ReadTree Read(std::span<const std::uint8_t> bytes) {
    ByteCursor cursor(bytes, "family ties");
    ReadTree tree;
    tree.words.header = cursor.U32("header word");
    tree.blocks = cursor.U32("number of sims");
    // Each block takes at least ten bytes: a count past what the bytes can hold is damage, not a
    // reason to reserve memory.
    if (tree.blocks > bytes.size() / 10) {
        throw FormatError("family ties: " + std::to_string(tree.blocks) + " sims cannot fit");
    }
    for (std::uint32_t s = 0; s < tree.blocks; ++s) {
        const std::uint16_t sim = cursor.U16("sim id");
        const std::uint32_t word = cursor.U32("sim word");
        tree.words.simWords.try_emplace(sim, word);
        const std::uint32_t count = cursor.U32("number of ties");
        if (count > (bytes.size() - cursor.at()) / 6) {
            throw FormatError("family ties: sim " + std::to_string(sim) + " claims " + std::to_string(count) + " ties");
        }
        for (std::uint32_t t = 0; t < count; ++t) {
            FamilyTie tie;
            tie.simId = sim;
            tie.tieType = cursor.U32("tie type");
            tie.relatedId = cursor.U16("related sim");
            tree.ties.push_back(tie);
        }
    }
    tree.end = cursor.at();
    return tree;
}

void Write(const std::vector<FamilyTie>& ties, const TieWords& words, Bytes& out) {
    // The sims in order of their first tie, each with its ties in list order, in one pass.
    std::vector<std::uint16_t> order;
    std::unordered_map<std::uint16_t, std::vector<const FamilyTie*>> bySim;
    for (const FamilyTie& tie : ties) {
        auto [it, added] = bySim.try_emplace(tie.simId);
        if (added) order.push_back(tie.simId);
        it->second.push_back(&tie);
    }
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
}

}  // namespace

void ReadFamilyTies(std::span<const std::uint8_t> stored, std::vector<FamilyTie>& ties) {
    ties = Read(stored).ties;
}

bool FamilyTiesExplained(std::span<const std::uint8_t> stored) {
    try {
        const ReadTree tree = Read(stored);
        if (tree.end != stored.size()) return false;
        Bytes again;
        Write(tree.ties, tree.words, again);
        return std::equal(again.begin(), again.end(), stored.begin(), stored.end());
    } catch (const FormatError&) {
        return false;
    }
}

void WriteFamilyTies(std::span<const std::uint8_t> stored, const std::vector<FamilyTie>& ties, Bytes& out) {
    const ReadTree tree = Read(stored);
    if (tree.ties == ties) {
        out.insert(out.end(), stored.begin(), stored.end());
        return;
    }
    Write(ties, tree.words, out);
}

}  // namespace qh
