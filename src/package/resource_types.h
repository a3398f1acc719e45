// Every resource type id the program reads or writes, in one place.
//
// A package names each resource by a 32-bit type id; these are the game's own values. Readers,
// writers, the demo generator and the tests all take them from here, so a type is never spelled
// twice.
#pragma once

#include <cstdint>

namespace qh {

// The package's own directory of compressed entries.
inline constexpr std::uint32_t kCompressedDirectoryType = 0xE86B1EEF;

// Text lists: STR# (names, descriptions) and CTSS (catalogue texts: a sim's or a neighborhood's
// name and description).
inline constexpr std::uint32_t kTextListType = 0x53545223;
inline constexpr std::uint32_t kCatalogTextType = 0x43545353;

// Binary property sets: version information and a sim's own properties (age, gender, colours).
inline constexpr std::uint32_t kVersionInfoType = 0xEBFEE342;
inline constexpr std::uint32_t kSimPropertiesType = 0xAC598EAC;

// Lots and objects.
inline constexpr std::uint32_t kLotDescriptionType = 0x0BF999E7;
inline constexpr std::uint32_t kObjectDefinitionType = 0x4F424A44;  // OBJD

// The neighborhood package's records.
inline constexpr std::uint32_t kNeighborhoodDataType = 0x4E474248;  // NGBH
inline constexpr std::uint32_t kSimDescriptionType = 0xAACE2EFB;
inline constexpr std::uint32_t kHouseholdType = 0x46414D49;  // FAMI
inline constexpr std::uint32_t kRelationshipType = 0xCC364C2A;
inline constexpr std::uint32_t kFamilyTiesType = 0x8C870743;
inline constexpr std::uint32_t kGeneticRecordType = 0xEBFEE33F;

// A character package's pictures (JPEG thumbnails) and its body resource.
inline constexpr std::uint32_t kPictureType = 0x856DDBAC;
inline constexpr std::uint32_t kBodyResourceType = 0xCCCEF852;

// The resources that make up a sim's body in its character package: its property set (age,
// gender, colours), the body resource and the meshes, materials and references that draw it. A
// sim takes another's appearance by taking all of them together.
inline constexpr std::uint32_t kBodyTypes[] = {kSimPropertiesType, 0xAC506764, 0xEBCF3E27, kBodyResourceType, 0xAC4F8687,
                                               0x7BA3838C,         0x49596978, 0xE519C933, 0xFC6EB1F7};
inline constexpr bool IsBodyType(std::uint32_t type) {
    for (std::uint32_t body : kBodyTypes) {
        if (body == type) return true;
    }
    return false;
}

// A section of a clone file (the letters "KLON" as a little-endian word); its group id says which.
inline constexpr std::uint32_t kCloneSectionType = 0x4B4C4F4E;

}  // namespace qh
