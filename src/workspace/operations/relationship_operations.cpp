// The Relationships panel's operations on a pair: levels, flags (Steady, Engaged, Married and
// Family only in advanced mode, as the panel shows them), the family relation, Furious and
// Contact.
#include "workspace/operations/operation_support.h"
#include "workspace/sim_items.h"
#include "workspace/relationships.h"

namespace qh::ops {

namespace {

// The selected sim's relationship with OTHER, as the panel edits it: both directions must exist.
struct PairLookup {
    std::size_t record = 0;
    std::string problem;
};

PairLookup FindPair(SimOperationContext& c, const Character& sim, std::string_view other, const char* option) {
    Workspace& ws = c.workspace;
    const std::optional<std::size_t> index = FindOther(c, other);
    if (!index) return {0, std::string(option) + ": no sim \"" + std::string(other) + "\" in this neighborhood"};
    const Character& o = ws.characters[*index];
    const auto records = RelationshipsBetween(ws, RelationshipId(sim), RelationshipId(o));
    for (const auto& [from, to] : {std::pair{RelationshipId(sim), RelationshipId(o)}, std::pair{RelationshipId(o), RelationshipId(sim)}}) {
        if (sim.instanceId != 0 && o.instanceId != 0 && RelationshipUnreadable(ws, from, to)) {
            return {0, std::string(option) + ": the relationship of " + sim.packageFile + " and " + o.packageFile + " in " +
                           ws.packagePath.filename().string() +
                           " cannot be read; it is kept as it is and cannot be changed"};
        }
    }
    if (sim.instanceId == 0 || o.instanceId == 0 || records.empty() || &o == &sim) {
        return {0, std::string(option) + ": " + sim.packageFile + " has no relationship with " + o.packageFile};
    }
    if (ReverseRecords(ws, records.front()).empty()) {
        return {0, std::string(option) + ": " + o.packageFile + " has no relationship with " + sim.packageFile +
                       " in return; a one-way relationship cannot be edited"};
    }
    return {records.front(), {}};
}

std::string RelationshipLevels(SimOperationContext& c, Character& sim, std::string_view text) {
    constexpr const char* kUsage = "--rel must be OTHER:SHORT,LONG with levels from -100 to 100";
    const auto parts = OtherAnd(text, ':');
    if (!parts) return kUsage;
    const auto comma = parts->second.find(',');
    const auto shortTerm = Number(parts->second.substr(0, comma));
    const auto longTerm = comma == std::string_view::npos ? std::nullopt : Number(parts->second.substr(comma + 1));
    if (!shortTerm || !longTerm || *shortTerm < -100 || *shortTerm > 100 || *longTerm < -100 || *longTerm > 100) {
        return kUsage;
    }
    const PairLookup pair = FindPair(c, sim, parts->first, "--rel");
    if (!pair.problem.empty()) return pair.problem;
    SetRelationshipLevels(c.workspace, pair.record, RelationshipSide::Own, *shortTerm, *longTerm);
    return {};
}

std::string RelationshipFlagOperation(SimOperationContext& c, Character& sim, std::string_view text) {
    const auto parts = OtherAnd(text, ':');
    const auto assignment = parts ? Assignment(parts->second) : std::nullopt;
    const RelationshipFlag* flag = assignment ? FindRelationshipFlag(assignment->first) : nullptr;
    const auto on = assignment ? OnOff(assignment->second) : std::nullopt;
    if (!flag || !on) {
        std::string captions;
        for (const RelationshipFlag& f : RelationshipFlags()) captions += (captions.empty() ? "" : ", ") + std::string(f.caption);
        return "--rel-flag must be OTHER:CAPTION=on|off with CAPTION one of " + captions;
    }
    if (RelationshipFlagAdvancedOnly(flag->bit) && !c.advanced) {
        return AdvancedRefusal("--rel-flag " + std::string(flag->caption));
    }
    if (flag->bit == kContactBit) {
        if (std::string refusal = ItemsRefusal(c.workspace); !refusal.empty()) return refusal;  // Contact is an item too
    }
    const PairLookup pair = FindPair(c, sim, parts->first, "--rel-flag");
    if (!pair.problem.empty()) return pair.problem;
    SetRelationshipFlagRule(c.workspace, pair.record, RelationshipSide::Own, flag->bit, *on);
    return {};
}

std::string FamilyRelationOperation(SimOperationContext& c, Character& sim, std::string_view text) {
    const auto parts = OtherAnd(text, ':');
    const auto value = parts ? Number(parts->second) : std::nullopt;
    if (!value || !MirrorFamilyRelation(*value)) return "--family-relation must be OTHER:N with N from 0 to 9";
    if (!c.advanced) return AdvancedRefusal("--family-relation");
    const PairLookup pair = FindPair(c, sim, parts->first, "--family-relation");
    if (!pair.problem.empty()) return pair.problem;
    if (!HasRelationshipFlag(c.workspace.relationshipList[pair.record], kFamilyBit)) {
        return "--family-relation: the relationship is not marked Family (--rel-flag OTHER:Family=on first)";
    }
    SetFamilyRelation(c.workspace, pair.record, RelationshipSide::Own, *value);
    return {};
}

std::string Furious(SimOperationContext& c, Character& sim, std::string_view text) {
    const auto parts = OtherAnd(text, '=');
    const auto on = parts ? OnOff(parts->second) : std::nullopt;
    if (!on) return "--furious must be OTHER=on|off";
    const PairLookup pair = FindPair(c, sim, parts->first, "--furious");
    if (!pair.problem.empty()) return pair.problem;
    if (!FuriousShown(c.env)) return "--furious: Furious is kept only with Nightlife or a later expansion installed";
    const RelationshipSideIds ids = SideIds(c.workspace, pair.record, RelationshipSide::Own);
    SetFurious(c.workspace, ids.owner, ids.other, *on);
    return {};
}

std::string Contact(SimOperationContext& c, Character& sim, std::string_view text) {
    const auto parts = OtherAnd(text, '=');
    const auto on = parts ? OnOff(parts->second) : std::nullopt;
    if (!on) return "--contact must be OTHER=on|off";
    const PairLookup pair = FindPair(c, sim, parts->first, "--contact");
    if (!pair.problem.empty()) return pair.problem;
    SetRelationshipFlagRule(c.workspace, pair.record, RelationshipSide::Own, kContactBit, *on);
    return {};
}

constexpr SimOperation kRelationships[] = {
    {.name = "rel", .valueHelp = "OTHER:SHORT,LONG: the sim's levels toward OTHER (file name or instance id), -100..100",
     .apply = RelationshipLevels, .needsDescription = false, .scope = EditScope::Relationships},
    {.name = "rel-flag",
     .valueHelp = "OTHER:CAPTION=on|off: a flag (Friend, ...; both-sides flags set both records; Steady, Engaged, "
                  "Married and Family in advanced mode)",
     .apply = RelationshipFlagOperation, .needsDescription = false, .scope = EditScope::Relationships},
    {.name = "family-relation", .valueHelp = "OTHER:N: what the sim is to OTHER, 0-9 (OTHER's record takes the mirror); "
                                             "advanced mode",
     .apply = FamilyRelationOperation, .needsDescription = false, .advancedOnly = true,
     .scope = EditScope::Relationships},
    {.name = "furious", .valueHelp = "OTHER=on|off: the sim is furious at OTHER", .apply = Furious,
     .needsDescription = false, .needsItems = true, .scope = EditScope::Relationships},
    {.name = "contact", .valueHelp = "OTHER=on|off: the sim keeps OTHER as a contact", .apply = Contact,
     .needsDescription = false, .needsItems = true, .scope = EditScope::Relationships},
};

}  // namespace

std::span<const SimOperation> RelationshipOperations() { return kRelationships; }

}  // namespace qh::ops
