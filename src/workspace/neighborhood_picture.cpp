#include "workspace/neighborhood_picture.h"

#include "platform/errors.h"
#include "platform/file_io.h"
#include "platform/paths.h"
#include "workspace/picture.h"

namespace qh {

std::filesystem::path NeighborhoodPicturePath(const std::filesystem::path& neighborhoodFolder, const std::string& prefix) {
    return ResolveNoCase(neighborhoodFolder, prefix + "_Neighborhood.png");
}

void ReplaceNeighborhoodPicture(const std::filesystem::path& picture, const std::filesystem::path& source) {
    Bitmap bitmap;
    try {
        bitmap = DecodePicture(ReadFileBytes(source));
    } catch (const FormatError& error) {
        throw FormatError(source.filename().string() + ": " + error.what());
    }
    AtomicReplace(picture, EncodePng(ScaleToFit(bitmap, 400, 300)));
}

}  // namespace qh
