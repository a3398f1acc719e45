// Writing one large JSON object member by member, so that what a command prints never has to be
// held whole: each member (or each element of an array member) is made, written and dropped. The
// text is exactly what nlohmann's dump(2) would make of the whole object.
#pragma once

#include <algorithm>
#include <array>
#include <future>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/beside.h"

namespace qh::cli {

// One JSON value written as text, laid out exactly as nlohmann's dump(2) lays it out at the
// depth where it stands, without the value ever being built: for the records a dump prints by the
// hundred thousand. Keys and strings must be valid UTF-8.
class JsonText {
public:
    // `indent`: the spaces before the line the value begins on.
    JsonText(std::string& out, unsigned indent) : out_(out), indent_(indent) {}
    JsonText& BeginObject() { return Open('{', false); }
    JsonText& EndObject() { return Close('}'); }
    JsonText& BeginArray() { return Open('[', true); }
    JsonText& EndArray() { return Close(']'); }
    // A member of the object open now; its value follows.
    JsonText& Key(std::string_view key);
    JsonText& Number(std::int64_t value);
    JsonText& Unsigned(std::uint64_t value);
    JsonText& Bool(bool value);
    JsonText& String(std::string_view value);
    JsonText& Null();

private:
    struct Level {
        bool array;
        unsigned count;
    };
    JsonText& Open(char bracket, bool array);
    JsonText& Close(char bracket);
    // Before a value: in an array, the separator and the element's indent.
    void BeforeValue();
    // A new line indented for the depth `depth` below the value's own.
    void Line(std::size_t depth);
    void Escaped(std::string_view text);
    std::string& out_;
    unsigned indent_;
    // The open objects and arrays, innermost last; held in place rather than in a vector, since a
    // dump makes one writer for each of hundreds of thousands of records. A record's layout is
    // the program's own, so its depth is known: deeper than this is a fault of the program.
    static constexpr std::size_t kMaxDepth = 32;
    std::array<Level, kMaxDepth> levels_{};
    std::size_t depth_ = 0;
};

// The same calls building the value instead, for commands that compare or select before they
// print: one description of a record's layout serves both.
class JsonValue {
public:
    JsonValue& BeginObject() { return Open(nlohmann::ordered_json::object()); }
    JsonValue& EndObject() { return Close(); }
    JsonValue& BeginArray() { return Open(nlohmann::ordered_json::array()); }
    JsonValue& EndArray() { return Close(); }
    JsonValue& Key(std::string_view key);
    JsonValue& Number(std::int64_t value) { return Put(value); }
    JsonValue& Unsigned(std::uint64_t value) { return Put(value); }
    JsonValue& Bool(bool value) { return Put(value); }
    JsonValue& String(std::string_view value) { return Put(std::string(value)); }
    JsonValue& Null() { return Put(nullptr); }
    nlohmann::ordered_json Take() { return std::move(root_); }

private:
    // Into the open array, under the pending key of the open object, or as the whole value;
    // the place it took.
    nlohmann::ordered_json& Place(nlohmann::ordered_json value);
    JsonValue& Put(nlohmann::ordered_json value) {
        Place(std::move(value));
        return *this;
    }
    JsonValue& Open(nlohmann::ordered_json empty) {
        open_.push_back(&Place(std::move(empty)));
        return *this;
    }
    JsonValue& Close() {
        open_.pop_back();
        return *this;
    }
    nlohmann::ordered_json root_;
    std::vector<nlohmann::ordered_json*> open_;
    std::string key_;
};

class JsonObjectStream {
public:
    explicit JsonObjectStream(std::ostream& out);
    ~JsonObjectStream();
    // A member whose value is written whole.
    void Member(std::string_view key, const nlohmann::ordered_json& value);
    // A member that is an array, written element by element.
    void BeginArray(std::string_view key);
    void Element(const nlohmann::ordered_json& value);
    // An element written as text by `write(JsonText&)`, the same as Element of the value it writes.
    template <typename Write>
    void ElementText(Write&& write) {
        buffer_ += anyElement_ ? ",\n    " : "\n    ";
        anyElement_ = true;
        JsonText text(buffer_, 4);
        write(text);
        Flush();
    }
    // Elements 0 to count - 1 of the open array, element i written as text by
    // `write(JsonText&, i)`, the same as ElementText of each in turn: made a piece at a time, two
    // pieces at once on two threads, and written in order. `write` must only read what it writes
    // (a dump's records by the hundred thousand: the text costs more than the load).
    template <typename WriteElement>
    void ElementsText(std::size_t count, WriteElement&& write);
    void EndArray();
    // Closes the object (and ends the line); nothing may follow.
    void End();

private:
    void Key(std::string_view key);
    // Hands what is gathered and then `text` to the stream.
    void WriteThrough(const std::string& text);
    // The value as dump(2) makes it, every line after the first indented by `indent` more.
    void Write(const nlohmann::ordered_json& value, int indent);
    // Gathered here and handed to the stream a large piece at a time: a stream write per line
    // costs more than the text.
    void Flush(bool always = false);
    std::ostream& out_;
    std::string buffer_;
    // nlohmann's own writer, appending to `buffer_` at any depth: what dump(2) does for the whole
    // document, without writing each part into a string of its own first.
    nlohmann::detail::serializer<nlohmann::ordered_json> serializer_;
    bool anyMember_ = false;
    bool anyElement_ = false;
};

template <typename WriteElement>
void JsonObjectStream::ElementsText(std::size_t count, WriteElement&& write) {
    const bool anyBefore = anyElement_;
    const auto piece = [&](std::size_t from, std::size_t to, std::string& out) {
        // Made in a string on the thread's own stack: the two strings side by side in one cache
        // line would have the two threads take it from each other at every character.
        std::string made = std::move(out);
        made.clear();
        for (std::size_t i = from; i < to; ++i) {
            made += anyBefore || i > 0 ? ",\n    " : "\n    ";
            JsonText text(made, 4);
            write(text, i);
        }
        out = std::move(made);
    };
    // Pieces of about a megabyte of text each: the first few elements tell how long one is. Even
    // pieces keep both threads busy to the end and the memory small.
    constexpr std::size_t kPieceBytes = std::size_t{1} << 20;
    std::size_t perPiece = 16;
    std::string first;
    std::string second;
    for (std::size_t from = 0; from < count;) {
        const std::size_t middle = std::min(count, from + perPiece);
        const std::size_t to = std::min(count, middle + perPiece);
        std::future<void> other;
        if (middle < to) other = Beside([&piece, &second, middle, to] { piece(middle, to, second); });
        piece(from, middle, first);
        WriteThrough(first);
        std::size_t bytes = first.size();
        if (other.valid()) {
            other.get();
            WriteThrough(second);
            bytes += second.size();
        }
        perPiece = std::clamp<std::size_t>(kPieceBytes * (to - from) / std::max<std::size_t>(bytes, 1), 16, 65536);
        from = to;
    }
    if (count > 0) anyElement_ = true;
}

}  // namespace qh::cli
