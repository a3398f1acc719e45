// Changing a sim's record by field name, as the command-line tool and the data panels do.
#pragma once

#include <string>
#include <string_view>

#include "character/character.h"

namespace qh {

// Sets the named field from text: a decimal number for a word (within the word's range), eight
// hexadecimal digits for a 4-byte GUID (first stored byte first), the text itself for names and
// colours. Marks the sim changed; a life-stage change also marks its pictures out of date.
// Returns an empty string, or why the value was refused (unknown field, read-only field, value
// out of range).
std::string SetCharacterField(Character& sim, std::string_view name, std::string_view value);

}  // namespace qh
