// A sim's genetic record: the resource 0xEBFEE33F of the neighborhood package (instance = the
// sim's instance id), an XML property set of sixteen inherited genes under the keys 1 to 8 and
// 268435457 to 268435464, each the GUID text of a gene or empty.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qh {

struct DNA {
    std::uint32_t instanceId = 0;
    std::string skinTone, recessiveSkinTone, fatherHairColor, motherHairColor, fatherSkinTone, motherSkinTone,
        dominantEyeColor, parentEyeColor, gene5, gene4, gene7, gene8, gene268435460, gene268435461, gene268435463,
        gene268435464;
    std::uint8_t dirty = 0;
    // Why the record cannot be changed: its resource holds properties besides the sixteen genes
    // (which a rewrite would drop) or is not an XML property set at all. Empty when it can be.
    std::string keptAsIs;

    friend bool operator==(const DNA&, const DNA&) = default;
};

// An empty or missing gene is held as this text.
inline constexpr std::string_view kNoGene = "NA";

struct DnaField {
    std::string_view name;  // "skinTone"
    std::string DNA::*member;
    std::string_view key;   // "6"
    const char* caption;    // "Skin Tone:", or null for a gene no panel shows
};
// The sixteen, in the record's order.
std::span<const DnaField> DnaFields();
const DnaField* FindDnaField(std::string_view name);

// Whether two records hold the same sixteen genes (their marks aside).
bool SameGenes(const DNA& a, const DNA& b);

// Reads the record of a genetic resource; every gene it lacks is "NA".
DNA ReadDnaResource(std::span<const std::uint8_t> bytes, std::uint32_t instanceId);
// The resource for the record: the sixteen keys in text order (1, 2, 268435457 .. 268435464, 3 ..
// 8), "NA" written as an empty element.
std::string WriteDnaResource(const DNA& dna);

// A gene as a panel or the command line sets it: "NA", or a gene's GUID text (36 characters of
// hexadecimal digits and dashes, or 36 zeros for none). Marks the record changed. Returns why the
// value was refused.
std::string SetGene(DNA& dna, const DnaField& field, std::string_view value);
bool IsGeneText(std::string_view value);

}  // namespace qh
