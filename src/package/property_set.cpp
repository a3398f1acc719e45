#include "package/property_set.h"

#include <cstring>

#include "package/byte_reader.h"
#include "package/text_list.h"

namespace qh {

std::optional<PropertySet> ReadPropertySet(std::span<const std::uint8_t> bytes) {
    const ByteReader reader(bytes, "property set");
    if (!reader.Has(0, 4) || reader.ReadU32(0) != kPropertySetMagic) return std::nullopt;
    const std::uint32_t count = reader.ReadU32(6, "entry count");
    PropertySet set;
    ByteCursor in(bytes, "property set", 10);
    for (std::uint32_t i = 0; i < count; ++i) {
        Property property;
        property.type = in.U32("value type");
        const std::uint32_t nameLength = in.U32("name length");
        const auto name = in.Take(nameLength, "property name");
        property.name.assign(name.begin(), name.end());
        if (property.type == kPropertyInteger || property.type == kPropertyOther4) {
            property.valueOffset = in.at();
            property.integer = in.U32("integer value");
        } else if (property.type == kPropertyString) {
            const std::uint32_t length = in.U32("string length");
            property.valueOffset = in.at();
            const auto text = in.Take(length, "string value");
            property.text.assign(text.begin(), text.end());
        } else {
            set.unknownType = property.type;
            break;
        }
        set.properties.push_back(std::move(property));
    }
    return set;
}

VersionProperties ReadVersionProperties(std::span<const std::uint8_t> bytes) {
    VersionProperties version;
    const auto set = ReadPropertySet(bytes);
    if (!set) return version;
    for (const Property& p : set->properties) {
        if (p.name == "0") {
            version.first = TrimText(ToValidUtf8(p.text));
        } else if (p.name == "1") {
            version.second = TrimText(ToValidUtf8(p.text));
            version.secondFound = true;
        }
    }
    return version;
}

void ReadSimProperties(std::span<const std::uint8_t> bytes, SimProperties& sim) {
    const auto set = ReadPropertySet(bytes);
    if (!set) return;
    for (const Property& p : set->properties) {
        if (p.name == "age") {
            sim.ageProperty = static_cast<std::int16_t>(p.integer & 0xFFFF);
        } else if (p.name == "gender") {
            sim.genderProperty = static_cast<std::int16_t>(p.integer & 0xFFFF);
        } else if (p.name == "skincolor") {
            sim.skinColor = p.text;
        } else if (p.name == "haircolor") {
            sim.hairColor = p.text;
        } else if (p.name == "eyecolor") {
            sim.eyeColor = p.text;
        }
    }
}

void PatchSimProperties(std::span<std::uint8_t> bytes, const SimProperties& sim, Reporter& reporter) {
    const auto set = ReadPropertySet(bytes);
    if (!set) return;
    struct Colour {
        const char* name;
        const std::string& value;
        const char* message;
    };
    const Colour colours[] = {
        {"skincolor", sim.skinColor, "Data Length Mismatch (chSkinColor)"},
        {"haircolor", sim.hairColor, "Data Length Mismatch (chHairColor)"},
        {"eyecolor", sim.eyeColor, "Data Length Mismatch (chEyeColor)"},
    };
    for (const Property& p : set->properties) {
        if (p.type != kPropertyString) continue;
        for (const Colour& colour : colours) {
            if (p.name != colour.name || colour.value.size() != 36) continue;
            if (p.text.size() != 36) {
                reporter.Warning(colour.message);
                continue;
            }
            std::memcpy(bytes.data() + p.valueOffset, colour.value.data(), 36);
        }
    }
}

}  // namespace qh
