#include "workspace/sim_operations.h"

#include <vector>

#include "character/character_edit.h"
#include "character/character_rules.h"
#include "workspace/operations/operation_support.h"
#include "workspace/sim_items.h"

namespace qh {

std::span<const SimOperation> SimOperations() {
    static const std::vector<SimOperation> table = [] {
        std::vector<SimOperation> all;
        for (auto subject : {ops::CharacterOperations, ops::ItemOperations, ops::TraitOperations,
                             ops::HouseholdOperations, ops::RelationshipOperations, ops::FamilyOperations,
                             ops::CareerOperations, ops::HobbyOperations, ops::AspirationOperations, ops::GeneticsOperations}) {
            const auto operations = subject();
            all.insert(all.end(), operations.begin(), operations.end());
        }
        return all;
    }();
    return table;
}

const SimOperation* FindSimOperation(std::string_view name) {
    for (const SimOperation& operation : SimOperations()) {
        if (operation.name == name) return &operation;
    }
    return nullptr;
}

std::string ApplySimOperation(const SimOperation& operation, SimOperationContext& context, Character& sim,
                              std::string_view value) {
    if (operation.needsDescription && !HasDescription(sim)) return NoDescriptionRefusal(sim);
    if (operation.advancedOnly && !context.advanced) return ops::AdvancedRefusal("--" + std::string(operation.name));
    if (operation.needsItems) {
        if (std::string refusal = ItemsRefusal(context.workspace); !refusal.empty()) return refusal;
    }
    return operation.apply(context, sim, value);
}

const SimOperation* GoverningOperation(std::string_view field) {
    for (const SimOperation& operation : SimOperations()) {
        if (operation.governs && operation.governs(field)) return &operation;
    }
    return nullptr;
}

std::string ApplyFieldAssignment(SimOperationContext& context, Character& sim, std::string_view field,
                                 std::string_view value, bool raw) {
    const SimOperation* governor = raw ? nullptr : GoverningOperation(field);
    if (!governor) return SetCharacterField(sim, field, value);
    if (!governor->fieldDoor) {
        return std::string(field) + " is set with --" + std::string(governor->name) + " (" +
               std::string(governor->valueHelp) + "), or as typed with --raw";
    }
    if (governor->needsDescription && !HasDescription(sim)) return NoDescriptionRefusal(sim);
    if (governor->advancedOnly && !context.advanced) return ops::AdvancedRefusal(std::string(field));
    if (governor->needsItems) {
        if (std::string refusal = ItemsRefusal(context.workspace); !refusal.empty()) return refusal;
    }
    return governor->fieldDoor(context, sim, field, value);
}

}  // namespace qh
