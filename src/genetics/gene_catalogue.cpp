#include "genetics/gene_catalogue.h"

#include <algorithm>
#include <cctype>
#include <nlohmann/json.hpp>
#include <system_error>
#include <unordered_map>

#include "genetics/xml_property_set.h"
#include "package/extract.h"
#include "package/index.h"
#include "package/property_set.h"
#include "package/resource_types.h"
#include "package/text_list.h"
#include "platform/errors.h"
#include "platform/file_io.h"
#include "platform/reporter.h"

namespace qh {

namespace fs = std::filesystem;

std::string GeneKindText(GeneKind kind) {
    switch (kind) {
        case GeneKind::Hair: return "8C1580B5";
        case GeneKind::Skin: return "4C158081";
        case GeneKind::Eye: return "2C1FD8A1";
    }
    return {};
}

namespace {

// A gene resource or a text list of a custom-content package is a few hundred bytes; more is not
// one of them.
constexpr std::size_t kResourceLimit = 1 << 20;
constexpr int kCacheVersion = 2;

bool IsGeneType(std::uint32_t type) { return type == kHairGeneType || type == kSkinGeneType || type == kEyeGeneType; }

std::optional<GeneKind> KindText(std::string_view text) {
    for (GeneKind kind : {GeneKind::Hair, GeneKind::Skin, GeneKind::Eye}) {
        if (GeneKindText(kind) == text) return kind;
    }
    return std::nullopt;
}

// The "family" text and "subtype" number of a gene resource, binary or XML.
void ReadGeneProperties(std::span<const std::uint8_t> bytes, std::string& family, std::uint32_t& subtype) {
    if (IsXmlPropertySet(bytes)) {
        const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        family = ReadXmlStringProperty(text, StringPropertyTag("family"));
        subtype = ReadXmlUintProperty(text, UintPropertyTag("subtype"));
        return;
    }
    family.clear();
    const auto set = ReadPropertySet(bytes);
    if (!set) return;
    for (const Property& property : set->properties) {
        if (property.name == "family" && property.type == kPropertyString) family = property.text;
        if (property.name == "subtype" && property.type == kPropertyInteger) subtype = property.integer;
    }
}

bool IsPackageName(const fs::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".package";
}

struct FoundFile {
    fs::path path;
    std::uintmax_t size = 0;
    std::int64_t modified = 0;
};

// Every package under the folders, recursively, in folder order and then by name (so two scans of
// the same folders list the same genes in the same order).
std::vector<FoundFile> FindPackages(const std::vector<fs::path>& folders) {
    std::vector<FoundFile> files;
    for (const fs::path& folder : folders) {
        std::error_code error;
        if (!fs::is_directory(folder, error)) continue;
        std::vector<FoundFile> here;
        for (fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, error), end;
             !error && it != end; it.increment(error)) {
            std::error_code statError;
            if (!it->is_regular_file(statError) || !IsPackageName(it->path())) continue;
            FoundFile file{it->path(), it->file_size(statError), 0};
            const auto time = it->last_write_time(statError);
            file.modified = static_cast<std::int64_t>(time.time_since_epoch().count());
            here.push_back(std::move(file));
        }
        std::sort(here.begin(), here.end(), [](const FoundFile& a, const FoundFile& b) { return a.path < b.path; });
        files.insert(files.end(), std::make_move_iterator(here.begin()), std::make_move_iterator(here.end()));
    }
    return files;
}

// What the cache knows of a file: its gene (or none), or why it could not be read.
struct Cached {
    std::uintmax_t size = 0;
    std::int64_t modified = 0;
    std::optional<GeneMod> gene;
    std::string error;
};

// Names and families come from other players' files and may hold any bytes: the cache keeps them
// in hexadecimal, so that what it gives back is exactly what was read.
std::string ToHex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        out += kDigits[c >> 4];
        out += kDigits[c & 15];
    }
    return out;
}

std::string FromHex(std::string_view hex) {
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        throw FormatError("not a hexadecimal digit");
    };
    if (hex.size() % 2) throw FormatError("an odd number of hexadecimal digits");
    std::string out;
    for (std::size_t i = 0; i < hex.size(); i += 2) out += static_cast<char>(digit(hex[i]) * 16 + digit(hex[i + 1]));
    return out;
}

std::unordered_map<std::string, Cached> ReadCache(const fs::path& file) {
    std::unordered_map<std::string, Cached> cache;
    std::error_code error;
    if (!fs::is_regular_file(file, error)) return cache;
    try {
        const Bytes bytes = ReadFileBytes(file);
        const auto json = nlohmann::json::parse(bytes.begin(), bytes.end());
        if (json.value("version", 0) != kCacheVersion) return cache;
        for (const auto& entry : json.at("files")) {
            Cached cached;
            const std::string path = FromHex(entry.at("path").get<std::string>());
            cached.size = entry.at("size").get<std::uintmax_t>();
            cached.modified = entry.at("modified").get<std::int64_t>();
            cached.error = FromHex(entry.value("error", ""));
            if (entry.contains("kind")) {
                const auto kind = KindText(entry.at("kind").get<std::string>());
                if (!kind) continue;
                cached.gene = GeneMod{*kind, FromHex(entry.at("family").get<std::string>()), fs::path(path),
                                      FromHex(entry.at("name").get<std::string>())};
            }
            cache.emplace(path, std::move(cached));
        }
    } catch (const std::exception&) {
        // A cache that cannot be read is only slower: every file is read again.
        cache.clear();
    }
    return cache;
}

