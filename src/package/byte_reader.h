// The one bounds-checked reader every parser goes through.
//
// The game's formats are little-endian and mostly fixed-position, so reads take absolute
// offsets. Any read that would pass the end throws FormatError naming what was being read;
// nothing reads memory it does not own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/errors.h"

namespace qh {

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes, std::string_view subject = "data")
        : bytes_(bytes), subject_(subject) {}

    std::size_t size() const { return bytes_.size(); }
    std::span<const std::uint8_t> bytes() const { return bytes_; }

    // True when [offset, offset + count) lies inside the bytes (overflow-safe).
    bool Has(std::size_t offset, std::size_t count) const {
        return offset <= bytes_.size() && count <= bytes_.size() - offset;
    }

    void Require(std::size_t offset, std::size_t count, std::string_view what) const {
        if (!Has(offset, count)) Fail(offset, count, what);
    }

    std::uint8_t ReadU8(std::size_t offset, std::string_view what = "byte") const {
        Require(offset, 1, what);
        return bytes_[offset];
    }
    std::uint16_t ReadU16(std::size_t offset, std::string_view what = "16-bit value") const {
        Require(offset, 2, what);
        return static_cast<std::uint16_t>(bytes_[offset] | bytes_[offset + 1] << 8);
    }
    std::int16_t ReadI16(std::size_t offset, std::string_view what = "16-bit value") const {
        return static_cast<std::int16_t>(ReadU16(offset, what));
    }
    std::uint32_t ReadU32(std::size_t offset, std::string_view what = "32-bit value") const {
        Require(offset, 4, what);
        return static_cast<std::uint32_t>(bytes_[offset]) |
               static_cast<std::uint32_t>(bytes_[offset + 1]) << 8 |
               static_cast<std::uint32_t>(bytes_[offset + 2]) << 16 |
               static_cast<std::uint32_t>(bytes_[offset + 3]) << 24;
    }
    std::span<const std::uint8_t> Slice(std::size_t offset, std::size_t count,
                                        std::string_view what = "bytes") const {
        Require(offset, count, what);
        return bytes_.subspan(offset, count);
    }

    [[noreturn]] void Fail(std::size_t offset, std::size_t count, std::string_view what) const {
        throw FormatError("Cannot read " + std::string(what) + " of " + subject_ + ": " +
                          std::to_string(count) + " bytes at offset " + std::to_string(offset) +
                          " pass the end (" + std::to_string(bytes_.size()) + " bytes)");
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::string subject_;
};

// Little-endian stores into a growing buffer, used by every writer.
template <typename Buffer>
void AppendU16(Buffer& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}
template <typename Buffer>
void AppendU32(Buffer& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}
inline void StoreU16(std::span<std::uint8_t> out, std::size_t offset, std::uint16_t value) {
    out[offset] = static_cast<std::uint8_t>(value);
    out[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}
inline void StoreU32(std::span<std::uint8_t> out, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace qh
