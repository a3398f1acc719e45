#include "cli/cli_support.h"

#include <cctype>

namespace qh::cli {

std::uint32_t ParseHexId(const std::string& text, const std::string& what) {
    std::string digits = text;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        digits = digits.substr(2);
    }
    if (digits.empty() || digits.size() > 8) {
        throw UsageError(what + " must be up to eight hexadecimal digits: \"" + text + "\"");
    }
    std::uint32_t value = 0;
    for (char c : digits) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) {
            throw UsageError(what + " must be hexadecimal: \"" + text + "\"");
        }
        const int digit = std::isdigit(static_cast<unsigned char>(c))
                              ? c - '0'
                              : std::toupper(static_cast<unsigned char>(c)) - 'A' + 10;
        value = value << 4 | static_cast<std::uint32_t>(digit);
    }
    return value;
}

}  // namespace qh::cli
