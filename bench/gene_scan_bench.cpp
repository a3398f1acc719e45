// Looking for custom genes in a player's downloads: by default 20,000 packages in nested folders,
// 1% of them hair, skin or eye genes (with their names), the rest clothes and objects of 8 KB to
// 256 KB. The first scan reads every package's header, index, gene resources and text lists (goal:
// under 10 s); the second takes the unchanged files from the cache (goal: under 1 s). The floor
// beside them walks the same folders and reads each file's header and index, nothing more.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "fixture/package_builder.h"
#include "fixture/resource_builders.h"
#include "genetics/gene_catalogue.h"
#include "package/index.h"
#include "platform/file_io.h"


namespace fs = std::filesystem;

double Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

namespace {

std::string XmlGene(int n) {
    char family[40];
    std::snprintf(family, sizeof family, "%08x-0000-4000-8000-000000000000", n);
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<cGZPropertySetString>\n"
                       "  <AnyString key=\"family\" type=\"0x0b8bea18\">") +
           family + "</AnyString>\n  <AnyUint32 key=\"subtype\" type=\"0xeb61e4f7\">3</AnyUint32>\n</cGZPropertySetString>";
}

// What the floor reads of a file: its header, then its index.
std::size_t ReadHeaderAndIndex(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    char header[96] = {};
    in.read(header, sizeof header);
    std::uint32_t offset = 0, size = 0;
    std::memcpy(&offset, header + 40, 4);
    std::memcpy(&size, header + 44, 4);
    std::string index(size, '\0');
    in.seekg(offset);
    in.read(index.data(), static_cast<std::streamsize>(index.size()));
    return static_cast<std::size_t>(in.gcount());
}

}  // namespace

int main(int argc, char** argv) {
    const int packages = argc > 1 ? std::atoi(argv[1]) : 20000;
    if (packages < 1) return 2;
    const fs::path folder = fs::temp_directory_path() / "quillhaven-gene-bench";
    fs::remove_all(folder);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> size(8 << 10, 256 << 10);
    std::uintmax_t bytes = 0;
    for (int n = 0; n < packages; ++n) {
        const fs::path file = folder / "Downloads" / ("creator" + std::to_string(n % 40)) / ("set" + std::to_string(n % 7)) /
                              ("item" + std::to_string(n) + ".package");
        fs::create_directories(file.parent_path());
        qh::fixture::PackageBuilder package;
        if (n % 100 == 0) {
            static constexpr std::uint32_t kTypes[] = {qh::kHairGeneType, qh::kSkinGeneType, qh::kEyeGeneType};
            package.Add(qh::fixture::Key(kTypes[n / 100 % 3], 1), XmlGene(n));
            package.Add(qh::fixture::Key(0x53545223, 1), qh::fixture::TextListBytes({{1, "Gene " + std::to_string(n), ""}}));
        } else {
            package.Add(qh::fixture::Key(0xFC6EB1F7, 1), std::string(static_cast<std::size_t>(size(random)), 'm'));
            package.Add(qh::fixture::Key(0xEBCF3E27, 1), qh::fixture::PropertySetBuilder().String("name", "outfit").Build());
            package.Add(qh::fixture::Key(0x53545223, 1), qh::fixture::TextListBytes({{1, "Outfit " + std::to_string(n), ""}}));
        }
        const auto built = package.Build();
        bytes += built.size();
        std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(built.data()), static_cast<std::streamsize>(built.size()));
    }

    auto start = std::chrono::steady_clock::now();
    std::size_t files = 0, indexBytes = 0;
    for (const auto& item : fs::recursive_directory_iterator(folder / "Downloads")) {
        if (item.is_regular_file()) ++files, indexBytes += ReadHeaderAndIndex(item.path());
    }
    const double floor = Since(start);

    qh::GeneScanOptions options;
    options.folders = {folder / "Downloads", folder / "SavedSims", folder / "Teleport"};
    options.cacheFile = folder / "settings" / "gene-catalogue.json";
    start = std::chrono::steady_clock::now();
    const qh::GeneCatalogue cold = qh::BuildGeneCatalogue(options);
    const double coldTime = Since(start);
    start = std::chrono::steady_clock::now();
    const qh::GeneCatalogue warm = qh::BuildGeneCatalogue(options);
    const double warmTime = Since(start);

    std::printf("%d packages, %.1f GB, %zu genes: floor (walk, header and index of each) %.3f s; cold scan %.3f s "
                "(goal under 10 s); warm scan from the cache %.3f s, %zu of %zu files from it (goal under 1 s)\n",
                packages, static_cast<double>(bytes) / 1e9, cold.genes.size(), floor, coldTime, warmTime,
                warm.filesFromCache, warm.filesSeen);
    fs::remove_all(folder);
    const bool ok = files == static_cast<std::size_t>(packages) && indexBytes > 0 &&
                    cold.genes.size() == static_cast<std::size_t>((packages + 99) / 100) && warm.genes == cold.genes;
    return ok ? 0 : 1;
}
