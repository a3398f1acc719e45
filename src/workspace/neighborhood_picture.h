// Replacing a neighborhood's picture with a picture file of the player's.
#pragma once

#include <filesystem>

namespace qh {

// The PNG picture beside the neighborhood package: <folder>/<P>/<P>_Neighborhood.png.
std::filesystem::path NeighborhoodPicturePath(const std::filesystem::path& neighborhoodFolder, const std::string& prefix);

// Reads a PNG, JPEG or BMP file, fits it within 400 x 300 and writes it as the neighborhood's
// PNG picture at once. A file that cannot be read as a picture throws (FormatError or IoError
// naming it) and the neighborhood's picture is left as it was.
void ReplaceNeighborhoodPicture(const std::filesystem::path& picture, const std::filesystem::path& source);

}  // namespace qh
