// Taking a deleted sim out of the neighborhood whole.
//
// A sim is its character file and, in the neighborhood package, its description, its genetic
// record, the relationship records it owns and those about it, its family ties and the ties that
// name it, its place in a household and its items (with the Furious and Contact items other sims
// hold about it). Deleting only the character file leaves all of those naming a sim the game no
// longer has: the game then shows a blank sim in family trees and relationship panels, or fails
// to load the household. So a delete takes every record out of the model at once, and the next
// save drops the sim's description, genetic record and relationship resources from the package
// (`Workspace::deletedSims`).
//
// When another sim shares the deleted sim's instance id, relationship id or GUID, the records
// cannot be told apart: then only the character file goes, as the neighborhood's check already
// reports the shared identity.
#pragma once

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "workspace/model.h"

namespace qh {

// What a removal took out, each with its place, so that putting it back restores the model as it
// was (and the save's records-as-saved stay aligned with the lists).
struct SimRemoval {
    std::size_t index = 0;  // in `characters`
    Character sim;
    bool recordsRemoved = false;
    std::vector<std::pair<std::size_t, RelationshipRecord>> relationships;
    std::vector<std::pair<std::size_t, RelationshipRecord>> relationshipsAsSaved;
    std::vector<std::pair<std::size_t, FamilyTie>> ties;
    std::vector<std::pair<std::size_t, NeighborhoodItem>> items;
    std::vector<std::pair<std::size_t, Household>> householdsBefore;
    std::vector<std::pair<std::size_t, StoredDescription>> descriptions;
    std::vector<std::pair<std::size_t, DNA>> dna;
};

// Whether the sim's records can be told from every other sim's (see above).
bool SimRecordsSeparable(const Workspace& workspace, std::size_t index);

// Takes the sim at `index` and (when separable) every record naming it out of the model, and
// marks its resources for the next save to drop.
SimRemoval RemoveSim(Workspace& workspace, std::size_t index);
// Puts back what `RemoveSim` took, at the same places. Only before a save carried the removal out
// (`RemovalSaved`).
void UndoSimRemoval(Workspace& workspace, const SimRemoval& removal);
// Whether a save has dropped the removed sim's resources from the package since the removal.
bool RemovalSaved(const Workspace& workspace, const SimRemoval& removal);

}  // namespace qh
