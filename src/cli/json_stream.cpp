#include "cli/json_stream.h"

namespace qh::cli {

namespace {
constexpr std::size_t kPiece = 1 << 20;
}

JsonObjectStream::JsonObjectStream(std::ostream& out)
    : out_(out), serializer_(nlohmann::detail::output_adapter<char, std::string>(buffer_), ' ') {
    buffer_.reserve(kPiece + kPiece / 4);
    buffer_ += '{';
}

JsonObjectStream::~JsonObjectStream() { Flush(true); }

void JsonObjectStream::Flush(bool always) {
    if (buffer_.empty() || (!always && buffer_.size() < kPiece)) return;
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
}

void JsonObjectStream::Key(std::string_view key) {
    buffer_ += anyMember_ ? ",\n  " : "\n  ";
    buffer_ += nlohmann::ordered_json(std::string(key)).dump();
    buffer_ += ": ";
    anyMember_ = true;
}

void JsonObjectStream::Write(const nlohmann::ordered_json& value, int indent) {
    serializer_.dump(value, true, false, 2, static_cast<unsigned>(indent));
    Flush();
}

void JsonObjectStream::Member(std::string_view key, const nlohmann::ordered_json& value) {
    Key(key);
    Write(value, 2);
}

void JsonObjectStream::BeginArray(std::string_view key) {
    Key(key);
    buffer_ += '[';
    anyElement_ = false;
}

void JsonObjectStream::Element(const nlohmann::ordered_json& value) {
    buffer_ += anyElement_ ? ",\n    " : "\n    ";
    anyElement_ = true;
    Write(value, 4);
}

void JsonObjectStream::EndArray() { buffer_ += anyElement_ ? "\n  ]" : "]"; }

void JsonObjectStream::End() {
    buffer_ += anyMember_ ? "\n}\n" : "}\n";
    Flush(true);
}

}  // namespace qh::cli
