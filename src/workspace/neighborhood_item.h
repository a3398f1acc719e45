// Items of the neighborhood data resource (NGBH, 0x4E474248): what each lot, family and sim owns
// (objects, tokens, memories), each naming an object by its GUID.
#pragma once

#include <cstdint>
#include <vector>

namespace qh {

struct NeighborhoodItem {
    std::uint32_t owner = 0;      // a lot's or family's number, or a sim's instanceId
    std::uint8_t secondary = 1;   // sims: 0 first list, 1 second; lots and families: 1
    std::uint32_t ownerWord = 0;  // the owner block's word (the default word before version 190)
    std::uint32_t itemGuid = 0;
    std::uint16_t flags1 = 0;
    std::uint16_t flags2 = 0;     // from version 194
    std::uint32_t invNumber = 0;  // from version 190
    std::uint16_t padding = 0;    // from version 203
    std::vector<std::uint16_t> values;

    friend bool operator==(const NeighborhoodItem&, const NeighborhoodItem&) = default;
};

}  // namespace qh
