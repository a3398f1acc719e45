#include "package/rebuild.h"

#include <algorithm>
#include <optional>

#include "package/byte_reader.h"
#include "package/extract.h"

namespace qh {

namespace {

std::uint32_t ToU32(std::size_t value) {
    if (value > 0xFFFFFFFFu) throw FormatError("Package exceeds 4 GiB");
    return static_cast<std::uint32_t>(value);
}

}  // namespace

void RebuiltPackage::Add(bool made, std::size_t offset, std::size_t length) {
    if (length == 0) return;
    size_ += length;
    // Neighbouring runs of the same buffer become one piece: most of a package is carried in a
    // few long runs, and the writers' bytes lie end to end in their buffer.
    if (!pieces_.empty() && pieces_.back().made == made && pieces_.back().offset + pieces_.back().length == offset) {
        pieces_.back().length += length;
        return;
    }
    pieces_.push_back({made, offset, length});
}

void RebuiltPackage::AddMade(std::size_t start) { Add(true, start, made_.size() - start); }

void RebuiltPackage::AddCarried(std::span<const std::uint8_t> run) {
    Add(false, static_cast<std::size_t>(run.data() - source_.data()), run.size());
}

std::vector<std::span<const std::uint8_t>> RebuiltPackage::Pieces() const {
    std::vector<std::span<const std::uint8_t>> pieces;
    pieces.reserve(pieces_.size());
    const std::span<const std::uint8_t> made(made_);
    for (const Piece& piece : pieces_) {
        pieces.push_back((piece.made ? made : source_).subspan(piece.offset, piece.length));
    }
    return pieces;
}

PackageImage RebuiltPackage::Joined() const {
    PackageImage image;
    image.reserve(size_);
    for (const auto piece : Pieces()) image.insert(image.end(), piece.begin(), piece.end());
    return image;
}

void NewIndex::Add(const IndexEntry& entry) {
    AppendIndexEntry(bytes, entry, width);
    ++count;
}

void ResourceAppender::Append(const ResourceKey& key, std::span<const std::uint8_t> content) {
    IndexEntry entry;
    entry.key = key;
    entry.offset = ToU32(package_.size());
    entry.size = ToU32(content.size());
    PackageImage& made = package_.made();
    const std::size_t start = made.size();
    made.insert(made.end(), content.begin(), content.end());
    package_.AddMade(start);
    index_.Add(entry);
}

EntryOutcome CopyEntry(const IndexEntry&, std::span<const std::uint8_t>, PackageImage&) {
    return EntryOutcome::Copy;
}

RebuiltPackage RebuildPieces(std::span<const std::uint8_t> expanded, const EntryWriter& writer,
                             const Appender& appender, const PackageIndex* index) {
    const ByteReader reader(expanded, "package");
    PackageIndex read;
    if (!index) {
        read.width = ReadIndex(expanded, PackageSource::File, read.entries);
        index = &read;
    }
    const std::vector<IndexEntry>& source = index->entries;
    const std::uint32_t width = index->width;
    if (!source.empty() && width != 20 && width != 24) {
        throw FormatError("Unsupported index entry width " + std::to_string(width));
    }

    RebuiltPackage package(expanded);
    PackageImage& made = package.made();
    const auto header = reader.Slice(0, kHeaderSize, "header");
    made.assign(header.begin(), header.end());
    package.AddMade(0);

    // The new index is laid out as the walk goes (its entries are only ever written out).
    NewIndex entries;
    entries.width = width == 24 ? 24 : 20;
    entries.bytes.reserve(source.size() * entries.width);
    for (IndexEntry entry : source) {
        const auto stored = reader.Has(entry.offset, entry.size)
                                ? expanded.subspan(entry.offset, entry.size)
                                : reader.Slice(entry.offset, entry.size, "resource " + HexId(entry.key.typeId));
        const std::size_t start = made.size();
        entry.offset = ToU32(package.size());
        EntryOutcome outcome = writer(entry, stored, made);
        if (outcome == EntryOutcome::Drop) {
            made.resize(start);
            continue;
        }
        if (outcome == EntryOutcome::Keep && made.size() - start == stored.size() &&
            std::equal(stored.begin(), stored.end(), made.begin() + static_cast<std::ptrdiff_t>(start))) {
            outcome = EntryOutcome::Copy;
        }
        if (outcome == EntryOutcome::Copy) {
            made.resize(start);
            package.AddCarried(stored);
        } else {
            package.AddMade(start);
        }
        entry.size = ToU32(package.size() - entry.offset);
        entries.Add(entry);
    }

    if (appender) {
        ResourceAppender append(package, entries);
        appender(append);
    }

    // The index goes at the end, and the header (the first bytes the writers' buffer holds) says
    // where.
    const std::size_t indexOffset = package.size();
    const std::size_t indexStart = made.size();
    made.insert(made.end(), entries.bytes.begin(), entries.bytes.end());
    package.AddMade(indexStart);
    SetIndexFields(std::span(made).first(kHeaderSize), indexOffset, entries.count, entries.width);
    return package;
}

PackageImage RebuildImage(std::span<const std::uint8_t> expanded, const EntryWriter& writer,
                          const Appender& appender) {
    return RebuildPieces(expanded, writer, appender).Joined();
}

void RebuildPackage(const std::filesystem::path& path, const EntryWriter& writer,
                    const Appender& appender, Reporter& reporter,
                    const RebuildOptions& options) {
    auto unchanged = [&](const FileStamp& stamp) {
        if (StampOf(path) != stamp) {
            throw ChangedMeanwhileError(path.filename().string() +
                                        " was changed by another program while it was being saved; it was left as "
                                        "that program wrote it");
        }
    };
    // Each replace checks the file once more right before its rename, the last moment at which
    // another program's save (the game's, while a large package is being written) can still be
    // kept rather than overwritten.
    auto guarded = [&](const FileStamp& stamp) -> FaultHook {
        return [&options, &unchanged, stamp](ReplaceStep step, const std::filesystem::path& target) {
            if (options.hook) options.hook(step, target);
            if (step == ReplaceStep::Rename && options.expected) unchanged(stamp);
        };
    };
    if (options.expected) unchanged(*options.expected);
    // Read into memory that is not cleared first: the file's bytes are only walked and written.
    const FileBuffer file = ReadFileBuffer(path);
    // Bytes read while another program was writing them are not what the file holds.
    if (options.expected) unchanged(*options.expected);
    PackageIndex index;
    const std::optional<PackageImage> expansion = ExpandPackageRead(
        file.Span(), path, reporter, options.expected ? guarded(*options.expected) : options.hook, &index);
    const std::span<const std::uint8_t> expanded = expansion ? std::span<const std::uint8_t>(*expansion) : file.Span();
    const FileStamp afterExpansion = StampOf(path);
    if (options.onExpanded) options.onExpanded(ByteReader(expanded).ReadU32(kEntryCountOffset));
    std::optional<RebuiltPackage> rebuilt;
    try {
        rebuilt.emplace(RebuildPieces(expanded, writer, appender, expansion ? nullptr : &index));
    } catch (const FormatError& error) {
        throw FormatError(path.filename().string() + ": " + error.what());
    }
    if (options.expected) unchanged(afterExpansion);
    if (options.onWalked) options.onWalked();
    const auto pieces = rebuilt->Pieces();
    AtomicReplacePieces(path, pieces, options.expected ? guarded(afterExpansion) : options.hook);
}

}  // namespace qh
