// The sim description resource (0xAACE2EFB) of the neighborhood package.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "character/character.h"
#include "package/resource_types.h"
#include "platform/reporter.h"

namespace qh {

// The two careers of owned businesses: a change to any other career clears the business lot and
// rank.
inline constexpr const char* kOwnedBusinessCareers[2] = {"0A408FD0", "1FD96B31"};

// The GUID a description stores at its version's position, or nothing for a version the program
// does not know. A resource too short for its GUID throws FormatError.
std::optional<Guid4> StoredDescriptionGuid(std::span<const std::uint8_t> bytes);

// Fills the description fields of a sim whose simGuid is set. Returns false (after "Unknown
// Character Format" for a version the program does not know) when the resource is not this
// sim's. A resource shorter than its version's fields throws FormatError. Clears `dirty`.
bool ReadCharacterDescription(std::span<const std::uint8_t> bytes, Character& sim, Reporter& reporter);

// Patches a copied description resource in place from the dirty sim with its GUID, if any:
// every writable field the version carries, and the business block when the career changed
// since the load (as the career change set it). Read-only fields are never written; an unknown
// version is left as it is. The model is never changed here.
void WriteCharacterDescription(std::span<std::uint8_t> resource, std::span<const Character> characters);
// The same for one sim: nothing unless the resource stores its GUID and the sim is dirty.
void WriteCharacterDescription(std::span<std::uint8_t> resource, const Character& sim);

}  // namespace qh
