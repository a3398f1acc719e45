// The demo game's object catalogue: OBJDs with the GUIDs the panels look for.
#pragma once

#include <vector>

#include "platform/file_io.h"

namespace qh::demo {

// The objects.package of the demo game (OBJDs, compressed as the game stores most of them).
Bytes DemoObjectsPackage();

}  // namespace qh::demo
