// Arbitrary bytes as a sim's genetic record: read without fault; every gene as one search for its
// tag finds it; a record the editor would rewrite reads back, once written, with the same sixteen
// genes.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "genetics/dna.h"
#include "genetics/xml_property_set.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const qh::DNA dna = qh::ReadDnaResource(bytes, 7);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)qh::ReadXmlUintProperty(text, qh::UintPropertyTag("subtype"));
    for (const qh::DnaField& field : qh::DnaFields()) {
        const std::string alone = qh::ReadXmlStringProperty(text, qh::StringPropertyTag(field.key));
        if (dna.*field.member != (alone.empty() ? std::string(qh::kNoGene) : alone)) std::abort();
    }
    if (!dna.keptAsIs.empty()) return 0;
    const std::string written = qh::WriteDnaResource(dna);
    const qh::DNA again = qh::ReadDnaResource(
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(written.data()), written.size()), 7);
    for (const qh::DnaField& field : qh::DnaFields()) {
        if (dna.*field.member != again.*field.member) std::abort();
    }
    return 0;
}
