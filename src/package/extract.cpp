#include "package/extract.h"

#include <algorithm>
#include <optional>
#include <tuple>

#include "package/byte_reader.h"
#include "package/qfs.h"
#include "platform/errors.h"

namespace qh {

namespace {

std::string ResourceName(const IndexEntry& entry) {
    return "resource " + HexId(entry.key.typeId) + " " + HexId(entry.key.instanceId);
}

std::span<const std::uint8_t> StoredBytes(std::span<const std::uint8_t> source,
                                          const IndexEntry& entry) {
    const ByteReader reader(source, "package");
    // The name is made only for the message: a package holds hundreds of thousands of entries.
    if (reader.Has(entry.offset, entry.size)) return source.subspan(entry.offset, entry.size);
    return reader.Slice(entry.offset, entry.size, ResourceName(entry));
}

bool KeyLess(const ResourceKey& a, const ResourceKey& b) {
    return std::tie(a.typeId, a.groupId, a.instanceId, a.instance2Id) <
           std::tie(b.typeId, b.groupId, b.instanceId, b.instance2Id);
}

}  // namespace

CompressedListing CompressedListing::Of(std::span<const std::uint8_t> package, std::span<const IndexEntry> entries,
                                        std::uint32_t width) {
    CompressedListing listing;
    const ByteReader reader(package, "package");
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (it->key.typeId != kCompressedDirectoryType) continue;
        if (!reader.Has(it->offset, it->size)) break;
        // Type, group, instance, (with 24-byte index entries) second instance, then the
        // uncompressed size, for each compressed resource.
        const auto directory = package.subspan(it->offset, it->size);
        const std::size_t record = width == 24 ? 20 : 16;
        const ByteReader in(directory, "compressed-resource directory");
        listing.keys_.reserve(directory.size() / record);
        for (std::size_t at = 0; at + record <= directory.size(); at += record) {
            ResourceKey key;
            key.typeId = in.ReadU32(at);
            key.groupId = in.ReadU32(at + 4);
            key.instanceId = in.ReadU32(at + 8);
            if (width == 24) key.instance2Id = in.ReadU32(at + 12);
            listing.keys_.push_back(key);
        }
        break;
    }
    std::sort(listing.keys_.begin(), listing.keys_.end(), KeyLess);
    return listing;
}

bool CompressedListing::Lists(const ResourceKey& key) const {
    return std::binary_search(keys_.begin(), keys_.end(), key, KeyLess);
}

bool IsCompressedEntry(std::span<const std::uint8_t> source, const IndexEntry& entry) {
    return IsQfsCompressed(StoredBytes(source, entry));
}

std::optional<Bytes> ReadResource(std::span<const std::uint8_t> package, const IndexEntry& entry,
                                  PackageSource source, Reporter& reporter, const CompressedListing& listing) {
    if (source == PackageSource::Image) {
        const auto stored = StoredBytes(package, entry);
        return Bytes(stored.begin(), stored.end());
    }
    Bytes content;
    if (!ExtractResource(package, entry, content, reporter, listing.Lists(entry.key))) return std::nullopt;
    return content;
}

bool ExtractResource(std::span<const std::uint8_t> source, const IndexEntry& entry,
                     Bytes& destination, Reporter& reporter, bool listedCompressed) {
    const auto stored = StoredBytes(source, entry);
    const bool compressed = IsQfsCompressed(stored) || (listedCompressed && HasQfsSignature(stored));
    if (!compressed) {
        destination.insert(destination.end(), stored.begin(), stored.end());
        return true;
    }
    const std::size_t expected = QfsDeclaredLength(stored);
    const std::size_t before = destination.size();
    try {
        DecodeQfs(stored, expected, destination);
    } catch (const FormatError&) {
        // Codes past the declared length, or a reference before the resource's start: nothing of
        // it can be trusted.
        destination.resize(before);
        reporter.Error("Decompression Error");
        return false;
    }
    if (destination.size() - before != expected) {
        reporter.Error("Decompression Error");
        return false;
    }
    return true;
}

