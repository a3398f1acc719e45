#include "package/index.h"

#include <algorithm>
#include <fstream>

#include "package/byte_reader.h"
#include "platform/errors.h"

namespace qh {

namespace {

// The entry width the header's count and size give. A size that is not a whole number of 20- or
// 24-byte entries is damage, not a width: read as one, the last entries would be lost (and a save
// would drop their resources), so it is refused.
std::uint32_t EntryWidth(std::uint32_t count, std::uint32_t indexSize, const std::string& what) {
    const std::uint32_t width = (count != 0 && indexSize != 0) ? indexSize / count : 0;
    if ((width == 20 || width == 24) && static_cast<std::uint64_t>(width) * count != indexSize) {
        throw FormatError(what + ": the index claims " + std::to_string(count) + " entries in " +
                          std::to_string(indexSize) + " bytes, which is not a whole number of entries");
    }
    return width;
}

}  // namespace

std::uint32_t ReadIndex(std::span<const std::uint8_t> package, PackageSource source,
                        std::vector<IndexEntry>& entries) {
    entries.clear();
    const ByteReader reader(package, "package");
    const std::uint32_t count = reader.ReadU32(kEntryCountOffset, "header entry count");
    const std::uint32_t indexOffset = reader.ReadU32(kIndexOffsetOffset, "header index offset");
    const std::uint32_t indexSize = reader.ReadU32(kIndexSizeOffset, "header index size");
    const std::uint32_t width = EntryWidth(count, indexSize, "package");
    if (width != 20 && width != 24) return width;

    // The whole index must be there before anything is allocated for it, so a header that claims
    // four billion entries costs nothing.
    reader.Require(indexOffset, static_cast<std::size_t>(count) * width, "index");
    entries.reserve(count);
    std::size_t at = indexOffset;
    for (std::uint32_t i = 0; i < count; ++i) {
        IndexEntry entry;
        entry.key.typeId = reader.ReadU32(at, "index entry");
        entry.key.groupId = reader.ReadU32(at + 4, "index entry");
        entry.key.instanceId = reader.ReadU32(at + 8, "index entry");
        std::size_t next = at + 12;
        if (width == 24) {
            entry.key.instance2Id = reader.ReadU32(next, "index entry");
            next += 4;
        }
        entry.offset = reader.ReadU32(next, "index entry");
        entry.size = reader.ReadU32(next + 4, "index entry");
        at += width;
        if (source == PackageSource::File && entry.offset >= package.size()) continue;
        entries.push_back(entry);
    }
    return width;
}

PackageExcerpt ReadPackageExcerpt(const std::filesystem::path& path,
                                  const std::function<bool(const IndexEntry&)>& wanted, std::size_t limit) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw IoError("Cannot open \"" + path.string() + "\" for reading");
    in.seekg(0, std::ios::end);
    const auto fileSize = static_cast<std::uint64_t>(std::max<std::streamoff>(in.tellg(), 0));
    auto readAt = [&](std::uint64_t offset, std::size_t count) {
        std::vector<std::uint8_t> bytes(count);
        in.clear();
        in.seekg(static_cast<std::streamoff>(offset));
        if (count > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count))) {
            throw IoError("Cannot read \"" + path.string() + "\"");
        }
        return bytes;
    };
    PackageExcerpt excerpt;
    if (fileSize < kHeaderSize) throw FormatError(path.filename().string() + ": the header is cut short");
    // The header with the index right behind it, read as ReadIndex reads a whole file (entries
    // whose offset lies past the file's end are left out, as it leaves them out).
    std::vector<std::uint8_t> head = readAt(0, kHeaderSize);
    const ByteReader header(head, "package");
    const std::uint32_t count = header.ReadU32(kEntryCountOffset, "header entry count");
    const std::uint32_t indexOffset = header.ReadU32(kIndexOffsetOffset, "header index offset");
    const std::uint32_t indexSize = header.ReadU32(kIndexSizeOffset, "header index size");
    const std::uint32_t width = EntryWidth(count, indexSize, path.filename().string());
    excerpt.width = width;
    if (width != 20 && width != 24) return excerpt;
    const std::uint64_t indexBytes = static_cast<std::uint64_t>(count) * width;
    if (indexOffset > fileSize || indexBytes > fileSize - indexOffset) {
        throw FormatError(path.filename().string() + ": the index passes the end of the file");
    }
    std::vector<std::uint8_t> index = readAt(indexOffset, static_cast<std::size_t>(indexBytes));
    head.insert(head.end(), index.begin(), index.end());
    StoreU32(head, kIndexOffsetOffset, static_cast<std::uint32_t>(kHeaderSize));
    ReadIndex(head, PackageSource::Image, excerpt.entries);
    std::erase_if(excerpt.entries, [&](const IndexEntry& entry) { return entry.offset >= fileSize; });
    for (const IndexEntry& entry : excerpt.entries) {
        if (!wanted(entry)) continue;
        if (entry.size > limit || entry.size > fileSize - entry.offset) continue;
        IndexEntry moved = entry;
        moved.offset = static_cast<std::uint32_t>(excerpt.bytes.size());
        const std::vector<std::uint8_t> stored = readAt(entry.offset, entry.size);
        excerpt.bytes.insert(excerpt.bytes.end(), stored.begin(), stored.end());
        excerpt.picked.push_back(moved);
    }
    return excerpt;
}

