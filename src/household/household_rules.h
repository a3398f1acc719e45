// The rules of one household record, as the Households panel and the command line change it: its
// name, description and funds.
#pragma once

#include <cstdint>
#include <string>

#include "household/household.h"

namespace qh {

// The name and description are stored as typed, without re-encoding. Each marks the household
// changed when it changed anything.
void RenameHousehold(Household& household, std::string name);
void DescribeHousehold(Household& household, std::string description);
inline constexpr std::int64_t kMaximumFunds = 2147483647;
// Funds are 32-bit: refuses (and changes nothing) below 0 or above 2147483647; returns why.
std::string SetHouseholdFunds(Household& household, std::int64_t funds);

}  // namespace qh
