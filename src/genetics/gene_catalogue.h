// The custom genes a player installed: hair colours, skin tones and eye colours found in the
// packages of the Downloads, SavedSims and Teleport folders (tens of thousands of files, most of
// them clothes and objects). Each package is read only as far as its header, its index, its gene
// resources and its text lists; a cache keyed by path, size and modification time spares the
// unchanged ones the next time.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/progress.h"

namespace qh {

enum class GeneKind { Hair, Skin, Eye };

// The resource types of custom genes, and a kind's type id as text ("8C1580B5").
inline constexpr std::uint32_t kHairGeneType = 0x8C1580B5;
inline constexpr std::uint32_t kSkinGeneType = 0x4C158081;
inline constexpr std::uint32_t kEyeGeneType = 0x2C1FD8A1;
std::string GeneKindText(GeneKind kind);

struct GeneMod {
    GeneKind kind = GeneKind::Hair;
    std::string family;  // the GUID text genes and colours store, at most 36 characters
    std::filesystem::path packagePath;
    std::string displayName;  // shown after "* "
    friend bool operator==(const GeneMod&, const GeneMod&) = default;
};

// The gene a package holds: its last gene resource decides (an eye colour counts only with
// subtype 3 and a family); the display name is the last English entry of its text lists, trimmed,
// or the file's name without its extension when that entry is empty. None for a package without
// one. Throws IoError or FormatError for a package that cannot be read.
std::optional<GeneMod> ReadGenePackage(const std::filesystem::path& path);

struct GeneScanOptions {
    // Searched recursively for "*.package" (any case), in order.
    std::vector<std::filesystem::path> folders;
    // Where the catalogue of the last scan is kept (none: no cache).
    std::optional<std::filesystem::path> cacheFile;
    Progress* progress = nullptr;
    // Asked between files; true stops the scan (what was found so far is kept, and said to be
    // incomplete).
    std::function<bool()> cancelled;
};

struct UnreadableFile {
    std::filesystem::path path;
    std::string reason;
};

struct GeneCatalogue {
    std::vector<GeneMod> genes;               // in scan order
    std::vector<UnreadableFile> unreadable;  // each file that could not be read
    bool cancelled = false;
    std::size_t filesSeen = 0;
    std::size_t filesFromCache = 0;
};

GeneCatalogue BuildGeneCatalogue(const GeneScanOptions& options);

// One message for every file that could not be read ("Data Read Error Found in:", the path in
// double quotes, "This file will be ignored." for each), so that thousands of damaged files are
// one message, not thousands. Empty when there were none.
// At most `limit` files are named; the rest are counted.
std::string DataReadErrors(const GeneCatalogue& catalogue, std::size_t limit = 20);

}  // namespace qh