std::string ReadHexBytes(std::span<const std::uint8_t> bytes, std::size_t position,
                         std::size_t count, bool reversed) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const ByteReader reader(bytes);
    const auto slice = reader.Slice(position, count, "hexadecimal bytes");
    std::string text;
    text.reserve(count * 2);
    for (std::uint8_t byte : slice) {
        const char pair[2] = {kDigits[byte >> 4], kDigits[byte & 0xF]};
        if (reversed) {
            text.insert(text.begin(), pair, pair + 2);
        } else {
            text.append(pair, 2);
        }
    }
    return text;
}

bool WriteChecked(std::span<std::uint8_t> bytes, std::uint32_t value, std::size_t position,
                  int width) {
    if (width < 1 || width > 4) return false;
    const auto w = static_cast<std::size_t>(width);
    if (position > bytes.size() || w > bytes.size() - position) return false;
    auto stored = [&] {
        std::uint32_t v = 0;
        for (std::size_t i = 0; i < w; ++i) v |= static_cast<std::uint32_t>(bytes[position + i]) << (8 * i);
        return v;
    };
    const std::uint32_t mask = w == 4 ? 0xFFFFFFFFu : ((1u << (8 * w)) - 1);
    const std::uint32_t wanted = value & mask;
    if (stored() == wanted) return true;
    for (std::size_t i = 0; i < w; ++i) bytes[position + i] = static_cast<std::uint8_t>(value >> (8 * i));
    return stored() == wanted;
}

void AppendIndex(PackageImage& image, const std::vector<IndexEntry>& entries,
                 std::uint32_t entryWidth) {
    // Room made once: an index of a large neighborhood has hundreds of thousands of entries.
    image.reserve(image.size() + entries.size() * (entryWidth == 24 ? 24 : 20));
    for (const IndexEntry& entry : entries) AppendIndexEntry(image, entry, entryWidth);
}

void AppendIndexEntry(PackageImage& image, const IndexEntry& entry, std::uint32_t entryWidth) {
    std::uint8_t bytes[24];
    std::size_t at = 0;
    const auto store = [&](std::uint32_t value) {
        StoreU32(bytes, at, value);
        at += 4;
    };
    store(entry.key.typeId);
    store(entry.key.groupId);
    store(entry.key.instanceId);
    if (entryWidth == 24) store(entry.key.instance2Id);
    store(entry.offset);
    store(entry.size);
    image.insert(image.end(), bytes, bytes + at);
}

void SetIndexFields(std::span<std::uint8_t> header, std::size_t indexOffset, std::size_t count,
                    std::uint32_t entryWidth) {
    if (indexOffset > 0xFFFFFFFFu || static_cast<std::uint64_t>(count) * entryWidth > 0xFFFFFFFFu) throw FormatError("Package exceeds 4 GiB");
    auto set = [&](std::size_t offset, std::uint32_t value) {
        if (!WriteChecked(header, value, offset, 4)) {
            throw FormatError("Cannot set header field " + std::to_string(offset));
        }
    };
    set(kIndexOffsetOffset, static_cast<std::uint32_t>(indexOffset));
    set(kEntryCountOffset, static_cast<std::uint32_t>(count));
    set(kIndexSizeOffset, static_cast<std::uint32_t>(count * entryWidth));
    set(kHoleCountOffset, 0);
    set(kHoleOffsetOffset, 0);
    set(kHoleSizeOffset, 0);
}

void FinishPackageImage(PackageImage& image, const std::vector<IndexEntry>& entries,
                        std::uint32_t entryWidth) {
    const std::size_t indexOffset = image.size();
    SetIndexFields(image, indexOffset, entries.size(), entryWidth);
    AppendIndex(image, entries, entryWidth);
}

}  // namespace qh
