#include "household/household.h"

#include <cstdio>

#include "package/byte_reader.h"

namespace qh {

namespace {

bool HasTwoTailValues(std::uint32_t version) { return version == 81 || version == 84 || version == 85; }

// Where the member list ends in a stored resource.
std::size_t MembersEnd(const ByteReader& in, std::size_t valueStart) {
    const std::uint32_t count = in.ReadU32(valueStart + 16, "member count");
    const std::size_t end = valueStart + 20 + static_cast<std::size_t>(count) * 4;
    in.Require(valueStart + 20, static_cast<std::size_t>(count) * 4, "member GUIDs");
    return end;
}

}  // namespace

std::size_t HouseholdValueStart(std::uint32_t version) {
    if (version == 81 || version == 84) return 20;
    if (version == 85) return 24;
    return 16;
}

std::size_t HouseholdTailSize(std::uint32_t version) {
    if (version == 79) return 8;
    if (HasTwoTailValues(version)) return 12;
    return 4;
}

void ReadHousehold(std::span<const std::uint8_t> bytes, Household& household) {
    const ByteReader in(bytes, "household " + HexId(household.instanceId));
    const std::uint32_t version = in.ReadU32(4, "format version");
    household.lotInstance = in.ReadU32(12, "lot instance");
    const std::size_t v = HouseholdValueStart(version);
    household.houseFamilyNumber = in.ReadU32(v, "family number");
    household.funds = static_cast<std::int32_t>(in.ReadU32(v + 4, "funds"));
    household.familyFriends = in.ReadU32(v + 8, "family friends");
    household.fourthValue = in.ReadU32(v + 12, "fourth value");
    household.storedMemberCount = in.ReadU32(v + 16, "member count");
    const std::size_t end = MembersEnd(in, v);
    household.members.clear();
    household.members.reserve(household.storedMemberCount);
    for (std::size_t at = v + 20; at < end; at += 4) {
        Guid4 guid{};
        const auto raw = in.Slice(at, 4, "member GUID");
        std::copy(raw.begin(), raw.end(), guid.begin());
        household.members.push_back(guid);
    }
    char text[9];
    std::snprintf(text, sizeof text, "%08X", in.ReadU32(end, "household tail"));
    household.tailText.assign(text, 4);
    // The game's older files may end early here; what is missing stays 0.
    household.tailValue1 = household.tailValue2 = 0;
    if (HouseholdTailSize(version) >= 8 && in.Has(end + 4, 4)) household.tailValue1 = in.ReadU32(end + 4);
    if (HasTwoTailValues(version)) household.tailValue2 = in.ReadU32(end + 8, "second tail value");
    household.householdDirty = 0;
}

void WriteHousehold(std::span<const std::uint8_t> stored, const Household& household, Bytes& out) {
    const ByteReader in(stored, "household " + HexId(household.instanceId));
    const std::size_t v = HouseholdValueStart(in.ReadU32(4, "format version"));
    const std::size_t membersEnd = MembersEnd(in, v);
    ByteWriter writer(out);
    writer.Append(in.Slice(0, v + 4, "household header"));
    writer.U32(static_cast<std::uint32_t>(household.funds));
    writer.Append(in.Slice(v + 8, 8, "family friends"));
    writer.U32(static_cast<std::uint32_t>(household.members.size()));
    for (const Guid4& member : household.members) writer.Append(member);
    // Everything after the stored members, however long: the tail and anything the game added.
    writer.Append(in.Slice(membersEnd, stored.size() - membersEnd, "household tail"));
}

}  // namespace qh
