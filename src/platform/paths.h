// Paths built from the game's names on file systems that care about letter case.
//
// The game (a Windows program) names its files without regard to case: "TSData\Res\Objects",
// "N001_Neighborhood.package". On Linux the real folders may be spelt "TSData/Res/objects", so
// every relative path the program builds from such names is matched component by component.
#pragma once

#include <filesystem>
#include <string_view>

namespace qh {

// Resolves `relative` (components separated by '\' or '/') under `base`: each component is taken
// as spelt when it exists, else the first directory entry that equals it without regard to case,
// else as spelt (so the result names a file that does not exist).
std::filesystem::path ResolveNoCase(const std::filesystem::path& base, std::string_view relative);

// A single name that stays where it is put: not empty, no '\' or '/', not "." or "..", no ':'
// (a drive on Windows). A neighborhood folder named otherwise would let a save write elsewhere.
bool IsPlainName(std::string_view name);

// A path as UTF-8 text, on every system (Windows' narrow strings are the ANSI code page).
std::string Utf8Text(const std::filesystem::path& path);

// Whether `path`, taken as spelt (lexically, ".." resolved), lies inside `folder`.
bool LiesInside(const std::filesystem::path& path, const std::filesystem::path& folder);

// Whether the path is a folder (following links); false for anything that cannot be looked at.
bool IsDirectory(const std::filesystem::path& path);

// Case-insensitive equality of ASCII letters; other bytes compare exactly.
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace qh
