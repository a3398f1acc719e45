// Writing one large JSON object member by member, so that what a command prints never has to be
// held whole: each member (or each element of an array member) is made, written and dropped. The
// text is exactly what nlohmann's dump(2) would make of the whole object.
#pragma once

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <string_view>

namespace qh::cli {

class JsonObjectStream {
public:
    explicit JsonObjectStream(std::ostream& out);
    ~JsonObjectStream();
    // A member whose value is written whole.
    void Member(std::string_view key, const nlohmann::ordered_json& value);
    // A member that is an array, written element by element.
    void BeginArray(std::string_view key);
    void Element(const nlohmann::ordered_json& value);
    void EndArray();
    // Closes the object (and ends the line); nothing may follow.
    void End();

private:
    void Key(std::string_view key);
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

}  // namespace qh::cli
