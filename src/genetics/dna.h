// A sim's genetic record (resource 0xEBFEE33F), as far as the program reads it today: which
// resource it is and its change mark.
#pragma once

#include <cstdint>

namespace qh {

struct DNA {
    std::uint32_t instanceId = 0;
    std::uint8_t dirty = 0;
};

}  // namespace qh
