#include "workspace/neighborhood_catalogue.h"

#include <algorithm>

#include "package/extract.h"
#include "package/property_set.h"
#include "package/qfs.h"
#include "package/text_list.h"
#include "platform/errors.h"
#include "platform/paths.h"

namespace qh {
namespace fs = std::filesystem;

std::string Neighborhood::Text() const { return TrimText(prefix) + " : " + TrimText(ToValidUtf8(ngbdName)); }

void SetNeighborhoodName(Neighborhood& neighborhood, const std::string& name) {
    neighborhood.ngbdName = name;
    neighborhood.dirty = 1;
}

void SetNeighborhoodDescription(Neighborhood& neighborhood, const std::string& description) {
    neighborhood.ngbdDescription = description;
    neighborhood.dirty = 1;
}

bool ListTextLess(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        auto fold = [](char c) {
            return static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        };
        if (fold(a[i]) != fold(b[i])) return fold(a[i]) < fold(b[i]);
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

namespace {

// The name and the version are a few hundred bytes; a resource claiming more is not the game's,
// and the catalogue (run at every start and by every command) must not spend time on it.
constexpr std::size_t kTextResourceLimit = std::size_t{1} << 20;

bool SmallEnough(std::span<const std::uint8_t> package, const IndexEntry& entry, PackageSource source) {
    if (entry.size > kTextResourceLimit) return false;
    if (source == PackageSource::Image || entry.offset > package.size() || entry.size > package.size() - entry.offset) {
        return true;  // the reader reports what lies outside
    }
    const auto stored = package.subspan(entry.offset, entry.size);
    return !IsQfsCompressed(stored) || QfsDeclaredLength(stored) <= kTextResourceLimit;
}

}  // namespace

void ReadNeighborhoodTexts(std::span<const std::uint8_t> package, const std::vector<IndexEntry>& entries,
                           PackageSource source, int languageCode, Neighborhood& neighborhood,
                           Reporter& reporter, const CompressedListing& listing) {
    // The first of each: the game writes one, and a package with thousands costs no more.
    bool version = false;
    bool names = false;
    for (const IndexEntry& entry : entries) {
        if (version && names) break;
        if (entry.key.typeId == kVersionInfoType && !version) {
            version = true;
            if (!SmallEnough(package, entry, source)) continue;
            if (auto content = ReadResource(package, entry, source, reporter, listing)) {
                neighborhood.versionText = ReadVersionProperties(*content).Text().substr(0, 36);
            }
        } else if (entry.key.typeId == kCatalogTextType && !names) {
            names = true;
            if (!SmallEnough(package, entry, source)) continue;
            if (auto content = ReadResource(package, entry, source, reporter, listing)) {
                std::string strings[2] = {neighborhood.ngbdName, neighborhood.ngbdDescription};
                ReadTextList(*content, languageCode, strings);
                neighborhood.ngbdName = strings[0];
                neighborhood.ngbdDescription = strings[1];
            }
        }
    }
}

std::vector<Neighborhood> ScanNeighborhoods(const fs::path& neighborhoodsFolder, int languageCode,
                                            Reporter& reporter, Progress& progress) {
    std::vector<Neighborhood> catalogue;
    std::vector<fs::path> folders;
    std::error_code error;
    for (fs::directory_iterator it(neighborhoodsFolder, error), end; !error && it != end; it.increment(error)) {
        folders.push_back(it->path());
    }
    // The game's own prefixes: N for the player's neighborhoods, G, F and E for the expansion
    // towns, shopping districts and vacation destinations attached to them.
    for (char letter : {'N', 'G', 'F', 'E'}) {
        progress.Step();
        for (const fs::path& folder : folders) {
            const std::string name = folder.filename().string();
            if (name.empty() || (name[0] != letter && name[0] != letter - 'A' + 'a')) continue;
            // A name with separators or ".." would lead the package's path out of this folder.
            if (!IsPlainName(name)) continue;
            if (name.size() + std::string_view("_Neighborhood.package").size() > 255) {
                // No file can be named for it: the folder holds no neighborhood this program can open.
                reporter.Info("The folder " + folder.string() + " has a name too long for a neighborhood package "
                              "to be named after it, so it is not listed.");
                continue;
            }
            const fs::path package = ResolveNoCase(folder, name + "_Neighborhood.package");
            if (!fs::is_regular_file(package, error)) continue;

            try {
                // The header, the index, and the first name and version resources: nothing else
                // of the file is read.
                bool names = false;
                bool version = false;
                const PackageExcerpt excerpt = ReadPackageExcerpt(
                    package,
                    [&](const IndexEntry& entry) {
                        // The compressed-resource directory too: it says which streams to decode.
                        if (entry.key.typeId == kCompressedDirectoryType) return true;
                        bool& seen = entry.key.typeId == kCatalogTextType ? names : version;
                        if ((entry.key.typeId != kCatalogTextType && entry.key.typeId != kVersionInfoType) || seen) {
                            return false;
                        }
                        seen = true;
                        return true;
                    },
                    kTextResourceLimit);
                if (excerpt.width == 0 || (excerpt.width != 20 && excerpt.width != 24)) {
                    reporter.Error("An Index Error was found in " + name + "_Neighborhood.package" +
                                   "\r\n" + "This neighborhood will be ignored.");
                    continue;
                }
                Neighborhood neighborhood;
                neighborhood.prefix = name;
                neighborhood.packagePath = package;
                ReadNeighborhoodTexts(excerpt.bytes, excerpt.picked, PackageSource::File, languageCode, neighborhood,
                                      reporter, CompressedListing::Of(excerpt.bytes, excerpt.picked, excerpt.width));
                catalogue.push_back(std::move(neighborhood));
            } catch (const FormatError& e) {
                // A damaged package is that neighborhood's problem, not the game's being open:
                // said with its file and cause, and left out like an index error.
                reporter.Error("A Data Error was found in " + package.filename().string() + ": " + e.what() + "\r\n" +
                               "This neighborhood will be ignored.");
            }
        }
    }
    std::stable_sort(catalogue.begin(), catalogue.end(),
                     [](const Neighborhood& a, const Neighborhood& b) { return ListTextLess(a.Text(), b.Text()); });
    return catalogue;
}

}  // namespace qh
