// The sim description resource (0xAACE2EFB) of the neighborhood package.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "character/character.h"
#include "package/resource_types.h"
#include "platform/file_io.h"

namespace qh {

// The two careers of owned businesses: a change to any other career clears the business lot and
// rank.
inline constexpr const char* kOwnedBusinessCareers[2] = {"0A408FD0", "1FD96B31"};

// The GUID a description stores at its version's position, or nothing for a version the program
// does not know. A resource too short for its GUID throws FormatError.
std::optional<Guid4> StoredDescriptionGuid(std::span<const std::uint8_t> bytes);

// Fills the description fields of a sim whose simGuid is set. Returns false when the resource is
// not this sim's, or is of a version the program does not know (StoredDescriptionGuid says which).
// A resource shorter than its version's fields throws FormatError. Clears `dirty`.
bool ReadCharacterDescription(std::span<const std::uint8_t> stored, Character& sim);

// Appends the stored description as it becomes for the dirty sims among `characters` whose GUID
// it stores: every writable field the version carries, and the business block when the career
// changed since the load (as the career change set it). Read-only fields are never written; an
// unknown version, and a resource no dirty sim owns, are appended as they are. A resource too
// short for its version's fields throws FormatError, appending nothing. The model is never
// changed here.
void WriteCharacterDescription(std::span<const std::uint8_t> stored, std::span<const Character> characters, Bytes& out);
// The same for one sim.
void WriteCharacterDescription(std::span<const std::uint8_t> stored, const Character& sim, Bytes& out);

}  // namespace qh
