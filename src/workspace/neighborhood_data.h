// The neighborhood data resource (NGBH, 0x4E474248): the item lists of every lot, family and sim.
//
// Layout (little-endian; V is the version at offset 4):
//   20       u32 length N and N bytes, not read
//   next     24 bytes (V < 190) or 28 bytes (V >= 190), then 4 more, not read
//   next     u32 default owner word (every owner's word before version 190)
//   next     two neighborhood-wide item lists, each a u32 count and items; skipped
//   then     lots, families and sims: each a u32 number of owner blocks, then the blocks
//   rest     carried unchanged
// Owner block: u32 owner id; (V >= 190) u32 owner word; u32 count and items of the first list;
// u32 count and items of the second.
// Item: u32 GUID; u16 flags1; (V >= 194) u16 flags2; (V >= 190) u32 inventory number;
// (V >= 203) u16 padding; u32 count C and C 16-bit values.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "package/resource_types.h"
#include "platform/file_io.h"
#include "workspace/model.h"

namespace qh {

// Appends the resource's items to the workspace's three lists and remembers where the sims'
// section lies. Malformed data throws FormatError.
void ReadNeighborhoodData(std::span<const std::uint8_t> bytes, Workspace& workspace);

// Where the sections of a resource lie; throws FormatError when it cannot be read.
NeighborhoodDataLayout ReadNeighborhoodLayout(std::span<const std::uint8_t> bytes);
// The sims' items of the resource, in its order (for a save that merges the player's edits into
// what the file holds now). Throws FormatError as the reader does.
std::vector<NeighborhoodItem> ReadSimItems(std::span<const std::uint8_t> bytes);

// The resource with its sims' section rebuilt from `simItems`: owners in the order of their first
// item, each with its first item's owner word; lots, families and the rest copied unchanged. The
// layout is read from `stored` itself (the resource in the file being rewritten), so changes
// land on the bytes they replace even when the file changed since it was loaded. Throws
// FormatError when `stored` cannot be read.
Bytes WriteNeighborhoodData(std::span<const std::uint8_t> stored, const std::vector<NeighborhoodItem>& simItems);

// Appends one item in the layout of version V.
void AppendNeighborhoodItem(Bytes& out, std::uint32_t version, const NeighborhoodItem& item);

// The size of one item in the layout of version V.
std::size_t NeighborhoodItemSize(std::uint32_t version, std::size_t valueCount);

}  // namespace qh
