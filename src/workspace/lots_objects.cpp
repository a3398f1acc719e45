#include "workspace/lots_objects.h"

#include "package/byte_reader.h"
#include "package/extract.h"
#include "package/text_list.h"

namespace qh {

const char* LotTypeText(std::uint8_t lotType) {
    static const char* const kTexts[] = {"Residential Lot", "Community Lot",   "University Dorm",
                                         "Greek House",     "Secret Society Lot", "Hotel",
                                         "Vacation Lot",    "Hobby Lot"};
    return lotType < 8 ? kTexts[lotType] : "";
}

LotDesc ReadLotDescription(std::span<const std::uint8_t> bytes, const IndexEntry& entry,
                           const std::string& packageName) {
    const ByteReader reader(bytes, "lot description");
    LotDesc lot;
    lot.lotId = entry.key.instanceId;
    lot.lotFile = packageName.substr(0, 28);
    lot.lotType = reader.ReadU8(12, "lot type");
    const std::uint32_t nameLength = reader.ReadU32(19, "name length");
    const auto name = reader.Slice(23, nameLength, "lot name");
    lot.lotName = TrimText(std::string(name.begin(), name.end()));
    const std::size_t at = 23 + static_cast<std::size_t>(nameLength);
    const std::uint32_t descriptionLength = reader.ReadU32(at, "description length");
    const auto description = reader.Slice(at + 4, descriptionLength, "lot description text");
    lot.lotDescription = TrimText(std::string(description.begin(), description.end()));
    return lot;
}

OBJd ReadObjectDefinition(std::span<const std::uint8_t> bytes) {
    const ByteReader reader(bytes, "object definition");
    OBJd object;
    object.objectGuid = reader.ReadU32(92, "object GUID");
    const auto name = reader.Slice(0, 64, "object name");
    std::size_t length = 0;
    while (length < name.size() && name[length] != 0) ++length;
    object.objectName.assign(name.begin(), name.begin() + static_cast<std::ptrdiff_t>(length));
    return object;
}

std::vector<OBJd> LoadObjectCatalogue(const std::filesystem::path& objectsPackagePath,
                                      Reporter& reporter, Progress& progress) {
    std::vector<OBJd> catalogue;
    std::error_code error;
    if (objectsPackagePath.empty() || !std::filesystem::is_regular_file(objectsPackagePath, error)) {
        return catalogue;
    }
    const Bytes package = ReadFileBytes(objectsPackagePath);
    const std::string name = objectsPackagePath.filename().string();
    try {
        std::vector<IndexEntry> entries;
        const std::uint32_t width = ReadIndex(package, PackageSource::File, entries);
        if (width == 0) {
            reporter.Error("An Index Error was found in Objects Package");
            return catalogue;
        }
        const CompressedListing listing = CompressedListing::Of(package, entries, width);
        progress.SetStatus("Loading Object Data");
        progress.SetMaximum(static_cast<int>(entries.size()));
        for (std::size_t i = 0; i < entries.size(); ++i) {
            progress.SetPosition(static_cast<int>(i));
            progress.Step();
            if (entries[i].key.typeId != kObjectDefinitionType) continue;
            Bytes content;
            if (!ExtractResource(package, entries[i], content, reporter, listing.Lists(entries[i].key))) continue;
            catalogue.push_back(ReadObjectDefinition(content));
        }
    } catch (const FormatError& e) {
        throw FormatError(name + ": " + e.what());
    }
    return catalogue;
}

std::optional<std::string> BusinessLotName(const std::vector<LotDesc>& lots, std::int16_t businessLot) {
    const auto id = static_cast<std::uint32_t>(static_cast<std::int32_t>(businessLot));
    for (const LotDesc& lot : lots) {
        if (lot.lotId == id) return lot.lotName;
    }
    return std::nullopt;
}

}  // namespace qh
