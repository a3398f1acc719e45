#include "workspace/picture.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>

#include <jpeglib.h>
#include <png.h>

#include "package/byte_reader.h"
#include "platform/errors.h"

namespace qh {

Bitmap Bitmap::Create(int width, int height) {
    Bitmap bitmap;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.pixels.assign(bitmap.Stride() * static_cast<std::size_t>(height), 0);
    return bitmap;
}

namespace {

bool SizeAllowed(std::uint64_t width, std::uint64_t height) {
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPicturePixels;
}

[[noreturn]] void RefuseSize(std::uint64_t width, std::uint64_t height, const char* kind) {
    throw FormatError(std::string(kind) + " picture of " + std::to_string(width) + " x " + std::to_string(height) +
                      " pixels is not one the program can show");
}

void CheckSize(std::uint64_t width, std::uint64_t height, const char* kind) {
    if (!SizeAllowed(width, height)) RefuseSize(width, height, kind);
}

// The source blocks of output position i of n over a source of m: [begin, end).
struct Span {
    int begin;
    int end;
};
std::vector<Span> Blocks(int source, int target) {
    std::vector<Span> blocks(static_cast<std::size_t>(target));
    for (int i = 0; i < target; ++i) {
        int begin = static_cast<int>(static_cast<std::int64_t>(i) * source / target);
        int end = static_cast<int>(static_cast<std::int64_t>(i + 1) * source / target);
        if (end == begin) end = std::min(begin + 1, source);  // an empty block: the pixel there
        if (begin >= source) begin = source - 1, end = source;
        blocks[static_cast<std::size_t>(i)] = {begin, end};
    }
    return blocks;
}

void Sharpen(Bitmap& b) {
    if (b.height <= 2) return;
    for (int y = 1; y < b.height - 1; ++y) {
        for (int x = 1; x < b.width - 1; ++x) {
            std::uint8_t* centre = b.Pixel(x, y);
            const std::uint8_t* ul = b.Pixel(x - 1, y - 1);
            const std::uint8_t* ur = b.Pixel(x + 1, y - 1);
            const std::uint8_t* dl = b.Pixel(x - 1, y + 1);
            const std::uint8_t* dr = b.Pixel(x + 1, y + 1);
            for (int c = 0; c < 3; ++c) {
                const int v = (12 * centre[c] - (ul[c] + ur[c] + dl[c] + dr[c])) / 8;
                centre[c] = static_cast<std::uint8_t>(std::clamp(v, 0, 255));
            }
        }
    }
}

}  // namespace

Bitmap BoxScale(const Bitmap& source, int width, int height) {
    if (source.Empty() || width <= 0 || height <= 0) return Bitmap::Create(std::max(width, 0), std::max(height, 0));
    Bitmap target = Bitmap::Create(width, height);
    const auto columns = Blocks(source.width, width);
    const auto rows = Blocks(source.height, height);
    for (int y = 0; y < height; ++y) {
        const Span row = rows[static_cast<std::size_t>(y)];
        for (int x = 0; x < width; ++x) {
            const Span column = columns[static_cast<std::size_t>(x)];
            std::uint32_t sum[3] = {0, 0, 0};
            for (int sy = row.begin; sy < row.end; ++sy) {
                const std::uint8_t* p = source.Pixel(column.begin, sy);
                for (int sx = column.begin; sx < column.end; ++sx, p += 3) {
                    sum[0] += p[0];
                    sum[1] += p[1];
                    sum[2] += p[2];
                }
            }
            const auto n = static_cast<std::uint32_t>((row.end - row.begin) * (column.end - column.begin));
            const std::uint64_t k = 65535 / n;
            std::uint8_t* out = target.Pixel(x, y);
            for (int c = 0; c < 3; ++c) out[c] = static_cast<std::uint8_t>((sum[c] * k) >> 16);
        }
    }
    Sharpen(target);
    return target;
}

Bitmap ScaleToSquare(const Bitmap& source, int size) {
    if (source.width <= size && source.height <= size) return source;
    return BoxScale(source, size, size);
}

Bitmap ScaleToFit(const Bitmap& source, int width, int height) {
    if (source.width <= width && source.height <= height) return source;
    std::int64_t w = width;
    std::int64_t h = height;
    if (source.height < h) {  // h / H below 1
        w = std::max<std::int64_t>(1, w * source.height / h);
        h = source.height;
    }
    if (source.width < w) {  // w / W below 1
        h = std::max<std::int64_t>(1, h * source.width / w);
        w = source.width;
    }
    return BoxScale(source, static_cast<int>(w), static_cast<int>(h));
}

void GreyPicture(Bitmap& picture) {
    for (int y = 0; y < picture.height; ++y) {
        std::uint8_t* p = picture.Pixel(0, y);
        for (int x = 0; x < picture.width; ++x, p += 3) {
            const auto g = static_cast<std::uint8_t>((77 * p[2] + 151 * p[1] + 28 * p[0]) >> 8);
            p[0] = p[1] = p[2] = g;
        }
    }
}

bool IsJfif(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 4 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF && bytes[3] == 0xE0;
}

namespace {

// libjpeg reports errors by calling error_exit, which by default ends the process: jump back
// out instead, keeping the message.
struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr info) {
    auto* error = reinterpret_cast<JpegError*>(info->err);
    (*info->err->format_message)(info, error->message);
    std::longjmp(error->jump, 1);
}

void JpegSilence(j_common_ptr, int) {}

}  // namespace

