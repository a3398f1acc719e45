// Pictures drawn for the demo game: sims' portraits and neighborhood pictures.
#pragma once

#include <cstdint>

#include "workspace/picture.h"

namespace qh::demo {

struct PortraitLook {
    std::uint32_t skin;        // 0xRRGGBB
    std::uint32_t hair;
    std::uint32_t background;
    bool longHair = false;
    bool pet = false;          // ears on top instead of hair
};

// A 256 x 256 head-and-shoulders drawing.
Bitmap DrawPortrait(const PortraitLook& look);

// A 256 x 192 landscape: sky, hills, a road and a few houses; `seed` varies it.
Bitmap DrawNeighborhood(unsigned seed);

}  // namespace qh::demo
