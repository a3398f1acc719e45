// A neighborhood folder whose files are arbitrary bytes: the input is cut into a neighborhood
// package, a lot package and two character packages, and the folder is loaded. Every damaged file
// must be reported and skipped; nothing may crash.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <unistd.h>

#include "platform/errors.h"
#include "scratch_folder.h"
#include "workspace/loader.h"

namespace {

std::filesystem::path Folder() {
    static const bool made = std::filesystem::create_directories(qh::fuzz::ScratchFolder("load") / "N001" / "Characters");
    (void)made;
    return qh::fuzz::ScratchFolder("load");
}


}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    // Four pieces: the first byte of each quarter boundary decides nothing; the cuts are fixed.
    const std::size_t q = size / 4;
    const auto root = Folder() / "N001";
    qh::fuzz::WriteFile(root / "N001_Neighborhood.package", bytes.subspan(0, q * 2));
    qh::fuzz::WriteFile(root / "N001_Lot1.package", bytes.subspan(q * 2, q / 2));
    qh::fuzz::WriteFile(root / "Characters" / "N001_User00000.package", bytes.subspan(q * 2 + q / 2, q));
    qh::fuzz::WriteFile(root / "Characters" / "N001_User00001.package", bytes.subspan(q * 3 + q / 2));
    qh::Neighborhood neighborhood;
    neighborhood.prefix = "N001";
    qh::Workspace workspace;
    qh::SilentReporter reporter;
    qh::NullProgress progress;
    try {
        qh::LoadNeighborhood(workspace, neighborhood, Folder(), {}, reporter, progress);
    } catch (const qh::FormatError&) {
    } catch (const qh::IoError&) {
    }
    return 0;
}
