// The one bounds-checked reader every parser goes through.
//
// The game's formats are little-endian and mostly fixed-position, so reads take absolute
// offsets. Any read that would pass the end throws FormatError naming what was being read;
// nothing reads memory it does not own.
#pragma once

#include <algorithm>
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

// A reader that moves through the bytes, for formats that are read front to back (lists of
// items, property sets, text lists). Every read goes through ByteReader's checks.
class ByteCursor {
public:
    explicit ByteCursor(std::span<const std::uint8_t> bytes, std::string_view subject = "data", std::size_t at = 0)
        : reader_(bytes, subject), at_(at) {}

    const ByteReader& reader() const { return reader_; }
    std::size_t at() const { return at_; }
    void Seek(std::size_t at) { at_ = at; }
    bool AtEnd() const { return at_ >= reader_.size(); }

    std::uint8_t U8(std::string_view what = "byte") { return Advance(reader_.ReadU8(at_, what), 1); }
    std::uint16_t U16(std::string_view what = "16-bit value") { return Advance(reader_.ReadU16(at_, what), 2); }
    std::int16_t I16(std::string_view what = "16-bit value") { return Advance(reader_.ReadI16(at_, what), 2); }
    std::uint32_t U32(std::string_view what = "32-bit value") { return Advance(reader_.ReadU32(at_, what), 4); }
    std::span<const std::uint8_t> Take(std::size_t count, std::string_view what = "bytes") {
        return Advance(reader_.Slice(at_, count, what), count);
    }
    void Skip(std::size_t count, std::string_view what = "bytes") { (void)Take(count, what); }
    // Bytes up to the next zero byte, which is passed over; throws when there is none.
    std::string ZeroTerminated(std::string_view what = "text") {
        const auto rest = reader_.Slice(at_, reader_.size() - std::min(at_, reader_.size()), what);
        std::size_t end = 0;
        while (end < rest.size() && rest[end] != 0) ++end;
        if (end == rest.size()) reader_.Fail(at_, end + 1, what);
        std::string text(reinterpret_cast<const char*>(rest.data()), end);
        at_ += end + 1;
        return text;
    }

private:
    template <typename T>
    T Advance(T value, std::size_t count) {
        at_ += count;
        return value;
    }
    ByteReader reader_;
    std::size_t at_;
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

// The one checked writer: appends little-endian values to a buffer, and patches values it has
// already written (a count that is known only once the items are out). A patch outside what was
// written throws FormatError instead of writing past the end.
template <typename Buffer>
class ByteWriter {
public:
    explicit ByteWriter(Buffer& out) : out_(out) {}

    std::size_t size() const { return out_.size(); }
    void U8(std::uint8_t value) { out_.push_back(value); }
    void U16(std::uint16_t value) { AppendU16(out_, value); }
    void U32(std::uint32_t value) { AppendU32(out_, value); }
    void Append(std::span<const std::uint8_t> bytes) { out_.insert(out_.end(), bytes.begin(), bytes.end()); }
    void Text(std::string_view text) { out_.insert(out_.end(), text.begin(), text.end()); }
    // Writes a zero placeholder and returns where it stands, for PatchU32.
    std::size_t PlaceholderU32() {
        const std::size_t at = out_.size();
        U32(0);
        return at;
    }
    void PatchU16(std::size_t at, std::uint16_t value) {
        Check(at, 2);
        StoreU16(out_, at, value);
    }
    void PatchU32(std::size_t at, std::uint32_t value) {
        Check(at, 4);
        StoreU32(out_, at, value);
    }

private:
    void Check(std::size_t at, std::size_t count) const {
        if (at > out_.size() || count > out_.size() - at) {
            throw FormatError("Cannot patch " + std::to_string(count) + " bytes at offset " + std::to_string(at) +
                              " of " + std::to_string(out_.size()) + " written");
        }
    }
    Buffer& out_;
};

}  // namespace qh
