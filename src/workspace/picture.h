// Pictures: 24-bit bitmaps in memory, the box-filter scalers every list and panel uses, and
// decoding and encoding of the game's JPEG and PNG files.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/file_io.h"

namespace qh {

// Blue, green, red per pixel; rows padded to a multiple of 4 bytes, top row first.
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    static Bitmap Create(int width, int height);
    std::size_t Stride() const { return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3}; }
    std::uint8_t* Pixel(int x, int y) { return pixels.data() + Stride() * y + 3 * static_cast<std::size_t>(x); }
    const std::uint8_t* Pixel(int x, int y) const {
        return pixels.data() + Stride() * y + 3 * static_cast<std::size_t>(x);
    }
    bool Empty() const { return width == 0 || height == 0; }
    friend bool operator==(const Bitmap&, const Bitmap&) = default;
};

// The largest picture the program decodes: each side at most 16384 pixels and at most 100
// million pixels in all. Larger declared sizes are refused before anything is allocated.
inline constexpr int kMaxPictureSide = 16384;
inline constexpr std::uint64_t kMaxPicturePixels = 100'000'000;

// An S x S picture of the source (box filter, then sharpening), or a copy when the source is no
// larger than S either way. A source larger than S one way and smaller the other is stretched in
// the smaller direction: output rows or columns whose block would be empty take the one source
// row or column at their position.
Bitmap ScaleToSquare(const Bitmap& source, int size);

// A picture no larger than W x H that keeps the proportions W : H (shrunk by h/H, then by w/W,
// whichever is below 1), or a copy when the source already fits.
Bitmap ScaleToFit(const Bitmap& source, int width, int height);

// Box-filter scaling to exactly W x H with the sharpening pass (above 2 pixels high).
Bitmap BoxScale(const Bitmap& source, int width, int height);

// Grey in place: g = (77 red + 151 green + 28 blue) >> 8.
void GreyPicture(Bitmap& picture);

// Decoders; damaged, truncated or absurdly large pictures throw FormatError.
Bitmap DecodeJpeg(std::span<const std::uint8_t> bytes);
Bitmap DecodePng(std::span<const std::uint8_t> bytes);
Bitmap DecodeBmp(std::span<const std::uint8_t> bytes);
// By the file's signature: JPEG, PNG or BMP.
Bitmap DecodePicture(std::span<const std::uint8_t> bytes);

// True for the start of a JFIF file as the game stores sim pictures: FF D8 FF E0.
bool IsJfif(std::span<const std::uint8_t> bytes);

// A 24-bit PNG file of the picture.
Bytes EncodePng(const Bitmap& picture);

}  // namespace qh
