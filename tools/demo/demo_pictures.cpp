#include "demo_pictures.h"

#include <cmath>

namespace qh::demo {

namespace {

void Put(Bitmap& b, int x, int y, std::uint32_t rgb) {
    if (x < 0 || y < 0 || x >= b.width || y >= b.height) return;
    auto* p = b.Pixel(x, y);
    p[0] = static_cast<std::uint8_t>(rgb);
    p[1] = static_cast<std::uint8_t>(rgb >> 8);
    p[2] = static_cast<std::uint8_t>(rgb >> 16);
}

void Ellipse(Bitmap& b, int cx, int cy, int rx, int ry, std::uint32_t rgb) {
    for (int y = cy - ry; y <= cy + ry; ++y) {
        for (int x = cx - rx; x <= cx + rx; ++x) {
            const double dx = static_cast<double>(x - cx) / rx;
            const double dy = static_cast<double>(y - cy) / ry;
            if (dx * dx + dy * dy <= 1.0) Put(b, x, y, rgb);
        }
    }
}

void Rect(Bitmap& b, int x0, int y0, int x1, int y1, std::uint32_t rgb) {
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) Put(b, x, y, rgb);
    }
}

std::uint32_t Shade(std::uint32_t rgb, double factor) {
    auto channel = [&](int shift) {
        const double v = ((rgb >> shift) & 0xFF) * factor;
        return static_cast<std::uint32_t>(v > 255 ? 255 : v) << shift;
    };
    return channel(16) | channel(8) | channel(0);
}

}  // namespace

Bitmap DrawPortrait(const PortraitLook& look) {
    Bitmap b = Bitmap::Create(256, 256);
    for (int y = 0; y < 256; ++y) Rect(b, 0, y, 256, y + 1, Shade(look.background, 0.75 + y / 1024.0));
    Ellipse(b, 128, 270, 100, 70, Shade(look.background, 0.5));  // shoulders
    if (look.pet) {
        Ellipse(b, 80, 60, 26, 40, look.hair);
        Ellipse(b, 176, 60, 26, 40, look.hair);
    } else if (look.longHair) {
        Ellipse(b, 128, 130, 78, 95, look.hair);
    }
    Ellipse(b, 128, 120, 62, 74, look.skin);
    if (!look.pet) Ellipse(b, 128, 62, 64, 30, look.hair);
    Ellipse(b, 104, 118, 9, 7, 0xFFFFFF);
    Ellipse(b, 152, 118, 9, 7, 0xFFFFFF);
    Ellipse(b, 104, 119, 4, 4, 0x2A3040);
    Ellipse(b, 152, 119, 4, 4, 0x2A3040);
    Ellipse(b, 128, 160, 20, 6, Shade(look.skin, 0.7));
    if (look.pet) Ellipse(b, 128, 142, 8, 5, 0x302020);
    return b;
}

Bitmap DrawNeighborhood(unsigned seed) {
    Bitmap b = Bitmap::Create(256, 192);
    for (int y = 0; y < 192; ++y) Rect(b, 0, y, 256, y + 1, Shade(0x6FA8DC, 0.8 + y / 500.0));
    for (int x = 0; x < 256; ++x) {
        const int hill = 110 + static_cast<int>(18 * std::sin((x + seed * 37) / 31.0));
        Rect(b, x, hill, x + 1, 192, Shade(0x5E9E3A, 0.8 + ((x + seed) % 40) / 200.0));
    }
    Rect(b, 0, 150, 256, 162, 0x8A8580);
    const std::uint32_t roofs[] = {0xA0442F, 0x6B4F9E, 0x3E6F8E, 0xB88A2E};
    for (int i = 0; i < 5; ++i) {
        const int x = 20 + i * 46 + static_cast<int>((seed * 13 + i * 7) % 11);
        Rect(b, x, 128, x + 30, 150, 0xEFE6D2);
        for (int r = 0; r < 14; ++r) Rect(b, x - 2 + r, 114 + r, x + 32 - r, 115 + r, roofs[(i + seed) % 4]);
        Rect(b, x + 12, 138, x + 18, 150, 0x5A3A22);
    }
    Ellipse(b, 220, 36, 16, 16, 0xFFE38A);
    return b;
}

}  // namespace qh::demo
