// QFS (RefPack) decoding, the compression the game uses inside packages.
//
// A compressed resource's stored bytes are: a 4-byte compressed length (never read), the
// signature 0x10 0xFB, the uncompressed length as a 3-byte big-endian number, then control codes
// and literal bytes. Each control code copies some literal bytes from the input and then,
// except for the one-byte codes, repeats a run of the output already produced:
//
//   first byte   code bytes  literal            length                  distance
//   00..7F       2           b0&3               ((b0>>2)&7)+3           ((b0&0x60)<<3)+b1+1
//   80..BF       3           b1>>6              (b0&0x3F)+4             ((b1&0x3F)<<8)+b2+1
//   C0..DF       4           b0&3               ((b0&0x0C)<<6)+b3+5     ((b0&0x10)<<12)+(b1<<8)+b2+1
//   E0..FB       1           ((b0&0x1F)<<2)+4   -                       -
//   FC           1           -                  -                       -   (decoding goes on)
//   FD..FF       1           b0&3 if input remains, then decoding ends
//
// A run whose distance is shorter than its length repeats the last `distance` bytes, as if the
// bytes were copied one at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/file_io.h"

namespace qh {

inline constexpr std::size_t kQfsHeaderSize = 9;
// Decoding grows the destination by this much beyond the declared length while it works (and
// trims it after), so short copies can be single wide moves.
inline constexpr std::size_t kQfsDecodeSlack = 32;

// True when stored bytes carry the QFS signature and declare an uncompressed length that differs
// from the stored size; only then are they decoded. Anything else is content as it stands.
bool IsQfsCompressed(std::span<const std::uint8_t> stored);
// True when stored bytes start like a QFS stream (header size and signature), whatever length
// they declare.
bool HasQfsSignature(std::span<const std::uint8_t> stored);

// The uncompressed length declared in a QFS header (the caller checked IsQfsCompressed).
std::size_t QfsDeclaredLength(std::span<const std::uint8_t> stored);

// Decodes the control codes that follow the 9-byte header, appending to `out`. Decoding ends at
// an end code or when the stored bytes run out. At most `limit` bytes are produced: a code that
// would produce more (codes left over after the declared length) throws FormatError, as do a
// back-reference before the start of this resource's output (never into what `out` held
// before) and code or literal bytes past the end of the stored bytes.
void DecodeQfs(std::span<const std::uint8_t> stored, std::size_t limit, Bytes& out);

}  // namespace qh
