// The neighborhood's relationships: finding a pair's records, and the rules every editor of a
// relationship goes through (the Relationships panel and the command line alike).
//
// A relationship is two records, one per direction. Levels and the per-side flags are one sim's
// feelings and change in one record; the both-sides flags (Engaged, Married, Steady, Family,
// Met) and the family relation change in both. "Furious" and the item half of "Contact" live in
// the sims' items of the neighborhood data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/game_environment.h"
#include "relationship/relationship.h"
#include "workspace/model.h"

namespace qh {

inline constexpr std::uint32_t kFuriousGuid = 0xCF505AB0;        // owner is furious at the sim in value 0
inline constexpr std::uint32_t kFuriousTargetGuid = 0xEFED8EC1;  // owner is the target; value 0 the angry sim
inline constexpr std::uint32_t kContactGuid = 0x8FCD5705;        // owner holds the sim in value 0 as a contact

// Builds the pair lookup from relationshipList; to be called whenever records are added or
// removed (their ids never change otherwise).
void IndexRelationships(Workspace& workspace);
// The records of the pair (owner's feelings about other), positions in relationshipList in list
// order; the first is the one the game's own files would have.
std::span<const std::size_t> RelationshipsBetween(const Workspace& workspace, std::uint16_t owner, std::uint16_t other);
// Every record the sim owns, in order of the other sim's id.
std::span<const std::size_t> RelationshipsOwnedBy(const Workspace& workspace, std::uint16_t owner);
// The records whose ids are the record's swapped: how the other sim feels about the owner.
std::span<const std::size_t> ReverseRecords(const Workspace& workspace, std::size_t record);
// Appends a record and keeps the lookup; returns its position.
std::size_t AddRelationship(Workspace& workspace, const RelationshipRecord& record);
// Whether the package holds a resource of the pair (owner about other) that could not be read.
bool RelationshipUnreadable(const Workspace& workspace, std::uint16_t owner, std::uint16_t other);

// The sim's 16-bit id in relationships: the instance of its description (0 without one).
std::uint16_t RelationshipId(const Character& sim);

// The sim's relationships to sims of the character list (not to itself, not to sims the list
// lacks): the record's position and the other sim's index.
struct ListedRelationship {
    std::size_t record;
    std::size_t other;
};
std::vector<ListedRelationship> ListedRelationships(const Workspace& workspace, const Character& sim);

// Which record of the pair an edit is about: the selected sim's own (panel one) or the other
// sim's records about it (panel two).
enum class RelationshipSide { Own, Reverse };

// Levels are kept to -100..100. Setting a side's levels stores both levels of that side's
// records, limited (a stored value outside the range is written back at the nearer limit).
int LimitRelationshipLevel(std::int64_t level);
void SetRelationshipLevels(Workspace& workspace, std::size_t record, RelationshipSide side, int shortTerm,
                           int longTerm);

// A flag of the flags table by its bit: a both-sides flag in the record and every reverse record
// whatever the side; Contact with its item (added once, or every matching item removed); any
// other per-side flag in that side's records only.
void SetRelationshipFlagRule(Workspace& workspace, std::size_t record, RelationshipSide side, int bit, bool on);

// The family relation of a side, 0..9 ("-" to "Spouse "); the other side takes the mirror value.
// Other values are refused (false).
bool SetFamilyRelation(Workspace& workspace, std::size_t record, RelationshipSide side, int value);

// Both sides to 100 / 100 with Friend and Best Friend.
void MaxBothRelationships(Workspace& workspace, std::size_t record);

// Whether `angry` holds a furious item naming `target`, and setting or clearing the mark: two
// items (the angry sim's and its target's companion) added once, or every such pair removed.
bool IsFurious(const Workspace& workspace, std::uint16_t angry, std::uint16_t target);
void SetFurious(Workspace& workspace, std::uint16_t angry, std::uint16_t target, bool on);

// The ids of a side: whose feelings (owner) about whom.
struct RelationshipSideIds {
    std::uint16_t owner;
    std::uint16_t other;
};
RelationshipSideIds SideIds(const Workspace& workspace, std::size_t record, RelationshipSide side);

// "Furious" exists from Nightlife on (any expansion but University and Seasons alone); attraction
// traits and turn-ons likewise, for a sim with a body resource.
bool FuriousShown(const GameEnvironment& env);
// Steady, Engaged, Married and Family (and the family relation) are shown only in advanced mode:
// what a player should not set by accident.
bool RelationshipFlagAdvancedOnly(int bit);
bool AttractionShown(const Character& sim, const GameEnvironment& env);

}  // namespace qh
