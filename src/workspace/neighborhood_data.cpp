#include "workspace/neighborhood_data.h"

#include <algorithm>

#include "package/byte_reader.h"
#include "platform/errors.h"

namespace qh {

namespace {

NeighborhoodItem ReadItem(ByteCursor& in, std::uint32_t version) {
    NeighborhoodItem item;
    item.itemGuid = in.U32("item GUID");
    item.flags1 = in.U16("item flags");
    if (version >= 194) item.flags2 = in.U16("item flags");
    if (version >= 190) item.invNumber = in.U32("inventory number");
    if (version >= 203) item.padding = in.U16("item padding");
    const std::uint32_t count = in.U32("value count");
    const auto values = in.Take(static_cast<std::size_t>(count) * 2, "item values");
    item.values.resize(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        item.values[i] = static_cast<std::uint16_t>(values[2 * i] | values[2 * i + 1] << 8);
    }
    return item;
}

// One section of owners: per owner its id, (from version 190) its owner word, then two lists of
// items. Lots and families keep one list each in the program; sims keep the primary and the
// secondary list apart.
void ReadSection(ByteCursor& in, std::uint32_t version, std::uint32_t defaultWord, bool sims,
                 std::vector<NeighborhoodItem>& out) {
    const std::uint32_t owners = in.U32("owner count");
    for (std::uint32_t o = 0; o < owners; ++o) {
        const std::uint32_t owner = in.U32("owner id");
        const std::uint32_t word = version >= 190 ? in.U32("owner word") : defaultWord;
        for (std::uint8_t list = 0; list < 2; ++list) {
            const std::uint32_t count = in.U32("item count");
            for (std::uint32_t i = 0; i < count; ++i) {
                NeighborhoodItem item = ReadItem(in, version);
                item.owner = owner;
                item.ownerWord = word;
                item.secondary = sims ? list : 1;
                out.push_back(std::move(item));
            }
        }
    }
}

}  // namespace

void AppendNeighborhoodItem(Bytes& bytes, std::uint32_t version, const NeighborhoodItem& item) {
    ByteWriter out(bytes);
    out.U32(item.itemGuid);
    out.U16(item.flags1);
    if (version >= 194) out.U16(item.flags2);
    if (version >= 190) out.U32(item.invNumber);
    if (version >= 203) out.U16(item.padding);
    out.U32(static_cast<std::uint32_t>(item.values.size()));
    for (std::uint16_t v : item.values) out.U16(v);
}

std::size_t NeighborhoodItemSize(std::uint32_t version, std::size_t valueCount) {
    std::size_t size = 4 + 2 + 4 + 2 * valueCount;
    if (version >= 194) size += 2;
    if (version >= 190) size += 4;
    if (version >= 203) size += 2;
    return size;
}

void ReadNeighborhoodData(std::span<const std::uint8_t> bytes, Workspace& workspace) {
    ByteCursor in(bytes, "neighborhood data", 4);
    const std::uint32_t version = in.U32("version");
    in.Seek(20);
    in.Skip(in.U32("header length"), "header");
    in.Skip((version < 190 ? 24 : 28) + 4, "header");
    const std::uint32_t defaultWord = in.U32("default owner word");
    for (int list = 0; list < 2; ++list) {
        const std::uint32_t count = in.U32("item count");
        for (std::uint32_t i = 0; i < count; ++i) (void)ReadItem(in, version);
    }
    std::vector<NeighborhoodItem> lots;
    std::vector<NeighborhoodItem> families;
    std::vector<NeighborhoodItem> sims;
    ReadSection(in, version, defaultWord, false, lots);
    ReadSection(in, version, defaultWord, false, families);
    NeighborhoodDataLayout layout;
    layout.version = version;
    layout.defaultOwnerWord = defaultWord;
    layout.simsSectionStart = in.at();
    ReadSection(in, version, defaultWord, true, sims);
    layout.simsSectionEnd = in.at();
    layout.restLength = bytes.size() - in.at();

    auto append = [](std::vector<NeighborhoodItem>& to, std::vector<NeighborhoodItem>& from) {
        to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
    };
    append(workspace.lotItemList, lots);
    append(workspace.familyItemList, families);
    append(workspace.simItemList, sims);
    workspace.neighborhoodData = layout;
}

Bytes WriteNeighborhoodData(std::span<const std::uint8_t> stored, const std::vector<NeighborhoodItem>& simItems,
                            NeighborhoodDataLayout& layout) {
    const ByteReader reader(stored, "neighborhood data");
    const std::uint32_t version = reader.ReadU32(4, "version");
    if (layout.simsSectionStart > stored.size() || layout.restLength > stored.size() - layout.simsSectionStart) {
        throw FormatError("neighborhood data no longer has the layout that was loaded");
    }
    Bytes out(stored.begin(), stored.begin() + static_cast<std::ptrdiff_t>(layout.simsSectionStart));

    // Owners in the order of their first item.
    std::vector<std::uint32_t> owners;
    std::vector<std::uint32_t> words;
    for (const NeighborhoodItem& item : simItems) {
        if (std::find(owners.begin(), owners.end(), item.owner) == owners.end()) {
            owners.push_back(item.owner);
            words.push_back(item.ownerWord);
        }
    }
    ByteWriter writer(out);
    writer.U32(static_cast<std::uint32_t>(owners.size()));
    for (std::size_t o = 0; o < owners.size(); ++o) {
        writer.U32(owners[o]);
        if (version >= 190) writer.U32(words[o]);
        for (std::uint8_t list = 0; list < 2; ++list) {
            const std::size_t countAt = writer.PlaceholderU32();  // filled in once the items are written
            std::uint32_t count = 0;
            for (const NeighborhoodItem& item : simItems) {
                if (item.owner != owners[o] || (item.secondary == 0) != (list == 0)) continue;
                AppendNeighborhoodItem(out, version, item);
                ++count;
            }
            writer.PatchU32(countAt, count);
        }
    }
    layout.simsSectionEnd = out.size();
    out.insert(out.end(), stored.end() - static_cast<std::ptrdiff_t>(layout.restLength), stored.end());
    return out;
}

}  // namespace qh
