#include "workspace/neighborhood_data.h"

#include <algorithm>
#include <unordered_map>

#include "package/byte_reader.h"
#include "platform/errors.h"

namespace qh {

namespace {

// The fields of one item before its values; the values follow as a count and that many 16-bit
// words.
std::size_t ItemHeadSize(std::uint32_t version) {
    std::size_t size = 4 + 2;
    if (version >= 194) size += 2;
    if (version >= 190) size += 4;
    if (version >= 203) size += 2;
    return size;
}

NeighborhoodItem ReadItem(ByteCursor& in, std::uint32_t version) {
    NeighborhoodItem item;
    item.itemGuid = in.U32("item GUID");
    item.flags1 = in.U16("item flags");
    if (version >= 194) item.flags2 = in.U16("item flags");
    if (version >= 190) item.invNumber = in.U32("inventory number");
    if (version >= 203) item.padding = in.U16("item padding");
    const std::uint32_t count = in.U32("value count");
    const auto values = in.Take(static_cast<std::size_t>(count) * 2, "item values");
    item.values.AssignLittleEndian(values.data(), count);
    return item;
}

// Passes over one item without keeping it: the layout of a resource of hundreds of thousands of
// items is found on every save.
void SkipItem(ByteCursor& in, std::uint32_t version) {
    in.Skip(ItemHeadSize(version), "item");
    const std::uint32_t count = in.U32("value count");
    in.Skip(static_cast<std::size_t>(count) * 2, "item values");
}

// One section of owners: per owner its id, (from version 190) its owner word, then two lists of
// items. Lots and families keep one list each in the program; sims keep the primary and the
// secondary list apart. Returns the number of items of the section.
std::size_t ReadSection(ByteCursor& in, std::uint32_t version, std::uint32_t defaultWord, bool sims,
                        std::vector<NeighborhoodItem>* out) {
    if (out) {
        // Counted first, so that the list is allocated once: the sims of a large neighborhood own
        // hundreds of thousands of items, and a list grown by doubling touches twice their memory.
        ByteCursor ahead = in;
        out->reserve(out->size() + ReadSection(ahead, version, defaultWord, sims, nullptr));
    }
    std::size_t items = 0;
    const std::uint32_t owners = in.U32("owner count");
    for (std::uint32_t o = 0; o < owners; ++o) {
        const std::uint32_t owner = in.U32("owner id");
        const std::uint32_t word = version >= 190 ? in.U32("owner word") : defaultWord;
        for (std::uint8_t list = 0; list < 2; ++list) {
            const std::uint32_t count = in.U32("item count");
            items += count;
            for (std::uint32_t i = 0; i < count; ++i) {
                if (!out) {
                    SkipItem(in, version);
                    continue;
                }
                NeighborhoodItem item = ReadItem(in, version);
                item.owner = owner;
                item.ownerWord = word;
                item.secondary = sims ? list : 1;
                out->push_back(std::move(item));
            }
        }
    }
    return items;
}

}  // namespace

void AppendNeighborhoodItem(Bytes& bytes, std::uint32_t version, const NeighborhoodItem& item) {
    // Sized once and stored into: a large neighborhood writes hundreds of thousands of items.
    std::size_t at = bytes.size();
    bytes.resize(at + NeighborhoodItemSize(version, item.values.size()));
    const std::span<std::uint8_t> out(bytes);
    auto u16 = [&](std::uint16_t value) {
        StoreU16(out, at, value);
        at += 2;
    };
    auto u32 = [&](std::uint32_t value) {
        StoreU32(out, at, value);
        at += 4;
    };
    u32(item.itemGuid);
    u16(item.flags1);
    if (version >= 194) u16(item.flags2);
    if (version >= 190) u32(item.invNumber);
    if (version >= 203) u16(item.padding);
    u32(static_cast<std::uint32_t>(item.values.size()));
    for (std::uint16_t v : item.values) u16(v);
}

std::size_t NeighborhoodItemSize(std::uint32_t version, std::size_t valueCount) {
    return ItemHeadSize(version) + 4 + 2 * valueCount;
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
        for (std::uint32_t i = 0; i < count; ++i) SkipItem(in, version);
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
        if (to.empty()) {
            to = std::move(from);  // as at every load: no second list
        } else {
            to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
        }
    };
    append(workspace.lotItemList, lots);
    append(workspace.familyItemList, families);
    append(workspace.simItemList, sims);
    workspace.neighborhoodData = layout;
}

