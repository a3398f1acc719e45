// A household of the neighborhood (the FAMI resource, 0x46414D49), as far as the program reads it
// today: which resource it is, its name and description, and its change mark.
#pragma once

#include <cstdint>
#include <string>

namespace qh {

struct Household {
    std::uint32_t instanceId = 0;
    std::string name;
    std::string description;
    std::uint8_t dirty = 0;
};

}  // namespace qh
