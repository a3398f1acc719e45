// Changing a sim's record by field name, as the command-line tool and the data panels do.
#pragma once

#include <string>
#include <string_view>

#include "character/character.h"

namespace qh {

// Sets the named field from text as typed: a decimal number for a word (within the word's
// range), eight hexadecimal digits for a 4-byte GUID (first stored byte first), the text itself
// for names and colours, and marks the sim changed. No rule of a panel runs here: the workspace's
// field doors (`ApplyFieldAssignment`) decide which fields may be set so. Refused, with the
// reason: an unknown or read-only field, a value out of range, a description field of a sim
// without a description or one its description format does not keep.
std::string SetCharacterField(Character& sim, std::string_view name, std::string_view value);

}  // namespace qh
