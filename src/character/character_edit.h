// Changing a sim's record by field name, as the command-line tool and the data panels do.
#pragma once

#include <string>
#include <string_view>

#include "character/character.h"

namespace qh {

// Sets the named field from text: a decimal number for a word (within the word's range), eight
// hexadecimal digits for a 4-byte GUID (first stored byte first), the text itself for names and
// colours, and marks the sim changed. A rule-governed field (CharacterField::rule) is set through
// its rule, as its control on the panel sets it: `gender` also sets the gender property,
// `lifeStage` takes a stage of the sim's list and sets the age property, `locoWeight0` and
// `locoWeight1` keep adding up to 100, `zodiac` sets the personality, `youngAdult` the age
// property. `hasPets` tells which life-stage list a pet has. Returns an empty string, or why the
// value was refused (unknown or read-only field, value out of range, a value its rule does not
// take, naming the option that sets it).
std::string SetCharacterField(Character& sim, std::string_view name, std::string_view value, bool hasPets = false);

}  // namespace qh
