// Four-byte GUIDs and the ways the program writes them.
//
// The game identifies sims, careers, schools and objects by 4-byte GUIDs. A sim description keeps
// them as raw bytes; the neighborhood data and object definitions keep them as little-endian
// numbers. The same GUID is therefore written three ways, and each place that shows one says
// which:
//   StoredBytes  the four bytes in stored order, two upper-case hex digits each ("78563412" for
//                the number 0x12345678): the program's key of a GUID (`GuidKey`), the CLI's form of
//                a description's GUID fields, the outfit source GUID label.
//   Number       the little-endian number in eight upper-case hex digits ("12345678"): item GUIDs
//                of the neighborhood data, object GUIDs, instance ids.
//   WordSwapped  the bytes second, first, fourth, third ("56781234"): the sim's GUID on the
//                Character panel, as the game's own tools show it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qh {

using Guid4 = std::array<std::uint8_t, 4>;

enum class GuidFormat { StoredBytes, Number, WordSwapped };

std::string FormatGuid(const Guid4& guid, GuidFormat format);
// Exactly eight hexadecimal digits (either case) in the format; nothing otherwise.
std::optional<Guid4> ParseGuid(std::string_view text, GuidFormat format);

// The program's key of a GUID: its StoredBytes form, compared as text.
inline std::string GuidKey(const Guid4& guid) { return FormatGuid(guid, GuidFormat::StoredBytes); }
// The four bytes read as a little-endian number (the game's GUID value), and back.
std::uint32_t GuidValue(const Guid4& guid);
Guid4 GuidFromValue(std::uint32_t value);

// A 32-bit number (a type or instance id, an item GUID) as eight upper-case hex digits.
std::string HexId(std::uint32_t value);
// Up to eight hexadecimal digits, with or without "0x"; nothing otherwise.
std::optional<std::uint32_t> ParseHexNumber(std::string_view text);

}  // namespace qh
