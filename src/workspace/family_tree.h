// The family tree's rules: what the family panel shows of a sim, who may fill a slot, and
// changing or removing a parent or the spouse.
//
// A change is not local. The sim's parent, spouse and sibling ties are removed (with the related
// sims' ties back to it), its relationships lose their Family marks, and its family is derived
// again from the sims in its two parent slots and its spouse slot: the ties, and the Family flag
// and family relation of its relationships with siblings, grandparents, aunts and uncles,
// cousins, parents and spouse, creating relationship records that do not exist yet.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "family/family_tie.h"
#include "workspace/model.h"

namespace qh {

enum class FamilySlot { FirstParent, SecondParent, Spouse };

// The sims of the character list the selected sim is tied to, by their indices: the slots (the
// last tie of each type wins), and the siblings and children in tie order. Ties to sims the list
// lacks are left out.
struct FamilyView {
    std::optional<std::size_t> firstParent;
    std::optional<std::size_t> secondParent;
    std::optional<std::size_t> spouse;
    std::vector<std::size_t> siblings;
    std::vector<std::size_t> children;
    std::optional<std::size_t>& Slot(FamilySlot slot) {
        return slot == FamilySlot::FirstParent ? firstParent : slot == FamilySlot::SecondParent ? secondParent : spouse;
    }
};
FamilyView ShowFamily(const Workspace& workspace, const Character& sim);

// Whether the spouse slot is shown: for young adults and older, teens too in advanced mode.
bool SpouseShown(const Character& sim, bool advanced);

// The sims the dialog offers for a slot, in load order (the dialog sorts them): for a parent,
// every other sim of the same species at least a young adult (a teen in advanced mode) that is
// not in the other parent slot; for a new spouse the same age rule; to change a spouse, any other
// sim of the same species.
std::vector<std::size_t> FamilyCandidates(const Workspace& workspace, std::size_t sim, FamilySlot slot,
                                          bool advanced);

// Why the neighborhood's ties cannot be changed (it keeps no family tree the program can write),
// or empty.
std::string FamilyTiesRefusal(const Workspace& workspace);

// Puts `chosen` in the slot and derives the family again; nothing when `chosen` is already there.
// Returns whether anything changed.
bool ChangeFamilyTie(Workspace& workspace, std::size_t sim, FamilySlot slot, std::size_t chosen);
// Empties the slot and derives the family again from the other slots.
void RemoveFamilyTie(Workspace& workspace, std::size_t sim, FamilySlot slot);

// A change between two sims in words, with the two sims' relationship ids.
struct PairChange {
    std::uint16_t first = 0;
    std::uint16_t second = 0;
    std::string text;
};
// The ties given or taken between two lists ("Lily Hart and Pablo Moreno become siblings"; a
// parent tie and its child tie, a sibling tie and its twin, are one bond), sims named as the
// workspace knows them.
std::vector<PairChange> DescribeTieChanges(const Workspace& workspace, const std::vector<FamilyTie>& before,
                                           const std::vector<FamilyTie>& after);
// What changed in one relationship record ("Owen Hart to Pablo Moreno: short term 10 → 20",
// "…: marked Family", "…: family relation none → Parent"); `before` null: a new record.
std::vector<PairChange> DescribeRecordChange(const Workspace& workspace, const RelationshipRecord* before,
                                             const RelationshipRecord& after);

// What a family change does, in words, found by running it on a copy of the workspace: each tie
// given or taken between two sims ("Lily Hart and Pablo Moreno become siblings", "Owen Hart is no
// longer Pablo Moreno's second parent") and each relationship whose family relation or Family
// flag changes ("Owen Hart to Pablo Moreno: family relation none → Parent"). `othersTouched`
// says whether any of it reaches beyond the sim and the sims it is being tied to or untied from
// (`involved`), the case in which the player is asked before the change is made.
struct FamilyConsequences {
    std::vector<std::string> lines;
    bool othersTouched = false;
};
FamilyConsequences FamilyChangeConsequences(const Workspace& workspace, const std::vector<std::size_t>& involved,
                                            const std::function<void(Workspace&)>& change);

// A picture of a sim's family: grandparents, parents, the sim with its siblings and spouse,
// children with their spouses, grandchildren. Only sims of the character list are drawn. Rows are
// generations (-2 grandparents .. 2 grandchildren); within a row the places run from 0, and each
// row is centred on the sim's column by `column`.
struct FamilyChartNode {
    std::size_t sim;       // index of the workspace's characters
    int generation;        // -2 .. 2
    double column;         // horizontal place, the centred sim at 0
    bool centre = false;   // the sim the chart is about
    bool spouse = false;   // beside its partner rather than a child of the row above
};
struct FamilyChartLink {
    std::size_t from;  // node indices; a parent and its child, or two spouses
    std::size_t to;
    bool spouses;
};
struct FamilyChart {
    std::vector<FamilyChartNode> nodes;
    std::vector<FamilyChartLink> links;
};
FamilyChart BuildFamilyChart(const Workspace& workspace, std::size_t sim);

}  // namespace qh
