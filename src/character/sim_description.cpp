#include "character/sim_description.h"

#include <cstring>

#include "character/character_fields.h"
#include "package/byte_reader.h"

namespace qh {

namespace {

std::uint16_t FieldOffset(const CharacterField& field, std::uint16_t version) {
    return field.atGuidPosition ? DescriptionGuidPosition(version) : field.offset;
}

bool Carried(const CharacterField& field, int versionIndex) {
    return (field.offset != 0 || field.atGuidPosition) && (field.versions >> versionIndex & 1);
}

}  // namespace

std::optional<Guid4> StoredDescriptionGuid(std::span<const std::uint8_t> bytes) {
    const ByteReader reader(bytes, "sim description");
    const std::uint16_t version = reader.ReadU16(4, "format version");
    if (DescriptionVersionIndex(version) < 0) return std::nullopt;
    const auto guid = reader.Slice(DescriptionGuidPosition(version), 4, "sim GUID");
    return Guid4{guid[0], guid[1], guid[2], guid[3]};
}

bool ReadCharacterDescription(std::span<const std::uint8_t> bytes, Character& sim) {
    const ByteReader reader(bytes, "sim description");
    sim.species = 0;
    const std::uint16_t version = reader.ReadU16(4, "format version");
    sim.sdscVersion = version;
    const int index = DescriptionVersionIndex(version);
    if (index < 0) return false;
    const auto stored = reader.Slice(DescriptionGuidPosition(version), 4, "sim GUID");
    if (!std::equal(stored.begin(), stored.end(), sim.simGuid.begin())) return false;

    for (const CharacterField& field : CharacterFields()) {
        if (!Carried(field, index)) continue;
        const std::size_t at = FieldOffset(field, version);
        std::visit(
            [&](auto member) {
                using T = std::remove_cvref_t<decltype(sim.*member)>;
                if constexpr (std::is_same_v<T, std::int16_t>) {
                    sim.*member = reader.ReadI16(at, field.name.data());
                } else if constexpr (std::is_same_v<T, std::uint16_t>) {
                    sim.*member = reader.ReadU16(at, field.name.data());
                } else if constexpr (std::is_same_v<T, Guid4>) {
                    const auto raw = reader.Slice(at, 4, field.name.data());
                    std::memcpy((sim.*member).data(), raw.data(), 4);
                }
            },
            field.member);
    }
    sim.dirty = 0;
    return true;
}

namespace {

// Patches the copy of a description in place from one sim.
void Patch(std::span<std::uint8_t> resource, const Character& sim) {
    const auto stored = StoredDescriptionGuid(resource);
    if (!stored || sim.simGuid != *stored || !sim.dirty) return;
    const std::uint16_t version = ByteReader(resource).ReadU16(4);
    const int index = DescriptionVersionIndex(version);
    const ByteReader reader(resource, "sim description");
    for (const CharacterField& field : CharacterFields()) {
        if (!Carried(field, index) || field.writeback != Writeback::Always) continue;
        const std::size_t at = FieldOffset(field, version);
        std::visit(
            [&](auto member) {
                using T = std::remove_cvref_t<decltype(sim.*member)>;
                if constexpr (std::is_same_v<T, std::int16_t> || std::is_same_v<T, std::uint16_t>) {
                    reader.Require(at, 2, field.name.data());
                    StoreU16(resource, at, static_cast<std::uint16_t>(sim.*member));
                } else if constexpr (std::is_same_v<T, Guid4>) {
                    reader.Require(at, 4, field.name.data());
                    std::memcpy(resource.data() + at, (sim.*member).data(), 4);
                }
            },
            field.member);
    }
    // The sim's place in a business is the career change's to set (`SetCareer`): it is written
    // only when the career changed since the load, as the change left it.
    if (sim.careerGuid == sim.careerGuidAtLoad) return;
    for (const CharacterField& field : CharacterFields()) {
        if (!Carried(field, index) || field.writeback != Writeback::Business) continue;
        const std::size_t at = FieldOffset(field, version);
        if (const auto* member = std::get_if<std::int16_t Character::*>(&field.member)) {
            reader.Require(at, 2, field.name.data());
            StoreU16(resource, at, static_cast<std::uint16_t>(sim.**member));
        }
    }
}

}  // namespace

void WriteCharacterDescription(std::span<const std::uint8_t> stored, std::span<const Character> characters,
                               Bytes& out) {
    // Patched on a copy: a resource too short for its version's fields throws before anything is
    // appended.
    Bytes resource(stored.begin(), stored.end());
    for (const Character& sim : characters) Patch(resource, sim);
    out.insert(out.end(), resource.begin(), resource.end());
}

void WriteCharacterDescription(std::span<const std::uint8_t> stored, const Character& sim, Bytes& out) {
    WriteCharacterDescription(stored, std::span<const Character>(&sim, 1), out);
}

}  // namespace qh
