// Items of the neighborhood data resource (NGBH, 0x4E474248): what each lot, family and sim owns
// (objects, tokens, memories), each naming an object by its GUID.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace qh {

// The 16-bit values of one item. A large neighborhood holds hundreds of thousands of items, nearly
// all with a handful of values (a memory four, a token eight): up to eight are kept in the item
// itself, and only a longer list takes a block of its own. Used like a vector of 16-bit words.
class ItemValues {
public:
    using value_type = std::uint16_t;
    using size_type = std::size_t;
    using iterator = std::uint16_t*;
    using const_iterator = const std::uint16_t*;
    static constexpr std::size_t kInPlace = 8;

    ItemValues() noexcept : local_{} {}
    ItemValues(std::initializer_list<std::uint16_t> values) : ItemValues() { Assign(values.begin(), values.size()); }
    // NOLINTNEXTLINE(google-explicit-constructor): a list of values is assigned as one.
    ItemValues(const std::vector<std::uint16_t>& values) : ItemValues() { Assign(values.data(), values.size()); }
    ItemValues(const ItemValues& other) : ItemValues() { Assign(other.data(), other.size()); }
    ItemValues(ItemValues&& other) noexcept : ItemValues() { Take(other); }
    ItemValues& operator=(const ItemValues& other) {
        if (this != &other) Assign(other.data(), other.size());
        return *this;
    }
    ItemValues& operator=(ItemValues&& other) noexcept {
        if (this != &other) {
            Release();
            Take(other);
        }
        return *this;
    }
    ~ItemValues() { Release(); }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    std::uint16_t* data() { return OnHeap() ? heap_ : local_; }
    const std::uint16_t* data() const { return OnHeap() ? heap_ : local_; }
    iterator begin() { return data(); }
    iterator end() { return data() + size_; }
    const_iterator begin() const { return data(); }
    const_iterator end() const { return data() + size_; }
    std::uint16_t& operator[](std::size_t i) { return data()[i]; }
    std::uint16_t operator[](std::size_t i) const { return data()[i]; }
    // Throws std::out_of_range past the end.
    std::uint16_t at(std::size_t i) const;

    void clear() { size_ = 0; }
    void push_back(std::uint16_t value);
    // Grows with `value` or shrinks to `count` values.
    void resize(std::size_t count, std::uint16_t value = 0);
    // Replaces the values with `count` words stored little-endian at `bytes`.
    void AssignLittleEndian(const std::uint8_t* bytes, std::size_t count);

    std::vector<std::uint16_t> ToVector() const { return {begin(), end()}; }

    friend bool operator==(const ItemValues& a, const ItemValues& b);
    friend bool operator==(const ItemValues& a, const std::vector<std::uint16_t>& b);

private:
    bool OnHeap() const { return capacity_ > kInPlace; }
    void Assign(const std::uint16_t* values, std::size_t count);
    // Room for at least `count` values, keeping the present ones.
    void Reserve(std::size_t count);
    void Take(ItemValues& other) noexcept;
    void Release() noexcept;

    std::uint32_t size_ = 0;
    std::uint32_t capacity_ = kInPlace;
    union {
        std::uint16_t local_[kInPlace];
        std::uint16_t* heap_;
    };
};

struct NeighborhoodItem {
    std::uint32_t owner = 0;      // a lot's or family's number, or a sim's instanceId
    std::uint32_t ownerWord = 0;  // the owner block's word (the default word before version 190)
    std::uint32_t itemGuid = 0;
    std::uint32_t invNumber = 0;  // from version 190
    std::uint16_t flags1 = 0;
    std::uint16_t flags2 = 0;     // from version 194
    std::uint16_t padding = 0;    // from version 203
    std::uint8_t secondary = 1;   // sims: 0 first list, 1 second; lots and families: 1
    ItemValues values;

    friend bool operator==(const NeighborhoodItem&, const NeighborhoodItem&) = default;
};

}  // namespace qh
