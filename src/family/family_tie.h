// One sim's entry in the family-ties resource (0x8C870743), as far as the program reads it today.
#pragma once

#include <cstdint>

namespace qh {

struct FamilyTie {
    std::uint32_t simInstance = 0;
};

}  // namespace qh
