#include "package/rebuild.h"

#include "package/byte_reader.h"
#include "package/extract.h"

namespace qh {

namespace {

std::uint32_t ToU32(std::size_t value) {
    if (value > 0xFFFFFFFFu) throw FormatError("Package exceeds 4 GiB");
    return static_cast<std::uint32_t>(value);
}


}  // namespace

void ResourceAppender::Append(const ResourceKey& key, std::span<const std::uint8_t> content) {
    IndexEntry entry;
    entry.key = key;
    entry.offset = ToU32(image_.size());
    image_.insert(image_.end(), content.begin(), content.end());
    entry.size = ToU32(image_.size() - entry.offset);
    entries_.push_back(entry);
}

EntryOutcome CopyEntry(const IndexEntry&, std::span<const std::uint8_t> stored,
                       PackageImage& image) {
    image.insert(image.end(), stored.begin(), stored.end());
    return EntryOutcome::Keep;
}

PackageImage RebuildImage(std::span<const std::uint8_t> expanded, const EntryWriter& writer,
                          const Appender& appender) {
    const ByteReader reader(expanded, "package");
    std::vector<IndexEntry> source;
    const std::uint32_t width = ReadIndex(expanded, PackageSource::File, source);
    if (!source.empty() && width != 20 && width != 24) {
        throw FormatError("Unsupported index entry width " + std::to_string(width));
    }

    PackageImage image;
    image.reserve(expanded.size());
    const auto header = reader.Slice(0, kHeaderSize, "header");
    image.assign(header.begin(), header.end());

    std::vector<IndexEntry> entries;
    entries.reserve(source.size());
    for (IndexEntry entry : source) {
        const auto stored = reader.Has(entry.offset, entry.size)
                                ? expanded.subspan(entry.offset, entry.size)
                                : reader.Slice(entry.offset, entry.size, "resource " + HexId(entry.key.typeId));
        const std::size_t start = image.size();
        entry.offset = ToU32(start);
        if (writer(entry, stored, image) == EntryOutcome::Drop) {
            image.resize(start);
            continue;
        }
        entry.size = ToU32(image.size() - start);
        entries.push_back(entry);
    }

    if (appender) {
        ResourceAppender append(image, entries);
        appender(append);
    }

    FinishPackageImage(image, entries, width);
    return image;
}

void RebuildPackage(const std::filesystem::path& path, const EntryWriter& writer,
                    const Appender& appender, Reporter& reporter,
                    const RebuildOptions& options) {
    auto unchanged = [&](const FileStamp& stamp) {
        if (StampOf(path) != stamp) {
            throw IoError(path.filename().string() + " was changed by another program while it was being saved; it was "
                                                     "left as that program wrote it");
        }
    };
    if (options.expected) unchanged(*options.expected);
    const PackageImage expanded = ExpandPackage(path, reporter, options.hook);
    const FileStamp afterExpansion = StampOf(path);
    if (options.onExpanded) options.onExpanded(ByteReader(expanded).ReadU32(kEntryCountOffset));
    PackageImage image;
    try {
        image = RebuildImage(expanded, writer, appender);
    } catch (const FormatError& error) {
        throw FormatError(path.filename().string() + ": " + error.what());
    }
    if (options.expected) unchanged(afterExpansion);
    AtomicReplace(path, image, options.hook);
}

}  // namespace qh
