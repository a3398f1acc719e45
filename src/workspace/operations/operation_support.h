// What the operations of every subject share: reading their values, finding the other sim of a
// pair or a tie, the refusals they have in common, and each subject's table.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "workspace/sim_operations.h"

namespace qh::ops {

std::optional<int> Number(std::string_view text);
std::optional<bool> OnOff(std::string_view text);
// "NAME=VALUE", split at the first '='.
std::optional<std::pair<std::string_view, std::string_view>> Assignment(std::string_view text);
// "OTHER:REST" or "OTHER=REST", split at the last separator (a file name holds neither).
std::optional<std::pair<std::string_view, std::string_view>> OtherAnd(std::string_view text, char separator);
// "FIELD=VALUE", for the field door of an operation whose value names the field.
std::string Joined(std::string_view field, std::string_view value);

// The other sim of a relationship or a tie: a character package's file name, or the sim's
// instance id in decimal or, with "0x", in hexadecimal.
std::optional<std::size_t> FindOther(SimOperationContext& c, std::string_view other);

std::string PetRefusal(const Character& sim, const char* what);
// What the window offers only in advanced mode: refused without it.
std::string AdvancedRefusal(std::string_view what);

// Each subject's operations, in the order a command applies them.
std::span<const SimOperation> CharacterOperations();
std::span<const SimOperation> ItemOperations();
std::span<const SimOperation> TraitOperations();
std::span<const SimOperation> HouseholdOperations();
std::span<const SimOperation> RelationshipOperations();
std::span<const SimOperation> FamilyOperations();
std::span<const SimOperation> CareerOperations();
std::span<const SimOperation> HobbyOperations();
std::span<const SimOperation> AspirationOperations();
std::span<const SimOperation> GeneticsOperations();

}  // namespace qh::ops
