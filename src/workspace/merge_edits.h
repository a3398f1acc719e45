// The player's edits put onto a record as the file holds it now.
//
// A save normally writes the model, which is what the file held at the load plus the player's
// edits. When another program (the game) saved the file since the load and the player chose to
// overwrite, writing the model whole would put back the load-time values of everything the game
// changed. Each function here takes three states of one record: `now` (read from the file as it
// is), `saved` (what the file held at the load or the last save) and `mine` (the model), and
// returns `now` with what differs between `saved` and `mine` applied: a field, a flag bit, an
// item or a list member the player did not change keeps the file's current value.
#pragma once

#include <vector>

#include "character/character.h"
#include "genetics/dna.h"
#include "family/family_tie.h"
#include "household/household.h"
#include "relationship/relationship.h"
#include "workspace/neighborhood_item.h"

namespace qh {

// Levels and the family relation where the player changed them, flag bits one by one.
RelationshipRecord ApplyRelationshipEdits(const RelationshipRecord& now, const RelationshipRecord& saved,
                                          const RelationshipRecord& mine);

// `now` with the ties `mine` has more of than `saved` appended (in the order of `mine`) and those
// it has fewer of removed (the first of each kind found): every tie counted as a whole.
std::vector<FamilyTie> ApplyTieEdits(const std::vector<FamilyTie>& now, const std::vector<FamilyTie>& saved,
                                     const std::vector<FamilyTie>& mine);

// Every field of the sim's record (the description's fields, the names, the colours) the player
// changed, onto the sim as the files hold it now; the program's own marks and keys are `mine`'s.
Character ApplyCharacterEdits(const Character& now, const Character& saved, const Character& mine);

// Funds when the player changed them; members the player added appended, those removed taken
// out; name and description each when changed. Everything else is `now`'s.
Household ApplyHouseholdEdits(const Household& now, const Household& saved, const Household& mine);
// A genetic record: each gene the player changed onto the record as the file holds it now.
DNA ApplyDnaEdits(const DNA& now, const DNA& saved, const DNA& mine);

// The sims' items. An item is known by its owner, list, object GUID and its place among the
// owner's items of that GUID. An item the player changed takes the changed words onto the
// file's; one the player removed leaves; one the player added is appended (after the owner's
// items, which the writer keeps together); every other item, the game's new ones included, is
// the file's, in the file's order. Linear in the items.
std::vector<NeighborhoodItem> ApplyItemEdits(const std::vector<NeighborhoodItem>& now,
                                             const std::vector<NeighborhoodItem>& saved,
                                             const std::vector<NeighborhoodItem>& mine);

}  // namespace qh
