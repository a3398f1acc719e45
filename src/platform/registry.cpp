#include "platform/registry.h"

namespace qh {

std::optional<std::string> RegistryView::ReadString(Hive hive, std::string_view keyPath,
                                                    std::string_view valueName) const {
    auto value = Read(hive, keyPath, valueName);
    if (!value) return std::nullopt;
    switch (value->kind) {
        case RegistryValue::Kind::String:
        case RegistryValue::Kind::ExpandString:
        case RegistryValue::Kind::MultiString:
            return value->text;
        default:
            return std::nullopt;
    }
}

std::string FoldCase(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return folded;
}

}  // namespace qh
