// A copy of Pleasant Valley with one problem of each kind the neighborhood check finds, so that the
// demo shows the check at work.
#pragma once

#include <filesystem>

namespace qh::demo {

// Copies N001 of the neighborhoods folder to N002 ("Crooked Creek") and damages it.
void WriteDamagedNeighborhood(const std::filesystem::path& neighborhoodsFolder);

}  // namespace qh::demo
