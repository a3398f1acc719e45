#include "package/qfs.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/errors.h"

namespace qh {

bool HasQfsSignature(std::span<const std::uint8_t> stored) {
    return stored.size() >= kQfsHeaderSize && stored[4] == 0x10 && stored[5] == 0xFB;
}

bool IsQfsCompressed(std::span<const std::uint8_t> stored) {
    return HasQfsSignature(stored) && QfsDeclaredLength(stored) != stored.size();
}

std::size_t QfsDeclaredLength(std::span<const std::uint8_t> stored) {
    return static_cast<std::size_t>(stored[6]) << 16 | static_cast<std::size_t>(stored[7]) << 8 |
           stored[8];
}

namespace {

[[noreturn]] void Truncated(std::size_t at, const char* what) {
    throw FormatError(std::string("Compressed data ends inside ") + what + " at byte " +
                      std::to_string(at));
}

}  // namespace

void DecodeQfs(std::span<const std::uint8_t> stored, std::size_t limit, Bytes& out) {
    const std::uint8_t* in = stored.data();
    const std::size_t end = stored.size();
    std::size_t pos = kQfsHeaderSize;

    // Decode straight into the destination: grow it once to the most it may hold and trim at the
    // end, so the hot loop does no bounds bookkeeping beyond its own counters.
    // No stream can produce more than 1028 bytes for each of its 4-byte codes: memory is never
    // set aside beyond what the stored bytes could possibly decode to, whatever they declare.
    const std::size_t codeBytes = end > kQfsHeaderSize ? end - kQfsHeaderSize : 0;
    limit = std::min(limit, codeBytes * 258 + 8);
    const std::size_t base = out.size();
    // Slack past the end lets short copies move a fixed 16 or 32 bytes (one wide move each);
    // whatever lands beyond the bytes decoded so far is overwritten or trimmed.
    out.resize(base + limit + kQfsDecodeSlack);
    std::uint8_t* const dst = out.data() + base;
    std::size_t len = 0;

    while (pos < end) {
        const std::uint8_t b0 = in[pos++];
        std::size_t literal = 0;
        std::size_t length = 0;
        std::size_t distance = 0;
        bool last = false;
        if (b0 < 0x80) {
            if (pos + 1 > end) Truncated(pos, "a control code");
            const std::uint8_t b1 = in[pos];
            pos += 1;
            literal = b0 & 3u;
            length = ((b0 >> 2) & 7u) + 3;
            distance = ((b0 & 0x60u) << 3) + b1 + 1;
        } else if (b0 < 0xC0) {
            if (pos + 2 > end) Truncated(pos, "a control code");
            const std::uint8_t b1 = in[pos];
            const std::uint8_t b2 = in[pos + 1];
            pos += 2;
            literal = b1 >> 6;
            length = (b0 & 0x3Fu) + 4;
            distance = ((b1 & 0x3Fu) << 8) + b2 + 1;
        } else if (b0 < 0xE0) {
            if (pos + 3 > end) Truncated(pos, "a control code");
            const std::uint8_t b1 = in[pos];
            const std::uint8_t b2 = in[pos + 1];
            const std::uint8_t b3 = in[pos + 2];
            pos += 3;
            literal = b0 & 3u;
            length = ((b0 & 0x0Cu) << 6) + b3 + 5;
            distance = ((b0 & 0x10u) << 12) + (static_cast<std::size_t>(b1) << 8) + b2 + 1;
        } else if (b0 < 0xFC) {
            literal = ((b0 & 0x1Fu) << 2) + 4;
        } else if (b0 == 0xFC) {
            continue;
        } else {
            // The end code carries up to three literals, copied only when input remains.
            last = true;
            literal = pos < end ? (b0 & 3u) : 0;
        }

        if (literal > end - pos) Truncated(pos, "literal bytes");
        if (literal + length > limit - len) {
            throw FormatError("Compressed data goes on past its declared length of " + std::to_string(limit) +
                              " bytes");
        }

        if (literal <= 16 && end - pos >= 16) {
            std::memcpy(dst + len, in + pos, 16);
        } else {
            std::memcpy(dst + len, in + pos, literal);
        }
        pos += literal;
        len += literal;
        if (last) break;
        if (length == 0) continue;

        // Only this resource's own bytes may be referred to, never what precedes it in `out`.
        if (distance > len) {
            throw FormatError("Compressed data refers to " + std::to_string(distance) +
                              " bytes back with only " + std::to_string(len) + " decoded");
        }
        std::uint8_t* to = dst + len;
        const std::uint8_t* from = to - distance;
        if (distance >= 16 && length <= 16) {
            std::memcpy(to, from, 16);
        } else if (distance >= 32 && length <= 32) {
            std::memcpy(to, from, 32);
        } else if (distance >= length) {
            std::memcpy(to, from, length);
        } else if (distance == 1) {
            std::memset(to, *from, length);
        } else if (distance >= 8) {
            // Eight bytes at a time: each chunk's source lies wholly in what is already written.
            std::size_t i = 0;
            for (; i + 8 <= length; i += 8) std::memcpy(to + i, from + i, 8);
            for (; i < length; ++i) to[i] = from[i];
        } else {
            // Overlapping run: each byte may be one this very copy produced.
            for (std::size_t i = 0; i < length; ++i) to[i] = from[i];
        }
        len += length;
    }
    out.resize(base + len);
}

}  // namespace qh
