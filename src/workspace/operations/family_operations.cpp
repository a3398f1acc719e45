// The Family Tree panel's operations: a new parent or spouse, or an empty slot, each deriving the
// family again; through the panel's candidates and its spouse slot's age rule.
#include <algorithm>

#include "workspace/family_tree.h"
#include "workspace/operations/operation_support.h"

namespace qh::ops {

namespace {

std::string ChangeTie(SimOperationContext& c, Character& sim, FamilySlot slot, std::string_view other,
                      const char* option) {
    if (const std::string refusal = FamilyTiesRefusal(c.workspace); !refusal.empty()) return refusal;
    const auto index = FindOther(c, other);
    if (!index) return std::string(option) + ": no sim \"" + std::string(other) + "\" in this neighborhood";
    const std::size_t self = static_cast<std::size_t>(&sim - c.workspace.characters.data());
    const auto candidates = FamilyCandidates(c.workspace, self, slot, c.advanced);
    if (std::find(candidates.begin(), candidates.end(), *index) == candidates.end()) {
        return std::string(option) + ": " + c.workspace.characters[*index].packageFile + " cannot be " +
               (slot == FamilySlot::Spouse ? "the spouse" : "a parent") + " of " + sim.packageFile +
               " (another species, too young, the sim itself or its other parent)";
    }
    ChangeFamilyTie(c.workspace, self, slot, *index);
    return {};
}

std::optional<FamilySlot> ParentSlot(std::string_view text) {
    if (text == "1") return FamilySlot::FirstParent;
    if (text == "2") return FamilySlot::SecondParent;
    return std::nullopt;
}

std::string Parent(SimOperationContext& c, Character& sim, std::string_view text) {
    const auto assignment = Assignment(text);
    const auto slot = assignment ? ParentSlot(assignment->first) : std::nullopt;
    if (!slot) return "--parent must be 1=OTHER or 2=OTHER";
    return ChangeTie(c, sim, *slot, assignment->second, "--parent");
}

// The spouse slot is shown only for adults (from teens in advanced mode): no marrying a child.
std::string SpouseRefusal(SimOperationContext& c, const Character& sim, const char* option) {
    if (SpouseShown(sim, c.advanced)) return {};
    return std::string(option) + ": " + sim.packageFile + " is too young for a spouse" +
           (c.advanced ? "" : " (teens have one only in advanced mode)");
}

std::string Spouse(SimOperationContext& c, Character& sim, std::string_view text) {
    if (const std::string refusal = SpouseRefusal(c, sim, "--spouse"); !refusal.empty()) return refusal;
    return ChangeTie(c, sim, FamilySlot::Spouse, text, "--spouse");
}

std::string RemoveParent(SimOperationContext& c, Character& sim, std::string_view text) {
    const auto slot = ParentSlot(text);
    if (!slot) return "--remove-parent must be 1 or 2";
    if (const std::string refusal = FamilyTiesRefusal(c.workspace); !refusal.empty()) return refusal;
    RemoveFamilyTie(c.workspace, static_cast<std::size_t>(&sim - c.workspace.characters.data()), *slot);
    return {};
}

std::string RemoveSpouse(SimOperationContext& c, Character& sim, std::string_view) {
    if (const std::string refusal = SpouseRefusal(c, sim, "--remove-spouse"); !refusal.empty()) return refusal;
    if (const std::string refusal = FamilyTiesRefusal(c.workspace); !refusal.empty()) return refusal;
    RemoveFamilyTie(c.workspace, static_cast<std::size_t>(&sim - c.workspace.characters.data()), FamilySlot::Spouse);
    return {};
}

constexpr SimOperation kFamily[] = {
    {.name = "remove-parent", .valueHelp = "1|2: empty a parent slot and derive the family again",
     .apply = RemoveParent, .scope = EditScope::Family},
    {.name = "remove-spouse", .valueHelp = "empty the spouse slot and derive the family again", .apply = RemoveSpouse,
     .flag = true, .scope = EditScope::Family},
    {.name = "parent", .valueHelp = "1=OTHER or 2=OTHER: a new first or second parent (the family is derived again)",
     .apply = Parent, .scope = EditScope::Family},
    {.name = "spouse", .valueHelp = "OTHER: a new spouse (the family is derived again)", .apply = Spouse,
     .scope = EditScope::Family},
};

}  // namespace

std::span<const SimOperation> FamilyOperations() { return kFamily; }

}  // namespace qh::ops
