// Every field of Character by its name, with where it lives in the sim description resource.
//
// The description resource (0xAACE2EFB) is a block of fixed-position little-endian values whose
// layout grew with the expansion packs; a format version word at offset 4 tells which blocks it
// carries. This one table drives the reader, the writer, the JSON dump and field edits by name.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "character/character.h"

namespace qh {

// The eight format versions the program knows, in the game's order.
inline constexpr std::uint16_t kDescriptionVersions[8] = {0x20, 0x22, 0x29, 0x2A, 0x2C, 0x2F, 0x33, 0x36};
// Index 0..7 of a known version, or -1.
int DescriptionVersionIndex(std::uint16_t version);
// Where each version stores the sim's GUID.
std::uint16_t DescriptionGuidPosition(std::uint16_t version);

using FieldMember = std::variant<std::int16_t Character::*, std::uint16_t Character::*,
                                 Guid4 Character::*, std::string Character::*,
                                 std::uint32_t Character::*, std::uint8_t Character::*>;

// Bit masks over the eight versions (bit i = kDescriptionVersions[i]).
inline constexpr std::uint8_t kAllVersions = 0xFF;
inline constexpr std::uint8_t kNotFirst = 0xFE;       // all but 0x20
inline constexpr std::uint8_t kFrom29 = 0xFC;
inline constexpr std::uint8_t kFrom2A = 0xF8;
inline constexpr std::uint8_t kFrom2C = 0xF0;
inline constexpr std::uint8_t kFrom2F = 0xE0;
inline constexpr std::uint8_t kFrom33 = 0xC0;
inline constexpr std::uint8_t kOnly36 = 0x80;

enum class Writeback {
    Always,   // written for every version that carries it
    Never,    // read only
    Business  // written only by the career-change rule
};

struct CharacterField {
    std::string_view name;
    FieldMember member;
    // Position in the description resource; 0 for fields that come from elsewhere. A field at
    // the GUID position has `atGuidPosition` set instead.
    std::uint16_t offset = 0;
    std::uint8_t versions = 0;
    Writeback writeback = Writeback::Always;
    bool atGuidPosition = false;
};

// Every field in the record's order.
std::span<const CharacterField> CharacterFields();
const CharacterField* FindCharacterField(std::string_view name);

// The fields the player's edit changed between two states of a sim, each "name: old → new" in
// the table's order (text fields quoted, GUIDs in hexadecimal); the program's own marks (the
// change mark, the rebuild and clone marks) are not the player's and are left out.
std::vector<std::string> FieldDifferences(const Character& before, const Character& after);

// Whether the format of the sim's description has the field: a word a format lacks is never
// written, so a control over it would change nothing.
bool FieldStored(const Character& sim, std::string_view name);

}  // namespace qh
