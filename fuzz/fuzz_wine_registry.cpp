// Arbitrary text as a Wine registry file: the parser may only throw FormatError.
#include <cstdint>
#include <string_view>

#include "platform/errors.h"
#include "platform/wine_registry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const auto file = qh::WineRegistryFile::Parse(
            std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.reg");
        (void)file.Read("Software\\EA GAMES\\The Sims 2", "DisplayName");
    } catch (const qh::FormatError&) {
    }
    return 0;
}
