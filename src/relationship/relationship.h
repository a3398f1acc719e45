// One sim's relationship to another (resource 0xCC364C2A), as far as the program reads it today:
// which resource it is and whether the program made it.
#pragma once

#include <cstdint>

namespace qh {

struct RelationshipRecord {
    std::uint32_t instanceId = 0;
    bool isNew = false;
};

}  // namespace qh
