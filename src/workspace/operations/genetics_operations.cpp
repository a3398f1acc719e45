// The genetics panel's operation: a gene of the sim's genetic record or the sim's own hair, eye or
// skin colour, each set as the panel's selectors set it.
#include "workspace/operations/operation_support.h"
#include "workspace/sim_genes.h"

namespace qh::ops {

namespace {

// "FIELD=VALUE": a selector's field (skinTone, fatherHairColor, hairColor, ...) and a gene's GUID
// text or NA.
std::string Gene(SimOperationContext& c, Character& sim, std::string_view value) {
    const auto assignment = Assignment(value);
    const GeneSelector* selector = assignment ? FindGeneSelector(assignment->first) : nullptr;
    if (!selector) {
        return "--gene is FIELD=VALUE: skinTone, recessiveSkinTone, fatherHairColor, motherHairColor, fatherSkinTone, "
               "motherSkinTone, dominantEyeColor, parentEyeColor, hairColor, eyeColor or skinColor, and a gene's GUID "
               "text or NA";
    }
    return SetSimGene(c.workspace, sim, *selector, assignment->second, c.env.hasPets);
}

bool IsColour(std::string_view f) { return f == "hairColor" || f == "eyeColor" || f == "skinColor"; }

std::string ColourDoor(SimOperationContext& c, Character& sim, std::string_view field, std::string_view value) {
    return Gene(c, sim, Joined(field, value));
}

constexpr SimOperation kGenetics[] = {
    {.name = "gene", .valueHelp = "FIELD=VALUE: a gene of the genetic record or the sim's hair, eye or skin colour",
     .apply = Gene, .needsDescription = false, .governs = IsColour, .fieldDoor = ColourDoor},
};

}  // namespace

std::span<const SimOperation> GeneticsOperations() { return kGenetics; }

}  // namespace qh::ops