NeighborhoodDataLayout ReadNeighborhoodLayout(std::span<const std::uint8_t> bytes) {
    return Parse(bytes, nullptr, nullptr, nullptr);
}

std::vector<NeighborhoodItem> ReadSimItems(std::span<const std::uint8_t> bytes) {
    std::vector<NeighborhoodItem> sims;
    Parse(bytes, nullptr, nullptr, &sims);
    return sims;
}

Bytes WriteNeighborhoodData(std::span<const std::uint8_t> stored, const std::vector<NeighborhoodItem>& simItems) {
    // The layout of the resource as it is now, not as it was loaded: the game may have saved in
    // between, and its lots' and families' sections may have another length.
    const NeighborhoodDataLayout layout = ReadNeighborhoodLayout(stored);
    const std::uint32_t version = layout.version;
    Bytes out(stored.begin(), stored.begin() + static_cast<std::ptrdiff_t>(layout.simsSectionStart));

    // Owners in the order of their first item, each with its two lists in item order: a counting
    // sort by owner and list, linear in the items.
    std::vector<std::uint32_t> ownerIds;
    std::vector<std::uint32_t> ownerWords;
    std::vector<std::uint32_t> slotOf(simItems.size());
    std::unordered_map<std::uint32_t, std::uint32_t> ownerIndex;
    ownerIndex.reserve(simItems.size() / 8 + 16);
    std::size_t valueCount = 0;
    for (std::size_t i = 0; i < simItems.size(); ++i) {
        const NeighborhoodItem& item = simItems[i];
        const auto [it, added] = ownerIndex.emplace(item.owner, static_cast<std::uint32_t>(ownerIds.size()));
        if (added) {
            ownerIds.push_back(item.owner);
            ownerWords.push_back(item.ownerWord);
        }
        slotOf[i] = it->second * 2 + (item.secondary == 0 ? 0 : 1);
        valueCount += item.values.size();
    }
    std::vector<std::size_t> slotStart(ownerIds.size() * 2 + 1, 0);
    for (std::uint32_t slot : slotOf) ++slotStart[slot + 1];
    for (std::size_t s = 1; s < slotStart.size(); ++s) slotStart[s] += slotStart[s - 1];
    std::vector<std::uint32_t> ordered(simItems.size());
    {
        std::vector<std::size_t> next(slotStart.begin(), slotStart.end() - 1);
        for (std::size_t i = 0; i < simItems.size(); ++i) ordered[next[slotOf[i]]++] = static_cast<std::uint32_t>(i);
    }

    out.reserve(out.size() + 4 + ownerIds.size() * 16 + simItems.size() * (ItemHeadSize(version) + 4) +
                valueCount * 2 + layout.restLength);
    ByteWriter writer(out);
    writer.U32(static_cast<std::uint32_t>(ownerIds.size()));
    for (std::size_t o = 0; o < ownerIds.size(); ++o) {
        writer.U32(ownerIds[o]);
        if (version >= 190) writer.U32(ownerWords[o]);
        for (std::size_t slot = o * 2; slot < o * 2 + 2; ++slot) {
            writer.U32(static_cast<std::uint32_t>(slotStart[slot + 1] - slotStart[slot]));
            for (std::size_t k = slotStart[slot]; k < slotStart[slot + 1]; ++k) {
                AppendNeighborhoodItem(out, version, simItems[ordered[k]]);
            }
        }
    }
    out.insert(out.end(), stored.end() - static_cast<std::ptrdiff_t>(layout.restLength), stored.end());
    return out;
}

}  // namespace qh