PackageImage ExpandImage(std::span<const std::uint8_t> file, Reporter& reporter, std::uint32_t* entryWidth,
                         ExpansionFaults* faults, std::size_t limit) {
    const ByteReader reader(file, "package");
    std::vector<IndexEntry> entries;
    const std::uint32_t width = ReadIndex(file, PackageSource::File, entries);
    if (entryWidth) *entryWidth = width;
    if (faults && (width == 20 || width == 24)) {
        const std::uint32_t declared = reader.ReadU32(kEntryCountOffset, "header entry count");
        if (declared > entries.size()) faults->entriesOutside = declared - entries.size();
    }

    // The image's final size is known from the index (each resource's declared length), so it is
    // allocated once rather than grown by doubling.
    std::size_t total = kHeaderSize + entries.size() * width + kQfsDecodeSlack;
    for (const IndexEntry& entry : entries) {
        const std::size_t capped = std::min<std::size_t>(entry.size, file.size());
        if (reader.Has(entry.offset, entry.size) && IsQfsCompressed(file.subspan(entry.offset, entry.size))) {
            total += QfsDeclaredLength(file.subspan(entry.offset, entry.size));
        } else {
            total += capped;
        }
    }
    // What the index declares is only a hint: a damaged or hostile index must not set aside
    // gigabytes for a small file.
    PackageImage image;
    image.reserve(std::min<std::size_t>(total, file.size() * 8 + (std::size_t{16} << 20)));
    const auto header = reader.Slice(0, kHeaderSize, "header");
    image.assign(header.begin(), header.end());

    // Only the last directory entry is taken out (and read: its keys are the compressed
    // resources); a second one is an anomaly reported below.
    std::optional<IndexEntry> directory;
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (it->key.typeId == kCompressedDirectoryType) {
            directory = *it;
            entries.erase(std::next(it).base());
            break;
        }
    }
    // Whether the directory lists a resource decides only for stored bytes that start with the
    // QFS signature but declare their own size as the decoded length. Such resources are rare, so
    // the directory's keys are read and sorted when the first one comes: for a large
    // neighborhood's two hundred thousand resources that took a quarter of the expansion.
    std::optional<CompressedListing> listed;
    const auto listedCompressed = [&](const IndexEntry& entry) {
        if (!directory || !reader.Has(entry.offset, entry.size)) return false;
        const auto stored = file.subspan(entry.offset, entry.size);
        if (!HasQfsSignature(stored) || IsQfsCompressed(stored)) return false;
        if (!listed) listed = CompressedListing::Of(file, std::span(&*directory, 1), width);
        return listed->Lists(entry.key);
    };

    std::vector<IndexEntry> written;
    written.reserve(entries.size());
    for (IndexEntry entry : entries) {
        // A second directory is an anomaly: said, and left out with its bytes.
        if (entry.key.typeId == kCompressedDirectoryType) {
            reporter.Error("Decompression List Error, Exists");
            continue;
        }
        const std::size_t at = image.size();
        if (!ExtractResource(file, entry, image, reporter, listedCompressed(entry)) && faults) {
            faults->undecodable.push_back(ResourceName(entry));
        }
        if (image.size() > limit) {
            throw FormatError("it expands to more than " + std::to_string(limit >> 20) +
                              " MiB, more than any neighborhood of the game; it was left unchanged");
        }
        entry.offset = static_cast<std::uint32_t>(at);
        entry.size = static_cast<std::uint32_t>(image.size() - at);
        written.push_back(entry);
    }
    FinishPackageImage(image, written, width);
    return image;
}

ExpansionFaults ExpandPackageToMemory(const std::filesystem::path& path, PackageImage& image,
                                      Reporter& reporter) {
    // Read into a buffer that is not filled first: every byte of it is read, once.
    const FileBuffer file = ReadFileBuffer(path);
    ExpansionFaults faults;
    try {
        image = ExpandImage(file.Span(), reporter, nullptr, &faults);
    } catch (const FormatError& error) {
        throw FormatError(path.filename().string() + ": " + error.what());
    }
    return faults;
}