void WriteCache(const fs::path& file, const std::vector<std::pair<std::string, Cached>>& entries) {
    nlohmann::json files = nlohmann::json::array();
    for (const auto& [path, cached] : entries) {
        nlohmann::json entry = {{"path", ToHex(path)}, {"size", cached.size}, {"modified", cached.modified}};
        if (!cached.error.empty()) entry["error"] = ToHex(cached.error);
        if (cached.gene) {
            entry["kind"] = GeneKindText(cached.gene->kind);
            entry["family"] = ToHex(cached.gene->family);
            entry["name"] = ToHex(cached.gene->displayName);
        }
        files.push_back(std::move(entry));
    }
    const std::string text = nlohmann::json{{"version", kCacheVersion}, {"files", files}}.dump();
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    AtomicReplace(file, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

}  // namespace

std::optional<GeneMod> ReadGenePackage(const fs::path& path) {
    const PackageExcerpt excerpt = ReadPackageExcerpt(
        path,
        [](const IndexEntry& entry) {
            return IsGeneType(entry.key.typeId) || entry.key.typeId == kTextListType ||
                   entry.key.typeId == kCompressedDirectoryType;
        },
        kResourceLimit);
    if (excerpt.width != 20 && excerpt.width != 24) {
        if (excerpt.entries.empty() && excerpt.width == 0) return std::nullopt;  // an empty package
        throw FormatError("its index cannot be read");
    }
    const CompressedListing listing = CompressedListing::Of(excerpt.bytes, excerpt.picked, excerpt.width);
    SilentReporter quiet;
    auto content = [&](const IndexEntry& entry) {
        auto bytes = ReadResource(excerpt.bytes, entry, PackageSource::File, quiet, listing);
        if (!bytes) throw FormatError("a resource of it cannot be decompressed");
        return *bytes;
    };
    std::optional<GeneKind> kind;
    std::string family;
    for (const IndexEntry& entry : excerpt.picked) {
        if (!IsGeneType(entry.key.typeId)) continue;
        const Bytes bytes = content(entry);
        std::uint32_t subtype = 0;
        ReadGeneProperties(bytes, family, subtype);
        if (entry.key.typeId == kHairGeneType) {
            kind = GeneKind::Hair;
        } else if (entry.key.typeId == kSkinGeneType) {
            kind = GeneKind::Skin;
        } else {
            // An eye colour counts only as the eyes' own subtype (3), and with a family.
            kind = subtype == 3 && !family.empty() ? std::optional(GeneKind::Eye) : std::nullopt;
        }
    }
    if (!kind || family.empty()) return std::nullopt;
    GeneMod gene{*kind, family.substr(0, 36), path, {}};
    for (const IndexEntry& entry : excerpt.picked) {
        if (entry.key.typeId != kTextListType) continue;
        const auto list = ParseTextList(content(entry));
        if (!list) continue;
        for (const TextEntry& item : list->entries) {
            if (item.language != 1) continue;
            const std::string name = TrimText(item.value);
            gene.displayName = name.empty() ? path.stem().string() : name;
        }
    }
    return gene;
}

GeneCatalogue BuildGeneCatalogue(const GeneScanOptions& options) {
    GeneCatalogue catalogue;
    const std::vector<FoundFile> files = FindPackages(options.folders);
    auto cache = options.cacheFile ? ReadCache(*options.cacheFile) : std::unordered_map<std::string, Cached>{};
    std::vector<std::pair<std::string, Cached>> seen;
    seen.reserve(files.size());
    if (options.progress) {
        options.progress->SetStatus("Loading DNA Data");
        options.progress->SetMaximum(static_cast<int>(files.size()));
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (options.cancelled && options.cancelled()) {
            catalogue.cancelled = true;
            break;
        }
        if (options.progress && i % 64 == 0) options.progress->SetPosition(static_cast<int>(i));
        const FoundFile& file = files[i];
        const std::string key = file.path.string();
        ++catalogue.filesSeen;
        Cached result;
        const auto hit = cache.find(key);
        if (hit != cache.end() && hit->second.size == file.size && hit->second.modified == file.modified) {
            result = hit->second;
            ++catalogue.filesFromCache;
        } else {
            result.size = file.size;
            result.modified = file.modified;
            try {
                result.gene = ReadGenePackage(file.path);
            } catch (const std::exception& error) {
                result.error = error.what();
            }
        }
        if (!result.error.empty()) catalogue.unreadable.push_back({file.path, result.error});
        if (result.gene) {
            result.gene->packagePath = file.path;
            catalogue.genes.push_back(*result.gene);
        }
        seen.emplace_back(key, std::move(result));
    }
    if (options.progress) options.progress->SetPosition(static_cast<int>(files.size()));
    if (options.cacheFile && !catalogue.cancelled) {
        try {
            WriteCache(*options.cacheFile, seen);
        } catch (const std::exception&) {
            // The catalogue stands without its cache; the next scan reads the files again.
        }
    }
    return catalogue;
}

std::string DataReadErrors(const GeneCatalogue& catalogue, std::size_t limit) {
    std::string text;
    for (std::size_t i = 0; i < catalogue.unreadable.size() && i < limit; ++i) {
        const UnreadableFile& file = catalogue.unreadable[i];
        if (!text.empty()) text += "\r\n\r\n";
        text += "Data Read Error Found in:\r\n\"" + file.path.string() + "\"\r\nThis file will be ignored.\r\n(" + file.reason + ")";
    }
    if (catalogue.unreadable.size() > limit) {
        text += "\r\n\r\n" + std::to_string(catalogue.unreadable.size() - limit) + " more files could not be read either.";
    }
    return text;
}

}  // namespace qh
