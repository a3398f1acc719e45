// Lot descriptions and the game's object catalogue.
//
// Lot description (0x0BF999E7), as read: the lot type byte at 12; at 19 a u32 name length and the
// name (UTF-8); then a u32 description length and the description.
// Object definition (OBJD, 0x4F424A44): the object's name from 0 up to the first zero byte within
// 64 bytes, its GUID as a u32 at 92.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <optional>
#include <string>
#include <vector>

#include "package/index.h"
#include "package/resource_types.h"
#include "platform/progress.h"
#include "platform/reporter.h"

namespace qh {

struct LotDesc {
    std::uint32_t lotId = 0;    // the resource's instance id: the number households refer to
    std::string lotFile;        // the package it was read from, at most 28 characters
    std::uint8_t lotType = 0;
    std::string lotName;        // UTF-8, trimmed
    std::string lotDescription;
};

// "Residential Lot" ... "Hobby Lot" for types 0 to 7; empty for any other.
const char* LotTypeText(std::uint8_t lotType);

// Reads a lot description; a resource too short for what it declares throws FormatError.
LotDesc ReadLotDescription(std::span<const std::uint8_t> bytes, const IndexEntry& entry,
                           const std::string& packageName);

// The name of the business lot a sim works on: the first lot description whose id is the sim's
// business lot (the stored 16-bit word widened with its sign); nothing when no lot has it.
std::optional<std::string> BusinessLotName(const std::vector<LotDesc>& lots, std::int16_t businessLot);

struct OBJd {
    std::uint32_t objectGuid = 0;
    std::string objectName;
};

OBJd ReadObjectDefinition(std::span<const std::uint8_t> bytes);

// Every OBJD of the object package. A missing package gives an empty catalogue silently; an
// empty index reports "An Index Error was found in Objects Package". Unreadable files and
// malformed resources throw FormatError or IoError naming the file.
std::vector<OBJd> LoadObjectCatalogue(const std::filesystem::path& objectsPackagePath,
                                      Reporter& reporter, Progress& progress);

}  // namespace qh
