#include "household/household_rules.h"

namespace qh {

void RenameHousehold(Household& household, std::string name) {
    if (household.householdName == name) return;
    household.householdName = std::move(name);
    household.householdDirty = 1;
}

void DescribeHousehold(Household& household, std::string description) {
    if (household.householdDescription == description) return;
    household.householdDescription = std::move(description);
    household.householdDirty = 1;
}

std::string SetHouseholdFunds(Household& household, std::int64_t funds) {
    if (funds < 0 || funds > kMaximumFunds) {
        return "funds must be from 0 to " + std::to_string(kMaximumFunds) + ": " + std::to_string(funds);
    }
    if (household.funds == funds) return {};
    household.funds = static_cast<std::int32_t>(funds);
    household.householdDirty = 1;
    return {};
}

}  // namespace qh
