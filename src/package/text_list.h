// Text lists: the STR# (0x53545223) and CTSS (0x43545353) resources that carry the names the
// player sees, one entry per language.
//
// Layout (little-endian): 64 bytes of the resource's own name (never read; written as zeros),
// the code 0xFD 0xFF, a u16 entry count, then entries: a language id byte, the value up to a zero
// byte (UTF-8), the description up to a zero byte.
//
//   CTSS of a neighborhood package:  0 neighborhood name, 1 description
//   CTSS of a character package:     0 first name, 1 description, 2 last name
//   STR# of a household:             0 household name, 1 description
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "package/resource_types.h"
#include "platform/file_io.h"

namespace qh {

struct TextEntry {
    std::uint8_t language = 1;
    std::string value;
    std::string description;
};

struct TextList {
    std::vector<TextEntry> entries;
    std::size_t entriesEnd = 0;  // where the last entry ends; anything after it is kept as it is
};

// Every entry of a text list, or nothing when the 0xFD 0xFF code is missing. Truncated entries
// throw FormatError.
std::optional<TextList> ParseTextList(std::span<const std::uint8_t> bytes);

// The language rule: the k-th entry of language 1 gives string k, then the k-th non-empty entry
// of `languageCode` replaces it, values trimmed of blanks and control characters. Strings the
// list does not supply (no 0xFD 0xFF code, too few entries) keep what the caller had in them.
void ReadTextList(std::span<const std::uint8_t> bytes, int languageCode, std::span<std::string> strings);

// The language rule on an already parsed list.
void ApplyLanguageRule(const TextList& list, int languageCode, std::span<std::string> strings);

enum class TextListLayout {
    // Neighborhood CTSS and household STR#: name and description under language 1, and once
    // more under `languageCode` when that is not 1.
    NameAndDescription,
    // Character CTSS: for every language id 1 to 44 first name, description, last name, the
    // strings empty but for language 1 and `languageCode`.
    Character,
};

// Appends a text list in the given layout; every entry gets an empty description. Every other
// language's entries of an old list are not kept: the game fills them from language 1.
void WriteTextList(Bytes& out, std::span<const std::string> strings, TextListLayout layout,
                   int languageCode);

// What a save makes of a stored text list so that it reads back as `strings` under
// `languageCode`. Returns false, appending nothing, when it reads so already: the caller carries
// it byte for byte. Otherwise appends the stored list with only the entries of the language being
// written changed (the k-th entry of `languageCode` takes string k, appended when the list has
// none), and every other entry, the list's own name and anything after the entries kept byte for
// byte: other languages' names are the player's too. An empty string under another language
// than 1 would read back as the English text, so the English entry takes it as well. A list that
// cannot be parsed is written anew in `layout` when any string is not empty.
bool UpdateTextList(std::span<const std::uint8_t> stored, std::span<const std::string> strings,
                    TextListLayout layout, int languageCode, Bytes& out);

// Trims bytes of blanks and control characters (0x00 to 0x20 and 0x7F) at both ends.
std::string TrimText(std::string_view text);

// Decodes the game's UTF-8 for display: one- to four-byte sequences; a byte that does not start
// a valid sequence, or a sequence cut short, shows as U+FFFD and decoding goes on with the next
// byte, so the rest of a name is never lost.
std::u32string DecodeUtf8(std::string_view text);
// The same as valid UTF-8 text.
std::string ToValidUtf8(std::string_view text);

}  // namespace qh
