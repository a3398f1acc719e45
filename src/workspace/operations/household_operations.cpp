// The Households panel's operation: moving the sim into a household, offered (as the panel's
// Move In) only in advanced mode and only into a household with members it is not one of.
#include "package/guid.h"
#include "workspace/households.h"
#include "workspace/operations/operation_support.h"

namespace qh::ops {

namespace {

std::string MoveInOperation(SimOperationContext& c, Character& sim, std::string_view value) {
    const auto instance = ParseHexNumber(value);
    Household* household = instance ? FindHousehold(c.workspace, *instance) : nullptr;
    if (!household) return "--move-in: no household " + std::string(value) + " in this neighborhood";
    if (const std::string refusal = MoveInRefusal(c.workspace, sim, *household, c.advanced); !refusal.empty()) {
        return "--move-in: " + refusal;
    }
    MoveIn(c.workspace, sim, *household);
    return {};
}

bool IsFamilyNumber(std::string_view f) { return f == "familyNumber"; }

constexpr SimOperation kHouseholds[] = {
    {.name = "move-in", .valueHelp = "move the sim into the household with this instance (hexadecimal); advanced mode",
     .apply = MoveInOperation, .needsDescription = false, .advancedOnly = true, .scope = EditScope::Households,
     .governs = IsFamilyNumber},
};

}  // namespace

std::span<const SimOperation> HouseholdOperations() { return kHouseholds; }

}  // namespace qh::ops
