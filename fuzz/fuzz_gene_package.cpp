// Arbitrary bytes as a downloaded package in a scanned folder: the gene scan reads it or lists it
// as unreadable, never more; a gene found has a family of at most 36 characters and, read again
// through the cache, is the same.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <span>

#include "genetics/gene_catalogue.h"
#include "scratch_folder.h"

namespace {

namespace fs = std::filesystem;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path folder = qh::fuzz::ScratchFolder("genes");
    const fs::path downloads = folder / "Downloads";
    fs::create_directories(downloads);
    fs::remove(folder / "cache.json");
    qh::fuzz::WriteFile(downloads / "custom.package", std::span<const std::uint8_t>(data, size));
    qh::GeneScanOptions options;
    options.folders = {downloads};
    options.cacheFile = folder / "cache.json";
    const qh::GeneCatalogue cold = qh::BuildGeneCatalogue(options);
    if (cold.genes.size() + cold.unreadable.size() > 1) std::abort();
    for (const qh::GeneMod& gene : cold.genes) {
        if (gene.family.empty() || gene.family.size() > 36) std::abort();
    }
    const qh::GeneCatalogue warm = qh::BuildGeneCatalogue(options);
    if (warm.genes != cold.genes || warm.unreadable.size() != cold.unreadable.size()) std::abort();
    return 0;
}
