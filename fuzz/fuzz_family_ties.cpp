// Arbitrary bytes as a family-ties resource: read whole or refused with FormatError, then written
// and read again, which must give the same ties and words, and a second write the same bytes.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "family/family_tie.h"
#include "platform/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        qh::FamilyTiesWords words;
        const auto ties = qh::ReadFamilyTies(std::span(data, size), words);
        const qh::Bytes once = qh::WriteFamilyTies(ties, words);
        qh::FamilyTiesWords againWords;
        const auto again = qh::ReadFamilyTies(once, againWords);
        // Written grouped by sim: the same ties of each sim in the same order.
        if (again.size() != ties.size()) std::abort();
        if (qh::WriteFamilyTies(again, againWords) != once) std::abort();
        if (againWords.header != words.header) std::abort();
    } catch (const qh::FormatError&) {
    }
    return 0;
}
