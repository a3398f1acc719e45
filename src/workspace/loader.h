// Loading one neighborhood into the in-memory model. Loading changes no file: the neighborhood
// package is expanded in memory only.
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "package/index.h"
#include "platform/file_io.h"
#include "platform/progress.h"
#include "platform/reporter.h"
#include "platform/settings.h"
#include "workspace/picture.h"
#include "workspace/model.h"
#include "workspace/neighborhood_catalogue.h"

namespace qh {

struct LoadOptions {
    int languageCode = 1;
    // How many character files the game handles in one neighborhood (CharacterLimit).
    std::size_t characterLimit = 32767;
    // The neighborhood's own folder when it is not <neighborhoods folder>/<prefix> (a backup).
    std::filesystem::path folder = {};
};

// What one pass over the expanded neighborhood package sees. Readers of the neighborhood's
// records (households, relationships, family ties, genetics, neighborhood data) are passes.
struct LoadContext {
    Workspace& workspace;
    Neighborhood& neighborhood;
    const PackageImage& image;
    const std::vector<IndexEntry>& entries;
    const LoadOptions& options;
    Reporter& reporter;
    Progress& progress;
    // The stored bytes of an entry of the image (nothing in the image is compressed).
    std::span<const std::uint8_t> Resource(const IndexEntry& entry) const;
};

// Replaces the workspace with the neighborhood and refreshes its record (name, description,
// version, dirty cleared). Skipped files are reported and left out; an error no step handles
// throws, leaving the workspace empty. Between its steps (each character file, each pass) the
// load stops with OperationCancelled when `progress` says the player cancelled, leaving the
// workspace empty too: nothing is written, so stopping harms nothing.
void LoadNeighborhood(Workspace& workspace, Neighborhood& neighborhood,
                      const std::filesystem::path& neighborhoodsFolder, const LoadOptions& options,
                      Reporter& reporter, Progress& progress);

// The sim's picture: its portrait read from its character package, decoded and made 128 pixels
// square, or nothing for the placeholder (no portrait, or one that can no longer be read or
// decoded).
std::optional<Bitmap> SimPortrait(const Workspace& workspace, const Character& sim);

// Reads one character package into a new record (names, GUID, properties, picture, body
// resource); nothing when its index is empty (after the index-error message). Throws on damage.
std::optional<Character> ReadCharacterPackage(const std::filesystem::path& path, const LoadOptions& options,
                                              Reporter& reporter);

}  // namespace qh
