#include "package/extract.h"

#include <algorithm>

#include "package/byte_reader.h"
#include "package/qfs.h"

namespace qh {

namespace {

std::span<const std::uint8_t> StoredBytes(std::span<const std::uint8_t> source,
                                          const IndexEntry& entry) {
    const ByteReader reader(source, "package");
    return reader.Slice(entry.offset, entry.size, "resource " + HexId(entry.key.typeId) + " " +
                                                      HexId(entry.key.instanceId));
}


}  // namespace

bool IsCompressedEntry(std::span<const std::uint8_t> source, const IndexEntry& entry) {
    return IsQfsCompressed(StoredBytes(source, entry));
}

std::optional<Bytes> ReadResource(std::span<const std::uint8_t> package, const IndexEntry& entry,
                                  PackageSource source, Reporter& reporter) {
    if (source == PackageSource::Image) {
        const auto stored = StoredBytes(package, entry);
        return Bytes(stored.begin(), stored.end());
    }
    Bytes content;
    if (!ExtractResource(package, entry, content, reporter)) return std::nullopt;
    return content;
}

bool ExtractResource(std::span<const std::uint8_t> source, const IndexEntry& entry,
                     Bytes& destination, Reporter& reporter) {
    const auto stored = StoredBytes(source, entry);
    if (!IsQfsCompressed(stored)) {
        destination.insert(destination.end(), stored.begin(), stored.end());
        return true;
    }
    const std::size_t expected = QfsDeclaredLength(stored);
    const std::size_t before = destination.size();
    DecodeQfs(stored, expected, destination);
    if (destination.size() - before != expected) {
        reporter.Error("Decompression Error");
        return false;
    }
    return true;
}

PackageImage ExpandImage(std::span<const std::uint8_t> file, Reporter& reporter,
                         std::uint32_t* entryWidth) {
    const ByteReader reader(file, "package");
    std::vector<IndexEntry> entries;
    const std::uint32_t width = ReadIndex(file, PackageSource::File, entries);
    if (entryWidth) *entryWidth = width;

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

    // Only the last directory entry is taken out; a second one is an anomaly reported below.
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (it->key.typeId == kCompressedDirectoryType) {
            entries.erase(std::next(it).base());
            break;
        }
    }

    for (IndexEntry& entry : entries) {
        const std::size_t at = image.size();
        ExtractResource(file, entry, image, reporter);
        if (image.size() > 0xFFFFFFFFu) throw FormatError("Expanded package exceeds 4 GiB");
        entry.offset = static_cast<std::uint32_t>(at);
        entry.size = static_cast<std::uint32_t>(image.size() - at);
    }

    std::vector<IndexEntry> written;
    written.reserve(entries.size());
    for (const IndexEntry& entry : entries) {
        if (entry.key.typeId == kCompressedDirectoryType) {
            reporter.Error("Decompression List Error, Exists");
            continue;
        }
        written.push_back(entry);
    }
    FinishPackageImage(image, written, width);
    return image;
}

void ExpandPackageToMemory(const std::filesystem::path& path, PackageImage& image,
                           Reporter& reporter) {
    const Bytes file = ReadFileBytes(path);
    try {
        image = ExpandImage(file, reporter);
    } catch (const FormatError& error) {
        throw FormatError(path.filename().string() + ": " + error.what());
    }
}

PackageImage ExpandForRewrite(std::span<const std::uint8_t> file,
                              const std::filesystem::path& path, Reporter& reporter) {
    try {
        const ByteReader reader(file, "package");
        const std::uint32_t count = reader.ReadU32(kEntryCountOffset, "header entry count");
        std::uint32_t width = 0;
        PackageImage image = ExpandImage(file, reporter, &width);
        if (count != 0 && width != 20 && width != 24) {
            throw FormatError("its index has entries of " + std::to_string(width) +
                              " bytes, which the program cannot read; the file was left unchanged");
        }
        return image;
    } catch (const FormatError& error) {
        throw FormatError(path.filename().string() + ": " + error.what());
    }
}

PackageImage ExpandPackage(const std::filesystem::path& path, Reporter& reporter,
                           const FaultHook& hook) {
    const Bytes file = ReadFileBytes(path);
    PackageImage image = ExpandForRewrite(file, path, reporter);
    if (image != file) AtomicReplace(path, image, hook);  // an expanded file is left alone
    return image;
}

}  // namespace qh
