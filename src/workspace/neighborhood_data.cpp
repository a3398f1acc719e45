#include "workspace/neighborhood_data.h"

#include <algorithm>
#include <unordered_map>

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
                 std::vector<NeighborhoodItem>* out) {
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
                if (out) out->push_back(std::move(item));
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

namespace {

// Walks the whole resource; the lists that are given receive the items of their section.
NeighborhoodDataLayout Parse(std::span<const std::uint8_t> bytes, std::vector<NeighborhoodItem>* lots,
                             std::vector<NeighborhoodItem>* families, std::vector<NeighborhoodItem>* sims) {
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
    ReadSection(in, version, defaultWord, false, lots);
    ReadSection(in, version, defaultWord, false, families);
    NeighborhoodDataLayout layout;
    layout.version = version;
    layout.defaultOwnerWord = defaultWord;
    layout.simsSectionStart = in.at();
    ReadSection(in, version, defaultWord, true, sims);
    layout.simsSectionEnd = in.at();
    layout.restLength = bytes.size() - in.at();
    return layout;
}

}  // namespace

void ReadNeighborhoodData(std::span<const std::uint8_t> bytes, Workspace& workspace) {
    std::vector<NeighborhoodItem> lots;
    std::vector<NeighborhoodItem> families;
    std::vector<NeighborhoodItem> sims;
    const NeighborhoodDataLayout layout = Parse(bytes, &lots, &families, &sims);
    auto append = [](std::vector<NeighborhoodItem>& to, std::vector<NeighborhoodItem>& from) {
        to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
    };
    append(workspace.lotItemList, lots);
    append(workspace.familyItemList, families);
    append(workspace.simItemList, sims);
    workspace.neighborhoodData = layout;
}

NeighborhoodDataLayout ReadNeighborhoodLayout(std::span<const std::uint8_t> bytes) {
    return Parse(bytes, nullptr, nullptr, nullptr);
}

Bytes WriteNeighborhoodData(std::span<const std::uint8_t> stored, const std::vector<NeighborhoodItem>& simItems) {
    // The layout of the resource as it is now, not as it was loaded: the game may have saved in
    // between, and its lots' and families' sections may have another length.
    const NeighborhoodDataLayout layout = ReadNeighborhoodLayout(stored);
    const std::uint32_t version = layout.version;
    Bytes out(stored.begin(), stored.begin() + static_cast<std::ptrdiff_t>(layout.simsSectionStart));

    // Owners in the order of their first item, each with its two lists in item order: one pass.
    struct Owner {
        std::uint32_t id;
        std::uint32_t word;
        std::vector<const NeighborhoodItem*> lists[2];
    };
    std::vector<Owner> owners;
    std::unordered_map<std::uint32_t, std::size_t> ownerIndex;
    for (const NeighborhoodItem& item : simItems) {
        const auto [it, added] = ownerIndex.emplace(item.owner, owners.size());
        if (added) owners.push_back({item.owner, item.ownerWord, {}});
        owners[it->second].lists[item.secondary == 0 ? 0 : 1].push_back(&item);
    }
    ByteWriter writer(out);
    writer.U32(static_cast<std::uint32_t>(owners.size()));
    for (const Owner& owner : owners) {
        writer.U32(owner.id);
        if (version >= 190) writer.U32(owner.word);
        for (const auto& list : owner.lists) {
            writer.U32(static_cast<std::uint32_t>(list.size()));
            for (const NeighborhoodItem* item : list) AppendNeighborhoodItem(out, version, *item);
        }
    }
    out.insert(out.end(), stored.end() - static_cast<std::ptrdiff_t>(layout.restLength), stored.end());
    return out;
}

}  // namespace qh
