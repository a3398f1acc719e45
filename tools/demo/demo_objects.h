// The demo game's object catalogue: OBJDs with the GUIDs the panels look for.
#pragma once

#include <filesystem>

#include <vector>

#include "platform/file_io.h"

namespace qh::demo {

// The objects.package of the demo game (OBJDs, compressed as the game stores most of them).
Bytes DemoObjectsPackage();

// Custom content as players keep it in Downloads: a hair colour (XML, with its name), a skin tone
// (a binary property set, compressed), an eye colour, an eye resource of another subtype (not an
// eye colour), a hair colour without a name, clothes (no gene) and a damaged file.
void WriteDemoDownloads(const std::filesystem::path& userData);

}  // namespace qh::demo
