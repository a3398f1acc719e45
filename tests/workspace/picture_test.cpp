#include "workspace/picture.h"

#include <gtest/gtest.h>

#include "fixture/jpeg_writer.h"
#include "platform/errors.h"

namespace qh {
namespace {

Bitmap Filled(int w, int h, std::uint8_t b, std::uint8_t g, std::uint8_t r) {
    Bitmap bitmap = Bitmap::Create(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            auto* p = bitmap.Pixel(x, y);
            p[0] = b, p[1] = g, p[2] = r;
        }
    }
    return bitmap;
}

TEST(BoxScale, AveragesBlocksWithTheFixedPointFactor) {
    // 256 -> 128: 2 x 2 blocks. Red 10, 20, 30, 40 gives (100 * 16383) >> 16 = 24.
    Bitmap source = Filled(256, 256, 0, 0, 0);
    source.Pixel(0, 0)[2] = 10;
    source.Pixel(1, 0)[2] = 20;
    source.Pixel(0, 1)[2] = 30;
    source.Pixel(1, 1)[2] = 40;
    const Bitmap target = ScaleToSquare(source, 128);
    ASSERT_EQ(target.width, 128);
    ASSERT_EQ(target.height, 128);
    EXPECT_EQ(target.Pixel(0, 0)[2], 24);  // an edge pixel: never sharpened
    // A flat area stays flat, the fixed-point factor rounding down (255 * 4 * 16383 >> 16 = 254).
    const Bitmap white = ScaleToSquare(Filled(256, 256, 255, 255, 255), 128);
    EXPECT_EQ(white.Pixel(64, 64)[0], 254);
}

TEST(BoxScale, SharpensInPlaceAboveTwoPixelsHigh) {
    Bitmap source = Filled(3, 3, 0, 0, 0);
    source.Pixel(1, 1)[1] = 80;
    source.Pixel(0, 0)[1] = 40;
    const Bitmap out = BoxScale(source, 3, 3);
    // Blocks of one pixel: values times 65535 >> 16 lose one; then (12 * 79 - 39) / 8 = 113.
    EXPECT_EQ(out.Pixel(1, 1)[1], 113);
    EXPECT_EQ(out.Pixel(0, 0)[1], 39);
    Bitmap negative = Filled(3, 3, 200, 0, 0);
    negative.Pixel(1, 1)[0] = 0;
    EXPECT_EQ(BoxScale(negative, 3, 3).Pixel(1, 1)[0], 0);  // clamped, not wrapped

    Bitmap flat = Filled(4, 2, 0, 0, 0);
    flat.Pixel(1, 0)[2] = 100;
    const Bitmap twoHigh = BoxScale(flat, 4, 2);
    EXPECT_EQ(twoHigh.Pixel(1, 0)[2], 99);  // not sharpened
}

TEST(ScaleToSquare, SmallSourcesAreCopiedAndLopsidedOnesStretched) {
    const Bitmap small = Filled(100, 80, 1, 2, 3);
    EXPECT_EQ(ScaleToSquare(small, 128), small);
    // Wider than S, lower than S: the rows are stretched, no block is empty.
    const Bitmap wide = Filled(300, 50, 9, 9, 9);
    const Bitmap out = ScaleToSquare(wide, 128);
    EXPECT_EQ(out.width, 128);
    EXPECT_EQ(out.height, 128);
    EXPECT_EQ(out.Pixel(127, 127)[0], 8);
}

TEST(ScaleToFit, ShrinksKeepingTheTargetsProportions) {
    Bitmap out = ScaleToFit(Filled(2000, 1000, 0, 0, 0), 400, 300);
    EXPECT_EQ(out.width, 400);
    EXPECT_EQ(out.height, 300);
    out = ScaleToFit(Filled(600, 150, 0, 0, 0), 400, 300);
    EXPECT_EQ(out.width, 200);
    EXPECT_EQ(out.height, 150);
    out = ScaleToFit(Filled(300, 1000, 0, 0, 0), 400, 300);
    EXPECT_EQ(out.width, 300);
    EXPECT_EQ(out.height, 225);
    const Bitmap fits = Filled(400, 300, 5, 5, 5);
    EXPECT_EQ(ScaleToFit(fits, 400, 300), fits);
    out = ScaleToFit(Filled(5000, 1, 0, 0, 0), 100, 300);
    EXPECT_GE(out.width, 1);
    EXPECT_EQ(out.height, 1);
}

TEST(GreyPicture, WeightsChannelsAndKeepsGreys) {
    Bitmap picture = Filled(2, 1, 0, 0, 0);
    auto* grey = picture.Pixel(0, 0);
    grey[0] = grey[1] = grey[2] = 123;
    auto* red = picture.Pixel(1, 0);
    red[2] = 255;
    GreyPicture(picture);
    EXPECT_EQ(picture.Pixel(0, 0)[0], 123);
    EXPECT_EQ(picture.Pixel(1, 0)[0], (77 * 255) >> 8);
    EXPECT_EQ(picture.Pixel(1, 0)[1], picture.Pixel(1, 0)[2]);
}

TEST(Pictures, JpegAndPngRoundTripAndDamagedFilesThrow) {
    Bitmap source = Filled(40, 30, 10, 120, 240);
    const Bytes jpeg = fixture::EncodeJpeg(source);
    EXPECT_TRUE(IsJfif(jpeg));
    const Bitmap decoded = DecodePicture(jpeg);
    EXPECT_EQ(decoded.width, 40);
    EXPECT_EQ(decoded.height, 30);
    EXPECT_NEAR(decoded.Pixel(20, 15)[2], 240, 6);

    const Bytes png = EncodePng(source);
    EXPECT_EQ(DecodePicture(png), source);

    Bytes truncated(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(jpeg.size() / 3));
    EXPECT_THROW(DecodeJpeg(Bytes{0xFF, 0xD8, 0xFF}), FormatError);
    EXPECT_THROW(DecodePng(Bytes(png.begin(), png.begin() + 40)), FormatError);
    EXPECT_THROW(DecodePicture(Bytes{'G', 'I', 'F', '8'}), FormatError);
    // A truncated JPEG decodes what is there (libjpeg pads the rest) or throws; it never crashes.
    try {
        DecodeJpeg(truncated);
    } catch (const FormatError&) {
    }
}

TEST(Pictures, AbsurdDeclaredSizesAreRefusedBeforeAllocation) {
    Bytes png = EncodePng(Filled(2, 2, 0, 0, 0));
    // IHDR width at 16, big-endian: 1,000,000 pixels wide (the checksum no longer matches,
    // which libpng only notices later).
    png[16] = 0x00, png[17] = 0x0F, png[18] = 0x42, png[19] = 0x40;
    EXPECT_THROW(DecodePng(png), FormatError);

    Bytes bmp(54, 0);
    bmp[0] = 'B', bmp[1] = 'M';
    bmp[10] = 54;
    bmp[18] = 0xFF, bmp[19] = 0xFF, bmp[20] = 0xFF, bmp[21] = 0x7F;  // two billion wide
    bmp[22] = 1;
    bmp[28] = 24;
    EXPECT_THROW(DecodeBmp(bmp), FormatError);
    bmp[18] = 2, bmp[19] = 0, bmp[20] = 0, bmp[21] = 0;
    bmp[22] = 2;
    EXPECT_THROW(DecodeBmp(bmp), FormatError);  // no pixel data
    bmp.resize(54 + 16, 7);
    const Bitmap small = DecodeBmp(bmp);
    EXPECT_EQ(small.width, 2);
    EXPECT_EQ(small.Pixel(1, 1)[0], 7);
}

}  // namespace
}  // namespace qh
