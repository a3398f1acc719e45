// A sim's items in the neighborhood data: tokens, badges, rewards, memories. Every panel that
// adds, changes or removes a sim's items goes through these.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "character/character.h"
#include "workspace/model.h"

namespace qh {

inline constexpr std::uint32_t kDeadMarkGuid = 0x2CCF9BED;

// The owner word a new item of a sim takes: the word of the first item of the sims' list, as the
// game's own items carry it. With no sim items at all, the resource's default owner word (the
// word every owner had before the game stored one per owner), else 0.
std::uint32_t NewItemOwnerWord(const Workspace& workspace);

// Why the sims' items cannot be changed: the neighborhood data could not be read (or the package
// has none), so the save would carry the resource as it is and drop every item edit. Empty when
// they can be.
std::string ItemsRefusal(const Workspace& workspace);

// Appends an item of the sim (owner = instanceId) and marks the sim changed.
NeighborhoodItem& AddSimItem(Workspace& workspace, Character& sim, std::uint32_t itemGuid, std::uint8_t secondary,
                             ItemValues values, std::uint16_t flags1 = 0);

// Removes every item of the sim with the GUID; marks the sim changed when any was removed.
// Returns how many were removed.
std::size_t RemoveSimItems(Workspace& workspace, Character& sim, std::uint32_t itemGuid);

// The first item of the sim with the GUID, or null.
NeighborhoodItem* FindSimItem(Workspace& workspace, const Character& sim, std::uint32_t itemGuid);
bool HasSimItem(const Workspace& workspace, const Character& sim, std::uint32_t itemGuid);

// The raw edits of the neighborhood data panel. A new item takes the sim as owner and the owner
// word of NewItemOwnerWord; an edited item takes every field of `edited`; `markChanged` is false
// when the panel stopped at a box it could not read (the fields before it are taken, the sim is
// not marked). Erasing removes the item at `index` of the list it was listed from.
NeighborhoodItem& AddSimItemCopy(Workspace& workspace, Character& sim, const NeighborhoodItem& fields);
void ReplaceItem(NeighborhoodItem& target, NeighborhoodItem edited, Character& sim, bool markChanged = true);
void EraseItem(std::vector<NeighborhoodItem>& items, std::size_t index, Character& sim);

// The dead mark: an item 0x2CCF9BED of the sim. Setting it adds one item (values 8, 8, 0, 0, 0)
// unless the sim has one already; clearing it removes every such item of the sim and resets the
// sim's lingering number and ghost flags. Returns true when the sim changed.
bool IsDead(const Workspace& workspace, const Character& sim);
bool SetDeadMark(Workspace& workspace, Character& sim, bool dead);

// The rows of the neighborhood data panel for a sim: its items of the first list, then of the
// second; within each by flags1 from 0 to 99, skipping 2 (what the game keeps there is not for
// editing); within one flags1 in list order. Each item appears once for every catalogue object
// with its GUID (so an item whose object the catalogue lacks is not listed). Each row is the
// item's position in simItemList and the object's name.
struct DataPanelRow {
    std::size_t item;
    std::string name;
};
std::vector<DataPanelRow> DataPanelRows(const Workspace& workspace, const Character& sim,
                                        const std::vector<OBJd>& catalogue);
// Every item of a list (families' or lots'), named the same way.
std::vector<DataPanelRow> DataPanelRows(const std::vector<NeighborhoodItem>& items, const std::vector<OBJd>& catalogue);

}  // namespace qh
