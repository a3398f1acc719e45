#include "cli/cli_support.h"

#include "package/guid.h"

namespace qh::cli {

std::uint32_t ParseHexId(const std::string& text, const std::string& what) {
    const auto value = ParseHexNumber(text);
    if (!value) throw UsageError(what + " must be up to eight hexadecimal digits: \"" + text + "\"");
    return *value;
}

}  // namespace qh::cli
