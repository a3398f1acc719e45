// Arbitrary bytes as a JPEG, PNG or BMP picture, then scaled as the lists do.
#include <cstdint>
#include <span>

#include "platform/errors.h"
#include "workspace/picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        qh::Bitmap picture = qh::DecodePicture(std::span<const std::uint8_t>(data, size));
        qh::Bitmap square = qh::ScaleToSquare(picture, 32);
        qh::GreyPicture(square);
        (void)qh::ScaleToFit(picture, 40, 30);
    } catch (const qh::FormatError&) {
    }
    return 0;
}
