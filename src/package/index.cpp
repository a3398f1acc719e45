#include "package/index.h"

#include <algorithm>

#include "package/byte_reader.h"
#include "platform/errors.h"

namespace qh {

std::uint32_t ReadIndex(std::span<const std::uint8_t> package, PackageSource source,
                        std::vector<IndexEntry>& entries) {
    entries.clear();
    const ByteReader reader(package, "package");
    const std::uint32_t count = reader.ReadU32(kEntryCountOffset, "header entry count");
    const std::uint32_t indexOffset = reader.ReadU32(kIndexOffsetOffset, "header index offset");
    const std::uint32_t indexSize = reader.ReadU32(kIndexSizeOffset, "header index size");
    const std::uint32_t width = (count != 0 && indexSize != 0) ? indexSize / count : 0;
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
    image.reserve(image.size() + entries.size() * entryWidth);
    for (const IndexEntry& entry : entries) {
        AppendU32(image, entry.key.typeId);
        AppendU32(image, entry.key.groupId);
        AppendU32(image, entry.key.instanceId);
        if (entryWidth == 24) AppendU32(image, entry.key.instance2Id);
        AppendU32(image, entry.offset);
        AppendU32(image, entry.size);
    }
}

void FinishPackageImage(PackageImage& image, const std::vector<IndexEntry>& entries,
                        std::uint32_t entryWidth) {
    if (image.size() > 0xFFFFFFFFu) throw FormatError("Package exceeds 4 GiB");
    auto set = [&](std::size_t offset, std::uint32_t value) {
        if (!WriteChecked(image, value, offset, 4)) {
            throw FormatError("Cannot set header field " + std::to_string(offset));
        }
    };
    set(kIndexOffsetOffset, static_cast<std::uint32_t>(image.size()));
    AppendIndex(image, entries, entryWidth);
    const auto count = static_cast<std::uint32_t>(entries.size());
    set(kEntryCountOffset, count);
    set(kIndexSizeOffset, count * entryWidth);
    set(kHoleCountOffset, 0);
    set(kHoleOffsetOffset, 0);
    set(kHoleSizeOffset, 0);
}

}  // namespace qh