Bitmap DecodeJpeg(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) throw FormatError("JPEG picture is empty");
    jpeg_decompress_struct info{};
    JpegError error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = JpegErrorExit;
    error.manager.emit_message = JpegSilence;
    // Everything that must survive a jump back lives outside this frame's locals.
    auto bitmap = std::make_unique<Bitmap>();
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        throw FormatError(std::string("JPEG picture is damaged: ") + error.message);
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    if (!SizeAllowed(info.image_width, info.image_height)) {
        const auto w = info.image_width;
        const auto h = info.image_height;
        jpeg_destroy_decompress(&info);
        RefuseSize(w, h, "JPEG");
    }
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    *bitmap = Bitmap::Create(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = bitmap->Pixel(0, static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return std::move(*bitmap);
}

Bitmap DecodePng(std::span<const std::uint8_t> bytes) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
        throw FormatError(std::string("PNG picture is damaged: ") + image.message);
    }
    if (!SizeAllowed(image.width, image.height)) {
        const auto w = image.width;
        const auto h = image.height;
        png_image_free(&image);
        RefuseSize(w, h, "PNG");
    }
    image.format = PNG_FORMAT_BGR;
    Bitmap bitmap = Bitmap::Create(static_cast<int>(image.width), static_cast<int>(image.height));
    // Transparent pixels are composed onto white, as the window's background shows them.
    png_color white{255, 255, 255};
    if (!png_image_finish_read(&image, &white, bitmap.pixels.data(),
                               static_cast<png_int_32>(bitmap.Stride()), nullptr)) {
        const std::string message = image.message;
        png_image_free(&image);
        throw FormatError("PNG picture is damaged: " + message);
    }
    return bitmap;
}

Bitmap DecodeBmp(std::span<const std::uint8_t> bytes) {
    const ByteReader reader(bytes, "BMP picture");
    if (!reader.Has(0, 2) || bytes[0] != 'B' || bytes[1] != 'M') throw FormatError("not a BMP picture");
    const std::uint32_t dataOffset = reader.ReadU32(10, "pixel data offset");
    const auto width = static_cast<std::int32_t>(reader.ReadU32(18, "width"));
    const auto rawHeight = static_cast<std::int32_t>(reader.ReadU32(22, "height"));
    const std::uint16_t bits = reader.ReadU16(28, "bit count");
    const std::uint32_t compression = reader.ReadU32(30, "compression");
    if ((bits != 24 && bits != 32) || (compression != 0 && !(compression == 3 && bits == 32))) {
        throw FormatError("BMP picture of " + std::to_string(bits) +
                          " bits per pixel or compressed: only 24- and 32-bit pictures are read");
    }
    const bool bottomUp = rawHeight > 0;
    const std::int64_t height = bottomUp ? rawHeight : -static_cast<std::int64_t>(rawHeight);
    if (width <= 0) throw FormatError("BMP picture has no width");
    CheckSize(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height), "BMP");
    const std::size_t pixelBytes = bits / 8;
    const std::size_t stride = (static_cast<std::size_t>(width) * pixelBytes + 3) & ~std::size_t{3};
    reader.Require(dataOffset, stride * static_cast<std::size_t>(height), "pixel data");
    Bitmap bitmap = Bitmap::Create(width, static_cast<int>(height));
    for (int y = 0; y < bitmap.height; ++y) {
        const int sourceRow = bottomUp ? bitmap.height - 1 - y : y;
        const std::uint8_t* in = bytes.data() + dataOffset + stride * static_cast<std::size_t>(sourceRow);
        std::uint8_t* out = bitmap.Pixel(0, y);
        for (int x = 0; x < width; ++x, in += pixelBytes, out += 3) std::memcpy(out, in, 3);
    }
    return bitmap;
}

Bitmap DecodePicture(std::span<const std::uint8_t> bytes) {
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8) return DecodeJpeg(bytes);
    if (bytes.size() >= 8 && png_sig_cmp(bytes.data(), 0, 8) == 0) return DecodePng(bytes);
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return DecodeBmp(bytes);
    throw FormatError("not a JPEG, PNG or BMP picture");
}

Bytes EncodePng(const Bitmap& picture) {
    if (picture.Empty()) throw FormatError("cannot write an empty picture");
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(picture.width);
    image.height = static_cast<png_uint_32>(picture.height);
    image.format = PNG_FORMAT_BGR;
    png_alloc_size_t size = 0;
    const auto stride = static_cast<png_int_32>(picture.Stride());
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, picture.pixels.data(), stride, nullptr)) {
        throw FormatError(std::string("cannot encode PNG: ") + image.message);
    }
    Bytes out(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, picture.pixels.data(), stride, nullptr)) {
        throw FormatError(std::string("cannot encode PNG: ") + image.message);
    }
    out.resize(size);
    return out;
}

}  // namespace qh
