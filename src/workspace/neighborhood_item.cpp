#include "workspace/neighborhood_item.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>
#include <string>

namespace qh {

void ItemValues::Release() noexcept {
    if (OnHeap()) delete[] heap_;
    capacity_ = kInPlace;
    size_ = 0;
}

void ItemValues::Take(ItemValues& other) noexcept {
    // The moved-from list is left empty, in place.
    if (other.OnHeap()) {
        heap_ = other.heap_;
    } else {
        std::memcpy(local_, other.local_, sizeof local_);
    }
    size_ = other.size_;
    capacity_ = other.capacity_;
    other.capacity_ = kInPlace;
    other.size_ = 0;
}

void ItemValues::Reserve(std::size_t count) {
    if (count <= capacity_) return;
    // A count comes from a 32-bit field of the file, and 2^32 values could never be held anyway.
    if (count > std::numeric_limits<std::uint32_t>::max()) throw std::bad_alloc();
    const std::size_t grown = std::max<std::size_t>(count, std::min<std::size_t>(std::size_t{capacity_} * 2,
                                                                                   std::numeric_limits<std::uint32_t>::max()));
    auto* block = new std::uint16_t[grown];
    if (size_ != 0) std::memcpy(block, data(), size_ * sizeof(std::uint16_t));
    if (OnHeap()) delete[] heap_;
    heap_ = block;
    capacity_ = static_cast<std::uint32_t>(grown);
}

void ItemValues::Assign(const std::uint16_t* values, std::size_t count) {
    size_ = 0;
    Reserve(count);
    if (count != 0) std::memcpy(data(), values, count * sizeof(std::uint16_t));
    size_ = static_cast<std::uint32_t>(count);
}

void ItemValues::AssignLittleEndian(const std::uint8_t* bytes, std::size_t count) {
    size_ = 0;
    Reserve(count);
    std::uint16_t* out = data();
    for (std::size_t i = 0; i < count; ++i) {
        out[i] = static_cast<std::uint16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    }
    size_ = static_cast<std::uint32_t>(count);
}

void ItemValues::push_back(std::uint16_t value) {
    Reserve(std::size_t{size_} + 1);
    data()[size_++] = value;
}

void ItemValues::resize(std::size_t count, std::uint16_t value) {
    if (count > size_) {
        Reserve(count);
        std::fill(data() + size_, data() + count, value);
    }
    size_ = static_cast<std::uint32_t>(count);
}

std::uint16_t ItemValues::at(std::size_t i) const {
    if (i >= size_) throw std::out_of_range("item value " + std::to_string(i) + " of " + std::to_string(size_));
    return data()[i];
}

bool operator==(const ItemValues& a, const ItemValues& b) { return std::equal(a.begin(), a.end(), b.begin(), b.end()); }

bool operator==(const ItemValues& a, const std::vector<std::uint16_t>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

}  // namespace qh
