// A neighborhood folder whose files are arbitrary bytes: the input is cut into a neighborhood
// package, a lot package and two character packages, and the folder is loaded. Every damaged file
// must be reported and skipped; nothing may crash.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <unistd.h>

#include "platform/errors.h"
#include "workspace/loader.h"

namespace {

// One folder for the whole run, removed when the fuzzer exits.
struct ScratchFolder {
    std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("qh-fuzz-load-" + std::to_string(::getpid()));
    ScratchFolder() { std::filesystem::create_directories(path / "N001" / "Characters"); }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

std::filesystem::path Folder() {
    static const ScratchFolder folder;
    return folder.path;
}

void Write(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    // Four pieces: the first byte of each quarter boundary decides nothing; the cuts are fixed.
    const std::size_t q = size / 4;
    const auto root = Folder() / "N001";
    Write(root / "N001_Neighborhood.package", bytes.subspan(0, q * 2));
    Write(root / "N001_Lot1.package", bytes.subspan(q * 2, q / 2));
    Write(root / "Characters" / "N001_User00000.package", bytes.subspan(q * 2 + q / 2, q));
    Write(root / "Characters" / "N001_User00001.package", bytes.subspan(q * 3 + q / 2));
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