PackageImage ExpandForRewrite(std::span<const std::uint8_t> file,
                              const std::filesystem::path& path, Reporter& reporter) {
    try {
        const ByteReader reader(file, "package");
        const std::uint32_t count = reader.ReadU32(kEntryCountOffset, "header entry count");
        std::uint32_t width = 0;
        ExpansionFaults faults;
        PackageImage image = ExpandImage(file, reporter, &width, &faults);
        if (count != 0 && width != 20 && width != 24) {
            throw FormatError("its index has entries of " + std::to_string(width) +
                              " bytes, which the program cannot read; the file was left unchanged");
        }
        if (!faults.undecodable.empty()) {
            throw FormatError(faults.undecodable.front() + " cannot be decompressed; the file was left unchanged");
        }
        if (faults.entriesOutside != 0) {
            throw FormatError(std::to_string(faults.entriesOutside) +
                              " of its index entries point past the end of the file; the file was left unchanged");
        }
        return image;
    } catch (const FormatError& error) {
        throw FormatError(path.filename().string() + ": " + error.what());
    }
}

namespace {

// A package that is already exactly what its expansion would be: nothing compressed in it (no
// compressed-resource directory, no resource that looks compressed), its resources end to end
// after the header in index order, the index right after them and nothing after the index, and no
// hole index. That is what every save leaves behind; such a file is its own expanded image and
// needs neither a copy nor a rewrite before it is rebuilt. A file laid out in any other way
// (resources that overlap or leave gaps) goes through the full expansion.
bool AlreadyExpanded(std::span<const std::uint8_t> file, PackageIndex& index) {
    std::vector<IndexEntry>& entries = index.entries;
    const std::uint32_t width = index.width = ReadIndex(file, PackageSource::File, entries);
    if (width != 20 && width != 24) return false;
    const ByteReader reader(file, "package");
    if (reader.ReadU32(kEntryCountOffset, "header entry count") != entries.size()) return false;
    for (std::size_t field : {kHoleCountOffset, kHoleOffsetOffset, kHoleSizeOffset}) {
        if (reader.ReadU32(field, "header") != 0) return false;
    }
    std::size_t next = kHeaderSize;
    for (const IndexEntry& entry : entries) {
        if (entry.offset != next || entry.key.typeId == kCompressedDirectoryType || !reader.Has(entry.offset, entry.size) ||
            IsQfsCompressed(file.subspan(entry.offset, entry.size))) {
            return false;
        }
        next += entry.size;
    }
    return reader.ReadU32(kIndexOffsetOffset, "header index offset") == next &&
           reader.ReadU32(kIndexSizeOffset, "header index size") == entries.size() * width &&
           file.size() == next + entries.size() * width;
}

}  // namespace

std::optional<PackageImage> ExpandPackageRead(std::span<const std::uint8_t> file, const std::filesystem::path& path,
                                              Reporter& reporter, const FaultHook& hook, PackageIndex* index) {
    PackageIndex read;
    try {
        if (AlreadyExpanded(file, read)) {
            if (index) *index = std::move(read);
            return std::nullopt;
        }
    } catch (const FormatError&) {
        // A damaged index: the full expansion below says what is wrong with it.
    }
    PackageImage image = ExpandForRewrite(file, path, reporter);
    if (std::equal(image.begin(), image.end(), file.begin(), file.end())) return std::nullopt;  // left alone
    AtomicReplace(path, image, hook);
    return image;
}

PackageImage ExpandPackage(const std::filesystem::path& path, Reporter& reporter,
                           const FaultHook& hook) {
    Bytes file = ReadFileBytes(path);
    std::optional<PackageImage> image = ExpandPackageRead(file, path, reporter, hook);
    return image ? std::move(*image) : std::move(file);
}

}  // namespace qh
