// Binary property sets: small lists of named values.
//
// Layout (little-endian): magic 0xCBE750E0, two bytes not used, u32 entry count, then entries:
// u32 value type, u32 name length, the name (ASCII, not terminated), then the value:
//
//   0xEB61E4F7  4-byte unsigned integer ("age", "gender", "subtype")
//   0x0B8BEA18  u32 length and that many bytes of UTF-8 text ("skincolor", the version strings)
//   0xABC78708  4 bytes, taken as an integer where one is wanted
//
// No other value type has a known layout, so nothing after one can be located: reading stops
// there, keeping what came before, and the patcher never touches anything past it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "package/resource_types.h"
#include "platform/reporter.h"

namespace qh {

inline constexpr std::uint32_t kPropertySetMagic = 0xCBE750E0;
inline constexpr std::uint32_t kPropertyInteger = 0xEB61E4F7;
inline constexpr std::uint32_t kPropertyString = 0x0B8BEA18;
inline constexpr std::uint32_t kPropertyOther4 = 0xABC78708;

struct Property {
    std::uint32_t type = 0;
    std::string name;
    std::uint32_t integer = 0;  // 0 for strings
    std::string text;           // empty for integers; the bytes as stored
    std::size_t valueOffset = 0;  // where the value (a string's bytes, after its length) starts
};

struct PropertySet {
    std::vector<Property> properties;
    // Set when reading stopped at a value type of unknown layout; `properties` holds the entries
    // before it.
    std::optional<std::uint32_t> unknownType;
};

// The entries of a binary property set, or nothing when the magic is wrong. Entries that run past
// the end throw FormatError.
std::optional<PropertySet> ReadPropertySet(std::span<const std::uint8_t> bytes);

struct VersionProperties {
    std::string first;   // "0", decoded and trimmed
    std::string second;  // "1", decoded and trimmed
    bool secondFound = false;
    // "first - second" when "1" was found, else empty.
    std::string Text() const { return secondFound ? first + " - " + second : std::string(); }
};

// The version-information resource (0xEBFEE342).
VersionProperties ReadVersionProperties(std::span<const std::uint8_t> bytes);

// What the sim property set (0xAC598EAC) of a character package says of the sim.
struct SimProperties {
    std::int16_t ageProperty = -1;
    std::int16_t genderProperty = -1;
    std::string skinColor;  // 36-character GUID texts, as stored
    std::string hairColor;
    std::string eyeColor;
};

// Sets the fields the set carries; others keep their values (a later set overwrites an earlier).
void ReadSimProperties(std::span<const std::uint8_t> bytes, SimProperties& sim);

// Overwrites the stored colour strings of a copied sim property set in place with the sim's,
// where the sim's text is 36 characters long and the stored one is 36 bytes; reports "Data
// Length Mismatch (chSkinColor)" (chHairColor, chEyeColor) when the stored one is not. The size
// never changes.
void PatchSimProperties(std::span<std::uint8_t> bytes, const SimProperties& sim, Reporter& reporter);

}  // namespace qh
