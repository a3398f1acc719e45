// The neighborhood's households as the Households panel and the command line use them: finding
// them, their labels and members, and moving a sim in. The rules of one household record (name,
// description, funds) are the record's own (`household/household_rules.h`).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "character/character.h"
#include "household/household.h"
#include "household/household_rules.h"
#include "workspace/model.h"

namespace qh {

// Builds the lookup by instance id; to be called whenever households are added or removed.
void IndexHouseholds(Workspace& workspace);
Household* FindHousehold(Workspace& workspace, std::uint32_t instanceId);
// The household read from the package's `ordinal`-th FAMI resource of that instance id (0 for the
// first), or null when that resource could not be read.
Household* FindStoredHousehold(Workspace& workspace, std::uint32_t instanceId, std::uint32_t ordinal);
std::optional<std::size_t> HouseholdIndex(const Workspace& workspace, std::uint32_t instanceId);

// The selector's label: the decoded, trimmed name, or the lot number in decimal for a household
// without a text list (or with an empty name).
std::string HouseholdLabel(const Household& household);
// The households' indices sorted by label (ties in load order).
std::vector<std::size_t> HouseholdOrder(const Workspace& workspace);

// The household the sim belongs to: the one whose instance id is the sim's family number, read
// as the 16-bit number the description stores.
std::optional<std::size_t> HouseholdOfSim(const Workspace& workspace, const Character& sim);
// The sims of the household, in member order; a GUID that matches no sim is left out, one that
// matches several sims gives each of them. One pass over the sims.
std::vector<std::size_t> HouseholdMembers(const Workspace& workspace, const Household& household);
// The lot the household lives on, searched from the end of the lot list; null when unknown.
const LotDesc* HouseholdLot(const Workspace& workspace, const Household& household);

// Moves the sim into the household: its GUID leaves every household's members (each that lost
// one is marked changed) and is appended to this one's, so a sim already there ends up last; the
// sim's family number becomes the household's instance (its low 16 bits). The sim is marked
// changed too, so that its description carries the new family number: the game then sees the
// same household from both sides.
void MoveIn(Workspace& workspace, Character& sim, Household& household);
// Why the sim cannot move into the household as the window's Move In would move it (offered only
// in advanced mode, into a household with members, not the sim's own), or empty.
std::string MoveInRefusal(const Workspace& workspace, const Character& sim, const Household& household, bool advanced);

}  // namespace qh
